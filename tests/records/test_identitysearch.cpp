#include "records/currentpatient.h"
#include "records/identitypage.h"
#include "records/patientfilecommands.h"
#include "records/table.h"
#include "records/trechercher.h"
#include "support/fixedclock.h"
#include "support/scripteddialogservice.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

using namespace orvane;
using namespace orvane::records;

class TestIdentitySearch : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    std::unique_ptr<CurrentPatient> m_patient;
    test::FixedClock m_clock{QDateTime(QDate(2006, 5, 2), QTime(9, 0))};

    void addPatient(const QString &nom, const QString &prenom)
    {
        m_patient->beginNewFile();
        Table &patients = m_patient->patients();
        patients.setText(QStringLiteral("Nom"), nom);
        patients.setText(QStringLiteral("Prénom"), prenom);
        patients.setValue(QStringLiteral("Année"), 1950);
        m_patient->composeName();
        m_patient->validate();
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_patient = std::make_unique<CurrentPatient>(m_base->db());
        m_patient->open();
    }
    void cleanup()
    {
        m_patient.reset();
        m_base.reset();
    }

    void enterAndArrowsMoveThroughTheIdentityBox()
    {
        addPatient(QStringLiteral("MARTIN"), QStringLiteral("Luc"));
        IdentityPage page(*m_patient, m_clock);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto *nom = page.findChild<QLineEdit *>(QStringLiteral("EditNom"));
        auto *prenom = page.findChild<QLineEdit *>(QStringLiteral("EditPrnom"));
        nom->setFocus();
        QTest::keyClick(nom, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), prenom);
        QTest::keyClick(prenom, Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), nom);
        QTest::keyClick(nom, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), prenom);
        QCOMPARE(m_patient->patients().state(), Table::State::Browse);
    }

    void leavingTheForenameComposesTheName()
    {
        addPatient(QStringLiteral("MARTIN"), QStringLiteral("Luc"));
        IdentityPage page(*m_patient, m_clock);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto *prenom = page.findChild<QLineEdit *>(QStringLiteral("EditPrnom"));
        prenom->setFocus();
        prenom->selectAll();
        QTest::keyClicks(prenom, QStringLiteral("Paul"));
        QCOMPARE(m_patient->patients().text(QStringLiteral("NomPrénom")), QStringLiteral("MARTIN Luc"));
        QTest::keyClick(prenom, Qt::Key_Return);
        QCOMPARE(m_patient->patients().text(QStringLiteral("NomPrénom")), QStringLiteral("MARTIN Paul"));
    }

    void theYearBoxShowsTheAgeAndAnEmptyYearNone()
    {
        addPatient(QStringLiteral("MARTIN"), QStringLiteral("Luc"));
        IdentityPage page(*m_patient, m_clock);
        auto *age = page.findChild<QLineEdit *>(QStringLiteral("Edit3"));
        QCOMPARE(age->text(), QStringLiteral("56"));
        page.findChild<QLineEdit *>(QStringLiteral("EditAnne"))->clear();
        QCOMPARE(age->text(), QString());
    }

    void addressCopyAndPaste()
    {
        addPatient(QStringLiteral("MARTIN"), QStringLiteral("Luc"));
        IdentityPage page(*m_patient, m_clock);
        page.address()->setPlainText(QStringLiteral("1 rue des Lilas\n75001 Paris"));
        page.Copier1Click();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("1 rue des Lilas\n75001 Paris"));
        page.address()->clear();
        page.Coller1Click();
        QCOMPARE(page.address()->toPlainText(), QStringLiteral("1 rue des Lilas\n75001 Paris"));
        QCOMPARE(m_patient->patients().text(QStringLiteral("Adresse")), QStringLiteral("1 rue des Lilas\r\n75001 Paris"));
    }

    void typedLettersAndLetterClicksGoToTheNearestName()
    {
        for (const auto &name : {"ABEL", "DAVID", "DUPONT", "MARTIN", "NOEL"})
            addPatient(QString::fromLatin1(name), QStringLiteral("X"));
        TRechercher search(m_base->db());
        search.show();
        QVERIFY(QTest::qWaitForWindowExposed(&search));
        auto *typed = search.findChild<QLineEdit *>(QStringLiteral("Recherche"));
        QTest::keyClicks(typed, QStringLiteral("D"));
        QCOMPARE(search.patients().text(QStringLiteral("Nom")), QStringLiteral("DAVID"));
        QTest::keyClicks(typed, QStringLiteral("u"));
        QCOMPARE(search.patients().text(QStringLiteral("Nom")), QStringLiteral("DUPONT"));
        auto *letters = search.findChild<QListWidget *>(QStringLiteral("ListBox1"));
        QListWidgetItem *m = letters->item(12);
        QTest::mouseClick(letters->viewport(), Qt::LeftButton, {}, letters->visualItemRect(m).center());
        QCOMPARE(search.patients().text(QStringLiteral("Nom")), QStringLiteral("MARTIN"));
    }

    void searchWindowAnswersAndTheMainWindowFollows()
    {
        addPatient(QStringLiteral("ABEL"), QStringLiteral("Eve"));
        addPatient(QStringLiteral("MARTIN"), QStringLiteral("Luc"));
        addPatient(QStringLiteral("MARTIN"), QStringLiteral("Luc"));
        m_patient->patients().first();
        test::ScriptedDialogService dialogs;
        PatientFileCommands commands(*m_patient, dialogs, QApplication::clipboard(), nullptr);
        TRechercher search(m_base->db());
        // Escape: the main window stays where it was.
        dialogs.answerModal([](QDialog &window) {
            QTest::keyClicks(window.findChild<QLineEdit *>(QStringLiteral("Recherche")), QStringLiteral("MAR"));
            QTest::keyClick(window.findChild<QLineEdit *>(QStringLiteral("Recherche")), Qt::Key_Escape);
        });
        commands.searchWindow(search);
        QVERIFY(!search.answeredOk());
        QCOMPARE(m_patient->patients().text(QStringLiteral("Nom")), QStringLiteral("ABEL"));
        // Enter brings the highlighted patient, the second of the two namesakes.
        dialogs.answerModal([](QDialog &window) {
            auto *typed = window.findChild<QLineEdit *>(QStringLiteral("Recherche"));
            QTest::keyClicks(typed, QStringLiteral("MAR"));
            QTest::keyClick(window.findChild<QWidget *>(QStringLiteral("DBGrid1")), Qt::Key_Down);
            QTest::keyClick(typed, Qt::Key_Return);
        });
        commands.searchWindow(search);
        QVERIFY(search.answeredOk());
        QCOMPARE(m_patient->patients().number(recordNumberField), 3.0);
        QCOMPARE(m_patient->patients().ordering(), CurrentPatient::mainOrdering);
        // Closed by its close box: the flag of the previous use (OK) stands.
        m_patient->patients().first();
        dialogs.answerModal([](QDialog &window) {
            QTest::keyClicks(window.findChild<QLineEdit *>(QStringLiteral("Recherche")), QStringLiteral("MAR"));
            window.close();
        });
        commands.searchWindow(search);
        QCOMPARE(m_patient->patients().text(QStringLiteral("Nom")), QStringLiteral("MARTIN"));
    }
};

QTEST_MAIN(TestIdentitySearch)
#include "test_identitysearch.moc"
