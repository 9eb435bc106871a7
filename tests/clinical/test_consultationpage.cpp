#include "clinical/consultationpage.h"
#include "clinical/finddialog.h"
#include "platform/error.h"
#include "platform/radiogroup.h"
#include "records/currentpatient.h"
#include "records/dbgrid.h"
#include "records/table.h"
#include "support/fixedclock.h"
#include "support/newpatient.h"
#include "support/scripteddialogservice.h"
#include "support/storedrow.h"
#include "support/testdatabase.h"
#include "support/widgetdriver.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using namespace orvane;
using namespace orvane::clinical;
using records::Table;

namespace {
const QString notesField = QStringLiteral("Consultation");
const QString today = QStringLiteral("08/12/2006");
} // namespace

// The consultation tab driven through its named controls, on a real database.
class TestConsultationPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    std::unique_ptr<records::CurrentPatient> m_patient;
    std::unique_ptr<QWidget> m_window;
    ConsultationPage *m_page = nullptr;
    test::ScriptedDialogService m_dialogs;
    test::FixedClock m_clock{QDateTime(QDate(2006, 12, 8), QTime(9, 0))};

    template<typename T>
    T *control(const QString &name) const
    {
        return test::namedChild<T>(m_page, name);
    }
    QPlainTextEdit *notes() const { return control<QPlainTextEdit>(QStringLiteral("consul")); }
    // The notes as stored, read through another table object.
    QString storedNotes() const { return stored(records::tables::consultations, notesField); }
    QString stored(const QString &table, const QString &field) const
    {
        return test::storedField(m_base->db(), table, m_patient->patients().number(records::recordNumberField), field);
    }
    void writeNotes(const QString &text)
    {
        Table &consultations = m_patient->consultations();
        consultations.edit();
        consultations.setText(notesField, text);
        consultations.post();
    }
    void addWords(Table &table, const QString &field, const QStringList &words)
    {
        for (const QString &word : words) {
            table.insert();
            table.setText(field, word);
            table.post();
        }
        table.first();
    }
    void clickNotes() { QTest::mouseClick(notes()->viewport(), Qt::LeftButton, {}, QPoint(5, 5)); }
    int questionsAsked() const
    {
        int asked = 0;
        for (const auto &request : m_dialogs.requests())
            asked += request.text == QStringLiteral("Date du jour?");
        return asked;
    }
    void doubleClickGrid(const QString &name) { test::doubleClickCurrentRow(control<records::DbGrid>(name)); }
    void chooseItem(const QString &group, int item)
    {
        control<RadioGroup>(group)->findChildren<QRadioButton *>().at(item)->click();
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_dialogs.clear();
        m_patient = std::make_unique<records::CurrentPatient>(m_base->db());
        m_patient->open();
        test::addPatient(*m_patient, QStringLiteral("DUPONT"), QStringLiteral("Jean"));
        addWords(m_patient->reasons(), QStringLiteral("Motif"),
                 {QStringLiteral("Angine"), QStringLiteral("Fièvre"), QStringLiteral("Hypertension"),
                  QStringLiteral("Toux")});
        addWords(m_patient->examinations(), QStringLiteral("Laf"),
                 {QStringLiteral("Abdomen souple"), QStringLiteral("Pouls régulier"), QStringLiteral("Tympans normaux")});
        m_window = std::make_unique<QWidget>();
        m_page = new ConsultationPage(
            *m_patient, m_clock, m_dialogs,
            [this] { return m_dialogs.askYesNo(m_page, QStringLiteral("Date du jour?"), DialogService::Icon::Confirmation); },
            m_window.get());
        m_page->resize(780, 520);
        m_window->resize(800, 540);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        m_patient.reset();
        m_base.reset();
    }

    void clickIntoUndatedNotesAddsTheDateBlockOnYes()
    {
        m_dialogs.answerYes();
        clickNotes();
        QCOMPARE(storedNotes(), QStringLiteral("\r\n") + today + QStringLiteral("\r\n\r\n"));
        QCOMPARE(notes()->toPlainText(), QStringLiteral("\n") + today + QStringLiteral("\n\n"));
        clickNotes(); // dated now: no second question
        QCOMPARE(questionsAsked(), 1);
    }

    void answeringNoWritesNothingAndTheNextClickAsksAgain()
    {
        writeNotes(QStringLiteral("Fièvre"));
        m_dialogs.answerNo();
        clickNotes();
        QCOMPARE(storedNotes(), QStringLiteral("Fièvre"));
        m_dialogs.answerNo();
        clickNotes();
        QCOMPARE(questionsAsked(), 2);
    }

    void searchAndLettersMoveTheReasonList_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("typed start") << "recherche3" << "Hyp" << "Hypertension";
        QTest::newRow("typed in lower case") << "recherche3" << "fi" << "Fièvre";
        QTest::newRow("after every word") << "recherche3" << "Zona" << "Toux";
        QTest::newRow("letter") << "alphabet3" << "G" << "Hypertension";
        QTest::newRow("last letter") << "alphabet3" << "Z" << "Toux";
    }
    void searchAndLettersMoveTheReasonList()
    {
        QFETCH(QString, control);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        if (control == QStringLiteral("recherche3")) {
            QTest::keyClicks(this->control<QLineEdit>(control), key);
        } else {
            auto *letters = this->control<QListWidget>(control);
            test::clickItem(letters, key);
            QVERIFY(letters->selectedItems().isEmpty());
            QCOMPARE(QApplication::focusWidget(), this->control<QWidget>(QStringLiteral("Motif")));
        }
        QCOMPARE(m_patient->reasons().text(QStringLiteral("Motif")), expected);
    }

    void clearingTheSearchLeavesTheListWhereItWas()
    {
        auto *search = control<QLineEdit>(QStringLiteral("recherche3"));
        QTest::keyClicks(search, QStringLiteral("Hyp"));
        search->clear();
        QCOMPARE(m_patient->reasons().text(QStringLiteral("Motif")), QStringLiteral("Hypertension"));
    }

    void pickedWordsFollowTheDateCheck_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("key"); // 0: a double-click
        QTest::newRow("reason, double-click") << "recherche3" << "Motif" << "Toux" << 0;
        QTest::newRow("examination, Enter") << "recherche4" << "laf" << "Pouls régulier" << int(Qt::Key_Return);
        QTest::newRow("reason, Space") << "recherche3" << "Motif" << "Hypertension" << int(Qt::Key_Space);
    }
    void pickedWordsFollowTheDateCheck()
    {
        QFETCH(QString, search);
        QFETCH(QString, grid);
        QFETCH(QString, word);
        QFETCH(int, key);
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        writeNotes(QStringLiteral("Fièvre"));
        control<QLineEdit>(search)->setFocus();
        test::typeKeys(word.left(3));
        m_dialogs.answerYes();
        if (key == 0) {
            doubleClickGrid(grid);
        } else {
            test::pressKey(Qt::Key_Tab); // from the search field to its grid
            QCOMPARE(QApplication::focusWidget(), control<QWidget>(grid));
            test::pressKey(Qt::Key(key));
        }
        QCOMPARE(storedNotes(), QStringLiteral("Fièvre\r\n") + today + QStringLiteral("\r\n\r\n") + word + QStringLiteral("\r\n"));
        QVERIFY(control<QLineEdit>(search)->text().isEmpty());
        // Back in the notes, to type on or pick the next word.
        QCOMPARE(QApplication::focusWidget(), notes());
    }

    void aConsultationIsWrittenWithClicksOnTheListsAndTyping()
    {
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        const auto pickWord = [this](const QString &gridName, const QString &word) {
            auto *grid = control<records::DbGrid>(gridName);
            const QModelIndex row = grid->model()->match(grid->model()->index(0, 0), Qt::DisplayRole, word).value(0);
            QVERIFY2(row.isValid(), qPrintable(word));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(row).center());
            test::doubleClickCurrentRow(grid);
        };
        m_dialogs.answerYes();
        clickNotes();
        test::pressKey(Qt::Key_End, Qt::ControlModifier);
        test::typeKeys(QStringLiteral("Fièvre depuis 3 jours"));
        pickWord(QStringLiteral("Motif"), QStringLiteral("Toux"));
        pickWord(QStringLiteral("laf"), QStringLiteral("Tympans normaux"));
        clickNotes();
        test::pressKey(Qt::Key_End, Qt::ControlModifier);
        test::typeKeys(QStringLiteral("Paracétamol"));
        m_patient->storeOpenRows();
        const QString notes = storedNotes();
        qsizetype at = 0;
        for (const QString &part : {today, QStringLiteral("Fièvre depuis 3 jours"), QStringLiteral("Toux"),
                                    QStringLiteral("Tympans normaux"), QStringLiteral("Paracétamol")}) {
            at = notes.indexOf(part, at);
            QVERIFY2(at >= 0, qPrintable(part + QStringLiteral(" in ") + notes));
        }
        QCOMPARE(questionsAsked(), 1);
    }

    void anEmptyListGivesAnEmptyLine()
    {
        Table &examinations = m_patient->examinations();
        while (!examinations.isEmpty())
            examinations.remove();
        writeNotes(QStringLiteral("Fièvre\r\n") + today);
        doubleClickGrid(QStringLiteral("laf"));
        QCOMPARE(storedNotes(), QStringLiteral("Fièvre\r\n") + today + QStringLiteral("\r\n"));
    }

    void oneClickEntriesAppendTheirLine_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("line");
        QTest::newRow("normal") << "IEButton14" << "Examen Normal";
        QTest::newRow("unchanged") << "IEButton15" << "Examen Idem";
    }
    void oneClickEntriesAppendTheirLine()
    {
        QFETCH(QString, button);
        QFETCH(QString, line);
        writeNotes(today + QStringLiteral("\r\n"));
        control<QToolButton>(button)->click();
        QCOMPARE(storedNotes(), today + QStringLiteral("\r\n") + line + QStringLiteral("\r\n"));
        QCOMPARE(QApplication::focusWidget(), notes());
    }

    void theNextAppointmentCarriesTheIntervalOnly()
    {
        writeNotes(today);
        auto *intervals = control<QListWidget>(QStringLiteral("arevoir"));
        QListWidgetItem *fortnight = intervals->item(1);
        // A real double-click: the press, then the second press that the system reports as one.
        const QPoint at = intervals->visualItemRect(fortnight).center();
        QTest::mouseClick(intervals->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(intervals->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(storedNotes(), today + QStringLiteral("\r\nA revoir dans:15 jours"));
        QVERIFY(intervals->selectedItems().isEmpty());
        intervals->setCurrentRow(6);
        QTest::keyClick(intervals, Qt::Key_Space);
        QCOMPARE(storedNotes(), today + QStringLiteral("\r\nA revoir dans:15 jours\r\nA revoir dans:1 an"));
    }

    void measuresGoToTheNotesAndTheValueLists_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("item");
        QTest::addColumn<QStringList>("typed"); // field, value, field, value
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("lists"); // list, stored text
        QTest::newRow("weight") << "Mesures" << 0 << QStringList{"poids", "72"} << "Poids= 72 Kg"
                                << QStringList{"Poids", today + "\r72\r", "Taille", ""};
        QTest::newRow("height with a comma, as typed") << "Mesures" << 1 << QStringList{"taille", "172,5"}
                                                       << "Taille= 172,5 cm"
                                                       << QStringList{"Taille", today + "\r172,5\r", "Poids", ""};
        QTest::newRow("blood pressure") << "Tension" << 0 << QStringList{"max", "13", "min", "8"} << "TA=13/8"
                                        << QStringList{"Max", today + "\r13\r", "Min", today + "\r8\r"};
    }
    void measuresGoToTheNotesAndTheValueLists()
    {
        QFETCH(QString, group);
        QFETCH(int, item);
        QFETCH(QStringList, typed);
        QFETCH(QString, line);
        QFETCH(QStringList, lists);
        writeNotes(today);
        for (int i = 0; i < typed.size(); i += 2)
            QTest::keyClicks(control<QLineEdit>(typed.at(i)), typed.at(i + 1));
        chooseItem(group, item);
        QCOMPARE(storedNotes(), today + QStringLiteral("\r\n") + line);
        for (int i = 0; i < lists.size(); i += 2)
            QCOMPARE(stored(records::tables::measures, lists.at(i)), lists.at(i + 1));
        QCOMPARE(control<RadioGroup>(group)->itemIndex(), -1);
        for (int i = 0; i < typed.size(); i += 2)
            QVERIFY(control<QLineEdit>(typed.at(i))->text().isEmpty());
    }

    void aMissingValueWritesNothingAndKeepsTheChoice_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("typedField");
        QTest::newRow("empty weight") << "Mesures" << 0 << "taille";
        QTest::newRow("systolic only") << "Tension" << 0 << "max";
    }
    void aMissingValueWritesNothingAndKeepsTheChoice()
    {
        QFETCH(QString, group);
        QFETCH(int, item);
        QFETCH(QString, typedField);
        writeNotes(QStringLiteral("Toux"));
        QTest::keyClicks(control<QLineEdit>(typedField), QStringLiteral("12"));
        m_dialogs.answerNo(); // the date check has still run
        chooseItem(group, item);
        QCOMPARE(questionsAsked(), 1);
        QCOMPARE(storedNotes(), QStringLiteral("Toux"));
        QCOMPARE(control<RadioGroup>(group)->itemIndex(), item);
        QCOMPARE(control<QLineEdit>(typedField)->text(), QStringLiteral("12"));
    }

    void theSearchFindsTheNextLineFromTheCaret()
    {
        writeNotes(QStringLiteral("toux sèche\r\nfièvre\r\ntoux grasse\r\nrien"));
        control<QToolButton>(QStringLiteral("IEButton28"))->click();
        FindDialog *find = m_page->findDialog();
        QVERIFY(find->isVisible());
        QCOMPARE(notes()->textCursor().position(), 0);
        find->setFindText(QStringLiteral("toux"));
        emit find->find(); // the line holding the caret is not searched
        QCOMPARE(notes()->textCursor().selectedText(), QStringLiteral("toux grasse"));
        emit find->find();
        QCOMPARE(notes()->textCursor().selectedText(), QStringLiteral("toux grasse"));
        notes()->moveCursor(QTextCursor::Start);
        find->setFindText(QStringLiteral("Toux")); // letter case counts
        emit find->find();
        QVERIFY(!notes()->textCursor().hasSelection());
        find->setFindText(QString());
        emit find->find();
        QVERIFY(!notes()->textCursor().hasSelection());
        find->close();
    }

    void archivingMovesTheNotesIntoTheArchiveRow()
    {
        writeNotes(QStringLiteral("Angine"));
        m_dialogs.answerYes();
        control<QToolButton>(QStringLiteral("IEButton17"))->click();
        QCOMPARE(m_dialogs.requests().last().text, QStringLiteral("Voulez-vous ajouter le champ consultation aux archives?"));
        QCOMPARE(stored(records::tables::archive, notesField), QStringLiteral("Angine"));
        QCOMPARE(stored(records::tables::archive, QStringLiteral("Nomprénom")), QStringLiteral("DUPONT Jean"));
        QCOMPARE(storedNotes(), QString());
        QVERIFY(notes()->toPlainText().isEmpty());
    }

    void refusingToArchiveChangesNothing()
    {
        writeNotes(QStringLiteral("Angine"));
        m_dialogs.answerNo();
        control<QToolButton>(QStringLiteral("IEButton17"))->click();
        QCOMPARE(storedNotes(), QStringLiteral("Angine"));
        QCOMPARE(stored(records::tables::archive, notesField), QStringLiteral("<none>"));
    }

    void aRefusedArchiveRowKeepsTheNotes()
    {
        writeNotes(QStringLiteral("Angine"));
        m_base->refuseWrites(records::tables::archive);
        m_dialogs.answerYes();
        QVERIFY_THROWS_EXCEPTION(Error, m_page->SpeedButton13Click());
        QCOMPARE(storedNotes(), QStringLiteral("Angine"));
        QCOMPARE(notes()->toPlainText(), QStringLiteral("Angine"));
    }

    void longNotesAreDatedSearchedAndAppended()
    {
        QString longNotes;
        for (int i = 0; i < 40000; ++i)
            longNotes += QStringLiteral("ligne %1 de la consultation du patient\r\n").arg(i);
        writeNotes(longNotes);
        m_dialogs.answerYes();
        control<QToolButton>(QStringLiteral("IEButton14"))->click();
        const QString expected = longNotes + QStringLiteral("\r\n") + today + QStringLiteral("\r\n\r\nExamen Normal\r\n");
        QCOMPARE(storedNotes().size(), expected.size());
        QVERIFY(storedNotes() == expected);
        notes()->moveCursor(QTextCursor::Start);
        m_page->findDialog()->setFindText(QStringLiteral("Examen Normal"));
        m_page->FindDialog1Find();
        QCOMPARE(notes()->textCursor().selectedText(), QStringLiteral("Examen Normal"));
    }
};

QTEST_MAIN(TestConsultationPage)
#include "test_consultationpage.moc"
