#include "support/scripteddialogservice.h"

#include "app/application.h"
#include "platform/clock.h"
#include "platform/dialogservice.h"
#include "platform/error.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTreeView>
#include <QFontDialog>
#include <QFontInfo>
#include <QTimer>
#include <QDate>
#include <QLocale>
#include <QPushButton>
#include <QTest>

class TestApplication : public QObject
{
    Q_OBJECT

public:
    explicit TestApplication(orvane::test::ScriptedDialogService &dialogs)
        : m_dialogs(dialogs)
    {
    }

private slots:
    void failureInHandlerShownOnceAndProgramGoesOn();
    void speaksFrenchWhateverTheSystemLanguage();
    void fontDialogOpensOnTheFontDrawn();
    void fileDialogListsInFrench();

private:
    orvane::test::ScriptedDialogService &m_dialogs;
};

void TestApplication::failureInHandlerShownOnceAndProgramGoesOn()
{
    QPushButton button(QStringLiteral("Valider"));
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] {
        ++clicks;
        if (clicks == 1)
            throw orvane::Error(QStringLiteral("Le champ 'Nom' doit avoir une valeur"));
    });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(m_dialogs.requests().size(), 1);
    QCOMPARE(m_dialogs.requests().first().kind, QStringLiteral("error"));
    QCOMPARE(m_dialogs.requests().first().text, QStringLiteral("Le champ 'Nom' doit avoir une valeur"));
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 2);
    QCOMPARE(m_dialogs.requests().size(), 1);
    QVERIFY(button.isVisible());
}

void TestApplication::speaksFrenchWhateverTheSystemLanguage()
{
    QCOMPARE(orvane::shortDateText(QDate(2026, 12, 8)), QStringLiteral("08/12/2026"));
    QCOMPARE(QLocale().toString(36.5, 'f', 1), QStringLiteral("36,5"));
    // Qt's own dialogs and messages.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annuler"));
    QVERIFY(QCoreApplication::translate("QFileDialog", "Look in:") != QStringLiteral("Look in:"));
    QVERIFY(QCoreApplication::translate("QPrintDialog", "Print") != QStringLiteral("Print"));
}

void TestApplication::fontDialogOpensOnTheFontDrawn()
{
    const QFont line(QStringLiteral("Times New Roman"), 14, QFont::Bold);
    QFont opened;
    QTimer::singleShot(0, [&opened] {
        if (auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget())) {
            opened = dialog->currentFont();
            dialog->reject();
        }
    });
    orvane::QtDialogService().chooseFont(nullptr, line);
    QCOMPARE(opened.family(), QFontInfo(line).family());
    QCOMPARE(opened.pointSize(), 14);
    QVERIFY(opened.bold());
}

void TestApplication::fileDialogListsInFrench()
{
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Examens")));
    QFile letter(folder.filePath(QStringLiteral("lettre.txt")));
    QVERIFY(letter.open(QIODevice::WriteOnly));
    letter.write(QByteArray(1536, 'x'));
    QVERIFY(letter.flush());
    QVERIFY(letter.setFileTime(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)), QFileDevice::FileModificationTime));
    letter.close();

    // The list fills in the background: read it once both rows are there.
    QStringList letterRow;
    QString folderType;
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        const auto *list = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
        const QAbstractItemModel *model = list->model();
        for (int row = 0; row < model->rowCount(list->rootIndex()); ++row) {
            const auto cell = [&](int column) { return model->index(row, column, list->rootIndex()).data().toString(); };
            if (cell(0) == QStringLiteral("lettre.txt"))
                letterRow = {cell(1), cell(3)};
            else if (cell(0) == QStringLiteral("Examens"))
                folderType = cell(2);
        }
        if ((!letterRow.isEmpty() && !folderType.isEmpty()) || waited.elapsed() > 10000)
            dialog->reject();
    });
    poll.start(20);
    orvane::QtDialogService().chooseFileToOpen(nullptr, folder.path(), QStringLiteral("Tous (*)"),
                                               QStringLiteral("Ouvrir"));
    QCOMPARE(folderType, QStringLiteral("Dossier"));
    QCOMPARE(letterRow, (QStringList{QStringLiteral("1,5 Kio"), QStringLiteral("05/03/2026 14:07:09")}));
}

int main(int argc, char **argv)
{
    // As on a machine whose language was never set.
    qunsetenv("LANGUAGE");
    qputenv("LC_ALL", "C");
    qputenv("LANG", "C");
    orvane::test::ScriptedDialogService dialogs;
    orvane::Application app(argc, argv, dialogs);
    TestApplication test(dialogs);
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"
