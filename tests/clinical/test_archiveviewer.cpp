#include "clinical/colourfile.h"
#include "clinical/tacuitearch.h"
#include "records/table.h"
#include "support/scripteddialogservice.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace orvane;
using namespace orvane::clinical;
using records::Table;

namespace {
const QString notesField = QStringLiteral("Consultation");
} // namespace

// The archive viewer on a real database, and its colours from the colour file.
class TestArchiveViewer : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    test::ScriptedDialogService m_dialogs;

    struct Stored
    {
        QString name;
        QString text;
        int rows = 0;
    };
    Stored stored(double recordNumber, const QString &field) const
    {
        Table reader(m_base->db(), records::tables::archive);
        reader.open();
        Stored result;
        for (reader.first(); !reader.isEmpty() && !reader.atEnd(); reader.next())
            ++result.rows;
        if (reader.locate(records::recordNumberField, recordNumber)) {
            result.name = reader.text(QStringLiteral("Nomprénom"));
            result.text = reader.text(field);
        }
        return result;
    }
    void addArchiveRow(double recordNumber, const QString &name, const QString &notes, const QString &prescription)
    {
        Table archive(m_base->db(), records::tables::archive);
        archive.open();
        archive.insert();
        archive.setValue(records::recordNumberField, recordNumber);
        archive.setText(QStringLiteral("Nomprénom"), name);
        archive.setText(notesField, notes);
        archive.setText(QStringLiteral("Prescription"), prescription);
        archive.post();
    }
    void writeColourFile(const QByteArray &content)
    {
        const QString path = colourFilePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    static QPlainTextEdit *memo(QDialog &window) { return window.findChild<QPlainTextEdit *>(QStringLiteral("acuarch")); }
    static void pressOk(QDialog &window) { window.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click(); }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_dialogs.clear();
    }
    void cleanup() { m_base.reset(); }

    void theChosenFieldOfThePatientsRowIsShownAndEditable_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shown");
        QTest::newRow("notes") << notesField << "Archive Consultation" << "Angine en 2005";
        QTest::newRow("last prescription") << "Prescription" << "Dernier Traitement" << "Amoxicilline";
    }
    void theChosenFieldOfThePatientsRowIsShownAndEditable()
    {
        QFETCH(QString, field);
        QFETCH(QString, caption);
        QFETCH(QString, shown);
        addArchiveRow(3, QStringLiteral("ABEL Paul"), QStringLiteral("Grippe"), QStringLiteral("Doliprane"));
        addArchiveRow(7, QStringLiteral("DUPONT Jean"), QStringLiteral("Angine en 2005"), QStringLiteral("Amoxicilline"));
        Tacuitearch viewer(m_base->db(), m_dialogs);
        m_dialogs.answerModal([shown](QDialog &window) {
            QCOMPARE(memo(window)->toPlainText(), shown);
            QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("Nomprenom"))->text(), QStringLiteral("DUPONT Jean"));
            QCOMPARE(QApplication::focusWidget(), window.findChild<QPushButton *>(QStringLiteral("BitBtn1")));
            memo(window)->moveCursor(QTextCursor::End);
            QTest::keyClicks(memo(window), QStringLiteral(" revu"));
            pressOk(window);
        });
        viewer.showArchive(field, QStringLiteral("7"), QStringLiteral("DUPONT Jean"), caption);
        QCOMPARE(m_dialogs.requests().last().caption, caption);
        QCOMPARE(stored(7, field).text, shown + QStringLiteral(" revu"));
        QVERIFY(!viewer.table().isOpen());
    }

    void aPatientWithoutArchiveGetsARowOnOk()
    {
        Tacuitearch viewer(m_base->db(), m_dialogs);
        m_dialogs.answerModal([](QDialog &window) {
            QVERIFY(memo(window)->toPlainText().isEmpty());
            pressOk(window);
        });
        viewer.showArchive(notesField, QStringLiteral("12"), QStringLiteral("MARTIN Luc"), QStringLiteral("Archive Consultation"));
        const Stored row = stored(12, notesField);
        QCOMPARE(row.name, QStringLiteral("MARTIN Luc"));
        QCOMPARE(row.rows, 1);
    }

    void withoutAPatientNoArchiveIsShownNorMade()
    {
        addArchiveRow(3, QStringLiteral("ABEL Paul"), QStringLiteral("Grippe"), QString());
        Tacuitearch viewer(m_base->db(), m_dialogs);
        m_dialogs.answerModal([](QDialog &window) {
            QVERIFY(memo(window)->toPlainText().isEmpty());
            pressOk(window);
        });
        viewer.showArchive(notesField, QString(), QString(), QStringLiteral("Archive Consultation"));
        QCOMPARE(stored(3, notesField).rows, 1);
    }

    void closingTheWindowKeepsWhatWasTyped()
    {
        addArchiveRow(3, QStringLiteral("ABEL Paul"), QStringLiteral("Grippe"), QString());
        Tacuitearch viewer(m_base->db(), m_dialogs);
        m_dialogs.answerModal([](QDialog &window) {
            memo(window)->setPlainText(QStringLiteral("Grippe, fièvre"));
            window.close();
        });
        viewer.showArchive(notesField, QStringLiteral("3"), QStringLiteral("ABEL Paul"), QStringLiteral("Archive Consultation"));
        QCOMPARE(stored(3, notesField).text, QStringLiteral("Grippe, fièvre"));
    }

    void theEditionMenuCopiesAllAndPastesAtTheCaret()
    {
        addArchiveRow(3, QStringLiteral("ABEL Paul"), QStringLiteral("Grippe"), QString());
        Tacuitearch viewer(m_base->db(), m_dialogs);
        m_dialogs.answerModal([](QDialog &window) {
            QMenu *edition = window.findChild<QMenuBar *>()->actions().first()->menu();
            QCOMPARE(edition->title(), QStringLiteral("&Edition"));
            edition->actions().at(0)->trigger();
            QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Grippe"));
            memo(window)->moveCursor(QTextCursor::End);
            edition->actions().at(1)->trigger();
            QCOMPARE(memo(window)->toPlainText(), QStringLiteral("GrippeGrippe"));
            pressOk(window);
        });
        viewer.showArchive(notesField, QStringLiteral("3"), QStringLiteral("ABEL Paul"), QStringLiteral("Archive Consultation"));
    }

    void theColourFileColoursTheViewer_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QColor>("window");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("text");
        const QColor grey(Qt::lightGray);
        const QColor base = QApplication::palette().color(QPalette::Base);
        const QColor ink = QApplication::palette().color(QPalette::Text);
        QTest::newRow("decimal and hexadecimal") << QByteArray("255\r\n$00FF00\r\n16711680\r\n") << QString()
                                                 << QColor(255, 0, 0) << QColor(0, 255, 0) << QColor(0, 0, 255);
        QTest::newRow("system colour") << QByteArray("$8000000F\n0\n65535\n") << QString()
                                       << QApplication::palette().color(QPalette::Active, QPalette::Button)
                                       << QColor(0, 0, 0) << QColor(255, 255, 0);
        QTest::newRow("two lines") << QByteArray("255\r\n0\r\n") << "Indice de liste hors limites (2)" << grey << base
                                   << ink;
        QTest::newRow("second line not whole") << QByteArray("255\r\nbleu\r\n0\r\n")
                                               << "'bleu' n'est pas une valeur entière correcte" << QColor(255, 0, 0)
                                               << base << ink;
    }
    void theColourFileColoursTheViewer()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        QFETCH(QColor, window);
        QFETCH(QColor, background);
        QFETCH(QColor, text);
        writeColourFile(file);
        Tacuitearch viewer(m_base->db(), m_dialogs);
        QCOMPARE(m_dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(viewer.palette().color(QPalette::Window), window);
        for (const QString &name : {QStringLiteral("Nomprenom"), QStringLiteral("acuarch")}) {
            auto *field = viewer.findChild<QWidget *>(name);
            QCOMPARE(field->palette().color(QPalette::Base), background);
            QCOMPARE(field->palette().color(QPalette::Text), text);
        }
    }
};

QTEST_MAIN(TestArchiveViewer)
#include "test_archiveviewer.moc"
