#include "app/tdialogues.h"
#include "app/tmotdepasse.h"
#include "app/torvane.h"
#include "clinical/tacuitearch.h"
#include "clinical/tbetablocants.h"
#include "records/currentpatient.h"
#include "records/dbgrid.h"
#include "records/table.h"
#include "support/fixedclock.h"
#include "support/newpatient.h"
#include "support/scripteddialogservice.h"
#include "support/testdatabase.h"
#include "support/widgetdriver.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace orvane;
using namespace orvane::records;

// The main window's pick lists, list editor and archive viewer, from its menus and tabs.
class TestClinicalWiring : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    test::ScriptedDialogService m_dialogs;
    test::FixedClock m_clock{QDateTime(QDate(2006, 12, 8), QTime(9, 0))};
    std::unique_ptr<app::TOrvane> m_window;

    template<typename T>
    T *control(const QString &name) const
    {
        return test::namedChild<T>(m_window.get(), name);
    }
    void trigger(const QString &menu, const QString &item)
    {
        for (QAction *top : m_window->menuBar()->actions()) {
            if (top->text() != menu)
                continue;
            for (QAction *entry : top->menu()->actions()) {
                if (entry->text() == item) {
                    entry->trigger();
                    return;
                }
            }
        }
        QFAIL(qPrintable(QStringLiteral("no menu item %1 / %2").arg(menu, item)));
    }
    void addRows(Table &table, const QString &field, const QStringList &words)
    {
        for (const QString &word : words) {
            table.insert();
            table.setText(field, word);
            table.post();
        }
    }
    QStringList shownWords(const QString &gridName) const
    {
        auto *grid = control<DbGrid>(gridName);
        QStringList shown;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            shown << grid->model()->index(row, 0).data().toString();
        return shown;
    }
    // First use with both boxes left empty: the gate lets the test in.
    void showPastTheGate()
    {
        m_dialogs.answerModal([](QDialog &gate) {
            gate.findChild<QAbstractButton *>(QStringLiteral("Button1"))->click();
        });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_dialogs.clear();
    }
    // What the editor's script types into its grid as a new row.
    static void insertWord(QDialog &editor, const QString &word)
    {
        auto &lists = static_cast<clinical::Tbetablocants &>(editor);
        editor.findChild<QToolButton *>(QStringLiteral("nbInsert"))->click();
        DbGrid *grid = lists.grid();
        grid->model()->setData(grid->model()->index(grid->windowModel()->currentIndex(), 0), word);
        editor.findChild<QAbstractButton *>(QStringLiteral("BitBtn1"))->click();
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_dialogs.clear();
        m_window = std::make_unique<app::TOrvane>(m_base->db(), m_dialogs, m_clock, m_base->home());
        app::ProgramWindows windows;
        windows.dialogues = new app::Tdialogues(m_dialogs, m_window.get());
        windows.betablocants = new clinical::Tbetablocants(m_base->db(), m_dialogs, m_window.get());
        windows.acuitearch = new clinical::Tacuitearch(m_base->db(), m_dialogs, m_window.get());
        windows.motdepasse = new app::Tmotdepasse(m_window.get());
        m_window->setWindows(windows);
        test::addPatient(m_window->patient(), QStringLiteral("DUPONT"), QStringLiteral("Jean"));
        addRows(m_window->patient().reasons(), QStringLiteral("Motif"),
                {QStringLiteral("Bronchite"), QStringLiteral("Fièvre"), QStringLiteral("Toux")});
        m_window->patient().reasons().last();
    }
    void cleanup()
    {
        m_window.reset();
        m_base.reset();
    }

    void wordListsOpenInTheEditorAndAreReReadAtA_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("grid");
        QTest::newRow("reasons") << "&Motif" << "Motif.db" << "Motif" << "Motif";
        QTest::newRow("examination") << "&Examen Clinique" << "Examen.db" << "Examen" << "laf";
        QTest::newRow("history") << "&Antécédents" << "MotsMed.db" << "Antécédents" << "motsmed";
    }
    void wordListsOpenInTheEditorAndAreReReadAtA()
    {
        QFETCH(QString, item);
        QFETCH(QString, table);
        QFETCH(QString, caption);
        QFETCH(QString, grid);
        m_dialogs.answerModal([table](QDialog &editor) {
            QCOMPARE(static_cast<clinical::Tbetablocants &>(editor).table().tableName(), table);
            QCOMPARE(editor.geometry().x(), 237);
            QCOMPARE(editor.width(), 354);
            insertWord(editor, QStringLiteral("Asthénie"));
        });
        trigger(QStringLiteral("&Listes consult."), item);
        QCOMPARE(m_dialogs.requests().first().caption, caption);
        QCOMPARE(control<DbGrid>(grid)->table().text(control<DbGrid>(grid)->table().definition().fields.first().name),
                 QStringLiteral("Asthénie"));
        QVERIFY(shownWords(grid).contains(QStringLiteral("Asthénie")));
    }

    void theDrugGridsShowTheEditorsRowsFromTheirNextLetter()
    {
        Table &drugs = m_window->patient().drugs();
        drugs.insert();
        drugs.setText(QStringLiteral("Marque"), QStringLiteral("Propranolol"));
        drugs.setText(QStringLiteral("Classe"), QStringLiteral("b"));
        drugs.post();
        m_dialogs.answerModal([](QDialog &editor) {
            QCOMPARE(editor.geometry().x(), 87);
            QCOMPARE(editor.width(), 658);
            insertWord(editor, QStringLiteral("Aténolol"));
        });
        trigger(QStringLiteral("M&édicaments"), QStringLiteral("Ajout"));
        QCOMPARE(m_dialogs.requests().first().caption, QStringLiteral("Liste des Médicaments"));
        QCOMPARE(shownWords(QStringLiteral("Vaso")), QStringList{QStringLiteral("Propranolol")});
        auto *letters = control<QListWidget>(QStringLiteral("alphabet"));
        letters->item(0)->setSelected(true);
        QCOMPARE(shownWords(QStringLiteral("Vaso")), (QStringList{QStringLiteral("Aténolol"), QStringLiteral("Propranolol")}));
        QCOMPARE(shownWords(QStringLiteral("tttmed")), (QStringList{QStringLiteral("Aténolol"), QStringLiteral("Propranolol")}));
    }

    void theDrugGridFillsTheChoiceAndTheClassList()
    {
        Table &drugs = m_window->patient().drugs();
        drugs.insert();
        drugs.setText(QStringLiteral("Marque"), QStringLiteral("Propranolol"));
        drugs.setText(QStringLiteral("Classe"), QStringLiteral("B"));
        drugs.post();
        m_window->showTab(QStringLiteral("Prescri"));
        showPastTheGate();
        test::doubleClickCurrentRow(control<DbGrid>(QStringLiteral("Vaso")));
        QCOMPARE(control<QLineEdit>(QStringLiteral("Edit6"))->text(), QStringLiteral("Propranolol"));
        auto *classes = control<QListWidget>(QStringLiteral("Erreur"));
        QCOMPARE(classes->count(), 1);
        QCOMPARE(classes->item(0)->text(), QStringLiteral("B"));
        QVERIFY(control<QPlainTextEdit>(QStringLiteral("ordonnanc"))->toPlainText().isEmpty());
        // Back in the field the drug went into.
        QVERIFY(control<QLineEdit>(QStringLiteral("Edit6"))->hasFocus());
    }

    void aDrugIsPickedInItsGridAndValidated()
    {
        Table &drugs = m_window->patient().drugs();
        for (const QString &brand : {QStringLiteral("Aspirine"), QStringLiteral("Propranolol")}) {
            drugs.insert();
            drugs.setText(QStringLiteral("Marque"), brand);
            drugs.post();
        }
        drugs.first();
        m_window->showTab(QStringLiteral("Prescri"));
        showPastTheGate();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        auto *vaso = control<DbGrid>(QStringLiteral("Vaso"));
        QVERIFY2(vaso->windowModel()->rowCount() > 0 && vaso->visualRect(vaso->model()->index(0, 0)).bottom()
                     < vaso->viewport()->height(),
                 "the drug grid shows its rows");
        QTest::mouseClick(vaso->viewport(), Qt::LeftButton, {}, vaso->visualRect(vaso->model()->index(0, 0)).center());
        test::pressKey(Qt::Key_Down);
        QCOMPARE(drugs.text(QStringLiteral("Marque")), QStringLiteral("Propranolol"));
        test::doubleClickCurrentRow(vaso);
        QCOMPARE(control<QLineEdit>(QStringLiteral("Edit6"))->text(), QStringLiteral("Propranolol"));
        auto *ok = control<QToolButton>(QStringLiteral("Ok"));
        QCOMPARE(ok->toolTip(), QStringLiteral("Validation Médicament"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(control<QPlainTextEdit>(QStringLiteral("ordonnanc"))->toPlainText().contains(QStringLiteral("Propranolol")));
    }

    void theDateQuestionComesInTheQuestionWindow()
    {
        m_window->showTab(QStringLiteral("consultation"));
        showPastTheGate();
        m_dialogs.answerModal([](QDialog &question) {
            QCOMPARE(question.windowTitle(), QStringLiteral("Ajouter la Date"));
            QCOMPARE(question.findChild<QLabel *>(QStringLiteral("action"))->text(), QStringLiteral("Date du jour?"));
            question.findChild<QAbstractButton *>(QStringLiteral("ok"))->click();
        });
        auto *notes = control<QPlainTextEdit>(QStringLiteral("consul"));
        QTest::mouseClick(notes->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(m_window->patient().consultations().text(QStringLiteral("Consultation")),
                 QStringLiteral("\r\n08/12/2006\r\n\r\n"));
    }

    void theViewerShowsTheArchivedNotesAndTheLastPrescription_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shown");
        QTest::newRow("archives") << "IEButton16" << "Archive Consultation" << "Angine";
        QTest::newRow("last prescription") << "IEButton23" << "Dernier Traitement" << "Amoxicilline";
    }
    void theViewerShowsTheArchivedNotesAndTheLastPrescription()
    {
        QFETCH(QString, button);
        QFETCH(QString, caption);
        QFETCH(QString, shown);
        Table &archive = m_window->patient().archive();
        archive.edit();
        archive.setText(QStringLiteral("Consultation"), QStringLiteral("Angine"));
        archive.setText(QStringLiteral("Prescription"), QStringLiteral("Amoxicilline"));
        archive.post();
        m_dialogs.answerModal([shown](QDialog &viewer) {
            QCOMPARE(viewer.findChild<QPlainTextEdit *>(QStringLiteral("acuarch"))->toPlainText(), shown);
            QCOMPARE(viewer.findChild<QLineEdit *>(QStringLiteral("Edit1"))->text(), QStringLiteral("1"));
            QCOMPARE(viewer.findChild<QLineEdit *>(QStringLiteral("Edit2"))->text(), QStringLiteral("DUPONT Jean"));
            viewer.findChild<QAbstractButton *>(QStringLiteral("BitBtn1"))->click();
        });
        control<QToolButton>(button)->click();
        QCOMPARE(m_dialogs.requests().first().caption, caption);
    }
};

QTEST_MAIN(TestClinicalWiring)
#include "test_clinicalwiring.moc"
