#include "platform/radiogroup.h"
#include "records/boundcontrols.h"
#include "records/dbgrid.h"
#include "platform/error.h"
#include "records/editmask.h"
#include "records/enteredit.h"
#include "records/table.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QSignalSpy>
#include <QTest>

using namespace orvane;
using namespace orvane::records;

namespace {

void addPatient(Table &patients, const QString &nom, double number, const QString &sexe = QString())
{
    patients.insert();
    patients.setText(QStringLiteral("Nom"), nom);
    patients.setText(QStringLiteral("Prénom"), QStringLiteral("X"));
    patients.setText(QStringLiteral("NomPrénom"), nom + QStringLiteral(" X"));
    patients.setValue(recordNumberField, number);
    patients.setValue(QStringLiteral("Année"), 1960);
    patients.setText(QStringLiteral("Sexe"), sexe);
    patients.post();
}

} // namespace

class TestBoundControls : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    std::unique_ptr<Table> m_patients;

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_patients = std::make_unique<Table>(m_base->db(), tables::patients);
        m_patients->open();
    }
    void cleanup()
    {
        m_patients.reset();
        m_base.reset();
    }

    void masksOfTheSchema_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("qtMask");
        QTest::newRow("surname") << ">ccccc;1; " << ">xxxxx;\u00a0";
        QTest::newRow("forename") << ">c<>ccc;1; " << ">x!xxx;\u00a0";
        QTest::newRow("telephone") << "!00\\-00\\-00\\-00\\-00;1;_" << "99\\-99\\-99\\-99\\-99;_";
        QTest::newRow("social security") << "!0000000000000\\-999;1;_" << "9999999999999\\-000;_";
        QTest::newRow("no mask") << "" << "";
    }
    void masksOfTheSchema()
    {
        QFETCH(QString, mask);
        QFETCH(QString, qtMask);
        QCOMPARE(qtInputMask(mask), qtMask);
    }

    void lineEditShowsWithoutEditingAndWritesWhatIsTyped()
    {
        addPatient(*m_patients, QStringLiteral("ABEL"), 1);
        addPatient(*m_patients, QStringLiteral("BRUN"), 2);
        QLineEdit nom;
        BoundLineEdit binding(&nom, *m_patients, QStringLiteral("nom"));
        m_patients->first();
        QCOMPARE(nom.text(), QStringLiteral("ABEL"));
        m_patients->next();
        QCOMPARE(nom.text(), QStringLiteral("BRUN"));
        QCOMPARE(m_patients->state(), Table::State::Browse);
        nom.selectAll();
        QTest::keyClicks(&nom, QStringLiteral("durand"));
        QCOMPARE(m_patients->state(), Table::State::Edit);
        QCOMPARE(m_patients->text(QStringLiteral("Nom")), QStringLiteral("DURAND"));
        m_patients->post();
        m_patients->refresh();
        QCOMPARE(m_patients->text(QStringLiteral("Nom")), QStringLiteral("DURAND"));
    }

    void aMessageTakingTheFocusIsNoLeavingOfTheBox()
    {
        addPatient(*m_patients, QStringLiteral("ABEL"), 1);
        QWidget window;
        auto *year = new QLineEdit(&window);
        BoundLineEdit binding(year, *m_patients, QStringLiteral("Année"));
        window.show();
        QApplication::setActiveWindow(&window);
        year->setFocus();
        year->selectAll();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
        // The message about "a" takes the focus: the box is not left, nothing more is said.
        QDialog message(&window);
        message.setModal(true);
        message.show();
        QApplication::setActiveWindow(&message);
        message.close();
        // The text is still there to be written: storing the row says what is wrong with it.
        QCOMPARE(year->text(), QStringLiteral("a"));
        QVERIFY_THROWS_EXCEPTION(Error, m_patients->post());
    }

    void maskedEditStoresItsLiteralsAndNothingWhenEmpty()
    {
        addPatient(*m_patients, QStringLiteral("ABEL"), 1);
        QLineEdit phone;
        BoundLineEdit binding(&phone, *m_patients, QStringLiteral("Téléphone"));
        phone.setFocus();
        phone.home(false);
        QTest::keyClicks(&phone, QStringLiteral("0123456789"));
        QCOMPARE(m_patients->text(QStringLiteral("Téléphone")), QStringLiteral("01-23-45-67-89"));
        phone.selectAll();
        QTest::keyClick(&phone, Qt::Key_Delete);
        QCOMPARE(m_patients->text(QStringLiteral("Téléphone")), QString());
    }

    void maskedEditsTakeTypingAtTheirStartAndStoreOnlyWhatWasTyped()
    {
        addPatient(*m_patients, QStringLiteral("ABEL"), 1);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *nom = new TEDBEdit(*m_patients, QStringLiteral("Nom"), &window);
        auto *nss = new TEDBEdit(*m_patients, QStringLiteral("SS"), &window);
        layout->addWidget(nom);
        layout->addWidget(nss);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        m_patients->insert();
        nom->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("le gall"));
        QCOMPARE(m_patients->text(QStringLiteral("Nom")), QStringLiteral("LE GALL"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), nss);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1690312345678901"));
        QCOMPARE(m_patients->text(QStringLiteral("SS")), QStringLiteral("1690312345678-901"));
        QCOMPARE(nom->cursorPosition(), 0); // the box left shows its start
        // Back in the name, typing goes on after it; a refused character is told once.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(nom->cursorPosition(), 7);
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        QVERIFY_THROWS_EXCEPTION(Error, QTest::sendKeyEvent(QTest::Click, nom, Qt::Key_unknown, emoji, {}));
        QTest::sendKeyEvent(QTest::Click, nom, Qt::Key_unknown, emoji, {});
        QTest::keyClicks(nom, QStringLiteral("ic"));
        QCOMPARE(m_patients->text(QStringLiteral("Nom")), QStringLiteral("LE GALLIC"));
        m_patients->setText(QStringLiteral("Prénom"), QStringLiteral("Yves"));
        m_patients->setValue(recordNumberField, 2);
        m_patients->setValue(QStringLiteral("Année"), 1969);
        m_patients->post();
        QVERIFY(m_patients->locate(recordNumberField, 1));
        QCOMPARE(nom->displayText().trimmed(), QStringLiteral("ABEL"));
        QCOMPARE(nom->cursorPosition(), nom->hasFocus() ? 4 : 0);
    }

    void memoWritesItsLinesWithCrLfWhenTheTableNeedsThem()
    {
        Table consultations(m_base->db(), tables::consultations);
        consultations.setMaster(m_patients.get());
        consultations.open();
        addPatient(*m_patients, QStringLiteral("ABEL"), 1);
        QPlainTextEdit notes;
        BoundMemo binding(&notes, consultations, QStringLiteral("Consultation"));
        QVERIFY(consultations.isEmpty());
        notes.setFocus();
        QTest::keyClicks(&notes, QStringLiteral("toux"));
        QTest::keyClick(&notes, Qt::Key_Return);
        QTest::keyClicks(&notes, QStringLiteral("fievre"));
        QCOMPARE(consultations.state(), Table::State::Insert);
        QCOMPARE(notes.toPlainText(), QStringLiteral("toux\nfievre"));
        consultations.post();
        consultations.refresh();
        QCOMPARE(consultations.text(QStringLiteral("Consultation")), QStringLiteral("toux\r\nfievre"));
        QCOMPARE(consultations.number(recordNumberField), 1.0);
    }

    void memoShowsTheProgramsChangesAsStored_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::newRow("line appended") << "toux\r\n" << "" << "toux\r\nfièvre\r\n";
        QTest::newRow("appended to typed text") << "toux" << " seche" << "toux seche\r\nfièvre";
        QTest::newRow("break completed across the end") << "toux\r" << "" << "toux\r\nfièvre";
        QTest::newRow("replaced") << "toux\r\nfièvre" << "" << "angine";
        QTest::newRow("emptied") << "toux" << "" << "";
    }
    void memoShowsTheProgramsChangesAsStored()
    {
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        Table consultations(m_base->db(), tables::consultations);
        consultations.setMaster(m_patients.get());
        consultations.open();
        addPatient(*m_patients, QStringLiteral("ABEL"), 1);
        consultations.edit();
        consultations.setText(QStringLiteral("Consultation"), before);
        consultations.post();
        QPlainTextEdit notes;
        BoundMemo binding(&notes, consultations, QStringLiteral("Consultation"));
        notes.moveCursor(QTextCursor::End);
        QTest::keyClicks(&notes, typed);
        // The program's writers read the field before they change it, which takes in what was typed.
        QCOMPARE(consultations.text(QStringLiteral("Consultation")), before + typed);
        consultations.edit();
        consultations.setText(QStringLiteral("Consultation"), after);
        consultations.post();
        QCOMPARE(notes.toPlainText(), toMemoText(after));
        QVERIFY(!notes.document()->isUndoAvailable());
        QCOMPARE(consultations.state(), Table::State::Browse);
    }

    void memoTypingIsStoredBeforeTheMasterMoves()
    {
        Table history(m_base->db(), tables::history);
        history.setMaster(m_patients.get());
        history.open();
        addPatient(*m_patients, QStringLiteral("ABEL"), 1);
        addPatient(*m_patients, QStringLiteral("BRUN"), 2);
        m_patients->first();
        QPlainTextEdit allergies;
        BoundMemo binding(&allergies, history, QStringLiteral("Allergies médicamenteuses"));
        QTest::keyClicks(&allergies, QStringLiteral("penicilline"));
        m_patients->next();
        QCOMPARE(allergies.toPlainText(), QString());
        m_patients->prior();
        QCOMPARE(allergies.toPlainText(), QStringLiteral("penicilline"));
    }

    void radioGroupStoresTheCaptionOfTheChosenButton()
    {
        addPatient(*m_patients, QStringLiteral("ABEL"), 1, QStringLiteral("Masculin"));
        addPatient(*m_patients, QStringLiteral("BRUN"), 2);
        RadioGroup sexe(QStringLiteral("&Sexe"), {QStringLiteral("Masculin"), QStringLiteral("Feminin")}, 2);
        BoundRadioGroup binding(&sexe, *m_patients, QStringLiteral("Sexe"));
        QSignalSpy states(m_patients.get(), &Table::stateChanged);
        m_patients->first();
        QCOMPARE(sexe.itemIndex(), 0);
        m_patients->next();
        QCOMPARE(sexe.itemIndex(), -1);
        QCOMPARE(states.count(), 0);
        sexe.findChildren<QRadioButton *>().at(1)->click();
        QCOMPARE(m_patients->text(QStringLiteral("Sexe")), QStringLiteral("Feminin"));
        QCOMPARE(m_patients->state(), Table::State::Edit);
    }

    void gridReadsOnlyTheRowsOnScreenAndMovesTheTable()
    {
        for (int i = 0; i < 60; ++i)
            addPatient(*m_patients, QStringLiteral("NOM%1").arg(i, 2, 10, QLatin1Char('0')), i + 1);
        m_patients->first();
        DbGrid grid(*m_patients, {{QStringLiteral("N°Dossier"), QStringLiteral("N°Dossier")},
                                  {QStringLiteral("NomPrénom"), QStringLiteral("Nom et Prénom")}});
        grid.resize(300, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const int shown = grid.windowModel()->rowCount();
        QVERIFY(shown > 1 && shown < 20);
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(m_patients->text(QStringLiteral("Nom")), QStringLiteral("NOM01"));
        QCOMPARE(grid.windowModel()->currentIndex(), 1);
        QScrollBar *bar = grid.verticalScrollBar();
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->value(), bar->minimum());
        QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(m_patients->text(QStringLiteral("Nom")), QStringLiteral("NOM59"));
        QCOMPARE(grid.windowModel()->currentIndex(), shown - 1);
        QCOMPARE(bar->value(), bar->maximum());
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 4)); // its upper arrow
        QCOMPARE(m_patients->text(QStringLiteral("Nom")), QStringLiteral("NOM58"));
        QTest::keyClick(&grid, Qt::Key_Down);
        const QRect second = grid.visualRect(grid.windowModel()->index(1, 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(grid.windowModel()->data(grid.windowModel()->index(1, 1), Qt::DisplayRole).toString(),
                 m_patients->text(QStringLiteral("NomPrénom")));
        QCOMPARE(m_patients->state(), Table::State::Browse);
    }
};

QTEST_MAIN(TestBoundControls)
#include "test_boundcontrols.moc"
