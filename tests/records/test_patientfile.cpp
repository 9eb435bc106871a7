#include "platform/error.h"
#include "records/cartevitale.h"
#include "records/currentpatient.h"
#include "records/patientfilecommands.h"
#include "records/table.h"
#include "support/scripteddialogservice.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

using namespace orvane;
using namespace orvane::records;

namespace {

int rowCount(Database &db, const QString &table)
{
    Table all(db, table);
    all.open();
    int count = 0;
    for (all.first(); !all.isEmpty(); all.next()) {
        ++count;
        if (all.atEnd())
            break;
        const qint64 before = all.rowId();
        all.next();
        if (all.rowId() == before)
            break;
        all.prior();
    }
    return count;
}

void fill(CurrentPatient &patient, const QString &nom, const QString &prenom, int year = 1950)
{
    Table &patients = patient.patients();
    patients.setText(QStringLiteral("Nom"), nom);
    patients.setText(QStringLiteral("Prénom"), prenom);
    patients.setValue(QStringLiteral("Année"), year);
    patient.composeName();
}

} // namespace

class TestPatientFile : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    std::unique_ptr<CurrentPatient> m_patient;
    std::unique_ptr<test::ScriptedDialogService> m_dialogs;
    std::unique_ptr<PatientFileCommands> m_commands;

    std::unique_ptr<Database> m_otherBase;
    std::unique_ptr<CurrentPatient> m_other;

    // A second running copy on the same base, which stores notes in the file of that number.
    CurrentPatient &otherCopyStoringNotes(int number, const QString &notes)
    {
        m_otherBase = m_base->openAnother();
        m_other = std::make_unique<CurrentPatient>(*m_otherBase);
        m_other->open();
        m_other->findByNumber(QString::number(number));
        m_other->consultations().edit();
        m_other->consultations().setText(QStringLiteral("Consultation"), notes);
        m_other->storeClinicalRows();
        return *m_other;
    }

    void newPlainFile(const QString &nom, const QString &prenom)
    {
        m_dialogs->answerYes();
        m_commands->newFile();
        fill(*m_patient, nom, prenom);
        m_patient->validate();
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_patient = std::make_unique<CurrentPatient>(m_base->db());
        m_patient->open();
        m_dialogs = std::make_unique<test::ScriptedDialogService>();
        QApplication::clipboard()->clear();
        m_commands = std::make_unique<PatientFileCommands>(*m_patient, *m_dialogs, QApplication::clipboard(), nullptr);
    }
    void cleanup()
    {
        m_commands.reset();
        m_other.reset();
        m_otherBase.reset();
        m_patient.reset();
        m_base.reset();
    }

    void carteVitaleText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fields");
        const QString card = QStringLiteral("Nom  : DURAND\r\nPrénom  : Marie\r\nl3\r\nl4\r\nNé(e) le   : 03/11/1948\r\n");
        QTest::newRow("CR LF") << card << QStringList{"DURAND", "Marie", "03", "11", "1948"};
        QTest::newRow("LF") << QString(card).replace("\r\n", "\n") << QStringList{"DURAND", "Marie", "03", "11", "1948"};
        QTest::newRow("CR") << QString(card).replace("\r\n", "\r") << QStringList{"DURAND", "Marie", "03", "11", "1948"};
        QTest::newRow("long surname") << QStringLiteral("Nom  : DE LA TOUR D'AUVERGNE\nPrénom  : Luc")
                                      << QStringList{"DE LA TOUR D'AUVERGNE", "Luc", "", "", ""};
        QTest::newRow("short lines") << QStringLiteral("Nom\nP\n\n\n12/0") << QStringList{"", "", "", "", ""};
        QTest::newRow("garbage") << QString::fromLatin1("\x01\xff\x02Nom\x7f", 7) << QStringList{"", "", "", "", ""};
    }
    void carteVitaleText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, fields);
        const CarteVitaleIdentity identity = readCarteVitale(text);
        QCOMPARE((QStringList{identity.nom, identity.prenom, identity.jour, identity.mois, identity.annee}), fields);
    }

    void firstNewFileGetsNumberOneAndTheCounterOnlyGrows()
    {
        m_dialogs->answerYes();
        QSignalSpy focus(m_commands.get(), &PatientFileCommands::nameFocusRequested);
        m_commands->newFile();
        QCOMPARE(focus.count(), 1);
        QCOMPARE(m_patient->patients().state(), Table::State::Insert);
        QCOMPARE(m_patient->patients().number(recordNumberField), 1.0);
        QCOMPARE(m_patient->counter().number(recordNumberField), 1.0);
        fill(*m_patient, QStringLiteral("MARTIN"), QStringLiteral("Luc"));
        QCOMPARE(m_patient->patients().text(QStringLiteral("NomPrénom")), QStringLiteral("MARTIN Luc"));
        m_commands->validate();
        QCOMPARE(m_dialogs->texts().last(), QStringLiteral("Enregistrement Validé"));
        QCOMPARE(rowCount(m_base->db(), tables::counter), 1);
    }

    void secondNewFileStoresTheFirstOrRefusesWithoutANumber()
    {
        Table counter(m_base->db(), tables::counter);
        counter.open();
        counter.insert();
        counter.setValue(recordNumberField, 41);
        counter.post();
        m_dialogs->answerYes();
        m_commands->newFile();
        QCOMPARE(m_patient->patients().number(recordNumberField), 42.0);
        // Required fields empty: the message, the first row stays pending, no number issued.
        m_dialogs->answerYes();
        QVERIFY_THROWS_EXCEPTION(Error, m_commands->newFile());
        QCOMPARE(m_patient->patients().state(), Table::State::Insert);
        QCOMPARE(m_patient->patients().number(recordNumberField), 42.0);
        counter.refresh();
        QCOMPARE(counter.number(recordNumberField), 42.0);
        // The empty clinical rows of number 42 were stored on the way.
        Table consultations(m_base->db(), tables::consultations);
        consultations.open();
        QCOMPARE(consultations.number(recordNumberField), 42.0);
        fill(*m_patient, QStringLiteral("ABEL"), QStringLiteral("Eve"));
        m_dialogs->answerYes();
        m_commands->newFile();
        QCOMPARE(m_patient->patients().number(recordNumberField), 43.0);
    }

    void carteVitaleFillsThePendingRowAndIsThenForgotten()
    {
        QApplication::clipboard()->setText(
            QStringLiteral("Nom  : DURAND\r\nPrénom  : Marie\r\n\r\n\r\nNé(e) le   : 03/11/1948"));
        m_dialogs->answerYes();
        m_dialogs->answerYes();
        QSignalSpy focus(m_commands.get(), &PatientFileCommands::addressFocusRequested);
        m_commands->newFile();
        QCOMPARE(m_dialogs->texts().last(), QStringLiteral("Voulez-vous récupérer les informations de la carte Vitale ?"));
        Table &patients = m_patient->patients();
        QCOMPARE(patients.text(QStringLiteral("NomPrénom")), QStringLiteral("DURAND Marie"));
        QCOMPARE(patients.text(QStringLiteral("Jour")), QStringLiteral("3"));
        QCOMPARE(patients.text(QStringLiteral("Mois")), QStringLiteral("11"));
        QCOMPARE(patients.text(QStringLiteral("Année")), QStringLiteral("1948"));
        QCOMPARE(focus.count(), 1);
        QVERIFY(QApplication::clipboard()->text().isEmpty());
        // The next new file, with nothing on the clipboard, is a plain one.
        m_patient->validate();
        m_dialogs->answerYes();
        m_commands->newFile();
        QCOMPARE(m_dialogs->texts().last(), QStringLiteral("Nouveau Dossier ?"));
        QCOMPARE(patients.text(QStringLiteral("Nom")), QString());
    }

    void aCarteVitaleTextLongerThanTheFieldsIsCutAndToldOnce()
    {
        const QString huge(1000000, QLatin1Char('X'));
        QApplication::clipboard()->setText(QStringLiteral("Nom  : ") + huge + QStringLiteral("\r\nPrénom  : Marie\r\n\r\n\r\nNé(e) le   : 03/11/1948"));
        m_dialogs->answerYes();
        m_dialogs->answerYes();
        m_commands->newFile();
        QCOMPARE(m_dialogs->requests().size(), 3);
        QCOMPARE(m_dialogs->texts().last(), QStringLiteral("Le texte de la carte Vitale est plus long que le dossier ne le permet : "
                                                           "« Nom », « NomPrénom » ont été coupés. Vérifiez l'identité avant de valider."));
        m_patient->validate();
        Table stored(m_base->db(), tables::patients);
        stored.open();
        QVERIFY(stored.locate(recordNumberField, 1));
        QCOMPARE(stored.text(QStringLiteral("Nom")), huge.left(50));
        QCOMPARE(stored.text(QStringLiteral("NomPrénom")), huge.left(50) + QStringLiteral(" Marie"));
        QCOMPARE(stored.text(QStringLiteral("Prénom")), QStringLiteral("Marie"));
    }

    void refusingTheCarteVitaleCreatesNothing()
    {
        QApplication::clipboard()->setText(QStringLiteral("Nom  : DURAND\nPrénom  : Marie"));
        m_dialogs->answerYes();
        m_dialogs->answerNo();
        m_commands->newFile();
        QCOMPARE(m_patient->patients().state(), Table::State::Browse);
        QVERIFY(m_patient->counter().isEmpty());
    }

    void deleteAsksTwiceAndRemovesOnlyThePatientRow()
    {
        newPlainFile(QStringLiteral("ABEL"), QStringLiteral("Eve"));
        newPlainFile(QStringLiteral("BRUN"), QStringLiteral("Léa"));
        m_patient->storeClinicalRows();
        m_dialogs->answerYes();
        m_dialogs->answerNo();
        m_commands->deleteFile(PatientFileCommands::DeleteVariant::ToolBar);
        QCOMPARE(rowCount(m_base->db(), tables::patients), 2);
        m_dialogs->answerYes();
        m_dialogs->answerYes();
        m_commands->deleteFile(PatientFileCommands::DeleteVariant::ToolBar);
        QCOMPARE(rowCount(m_base->db(), tables::patients), 1);
        QCOMPARE(m_patient->patients().text(QStringLiteral("Nom")), QStringLiteral("ABEL"));
        QCOMPARE(rowCount(m_base->db(), tables::consultations), 2);
    }

    void steppingStoresEmptyClinicalRowsForEveryPatient()
    {
        newPlainFile(QStringLiteral("ABEL"), QStringLiteral("Eve"));
        newPlainFile(QStringLiteral("BRUN"), QStringLiteral("Léa"));
        newPlainFile(QStringLiteral("CARON"), QStringLiteral("Paul"));
        m_patient->patients().first();
        m_commands->nextFile();
        m_commands->nextFile();
        QCOMPARE(m_patient->patients().text(QStringLiteral("Nom")), QStringLiteral("CARON"));
        m_commands->nextFile();
        QCOMPARE(m_patient->patients().text(QStringLiteral("Nom")), QStringLiteral("CARON"));
        for (const QString &table : {tables::consultations, tables::history, tables::measures, tables::treatments})
            QCOMPARE(rowCount(m_base->db(), table), 3);
        m_commands->previousFile();
        QCOMPARE(m_patient->patients().text(QStringLiteral("Nom")), QStringLiteral("BRUN"));
    }

    void stepsGoOnFromTheFileAsAnotherCopyLeftIt()
    {
        newPlainFile(QStringLiteral("ABEL"), QStringLiteral("Eve"));
        newPlainFile(QStringLiteral("BRUN"), QStringLiteral("Léa"));
        newPlainFile(QStringLiteral("CARON"), QStringLiteral("Paul"));
        CurrentPatient &other = otherCopyStoringNotes(2, QStringLiteral("Angine"));
        Table &patients = m_patient->patients();
        patients.first();
        m_commands->nextFile();
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("BRUN"));
        QCOMPARE(m_patient->consultations().text(QStringLiteral("Consultation")), QStringLiteral("Angine"));
        // Renamed on the other copy, the file now sorts last: nothing lies beyond it.
        other.patients().edit();
        other.patients().setText(QStringLiteral("Nom"), QStringLiteral("ZOLA"));
        other.validate();
        m_commands->nextFile();
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("ZOLA"));
        m_commands->previousFile();
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("CARON"));
        // Deleted on the other copy: the step starts from where the file was.
        QVERIFY(other.findByNumber(QStringLiteral("3")));
        other.removePatient();
        m_commands->previousFile();
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("ABEL"));
    }

    void storingTheClinicalRowsNeverOverwritesAnotherCopysNewRows()
    {
        newPlainFile(QStringLiteral("ABEL"), QStringLiteral("Eve"));
        newPlainFile(QStringLiteral("BRUN"), QStringLiteral("Léa"));
        CurrentPatient &other = otherCopyStoringNotes(2, QStringLiteral("Angine"));
        // Typed here into the file as it was read, before the other copy made its rows.
        m_patient->consultations().edit();
        m_patient->consultations().setText(QStringLiteral("Consultation"), QStringLiteral("Toux"));
        QVERIFY_THROWS_EXCEPTION(Error, m_commands->previousFile());
        QCOMPARE(m_patient->patients().text(QStringLiteral("Nom")), QStringLiteral("BRUN"));
        const QString shown = m_patient->consultations().text(QStringLiteral("Consultation"));
        QVERIFY2(shown.startsWith(QLatin1String("Angine\r\n----")) && shown.endsWith(QLatin1String("----\r\nToux")), qPrintable(shown));
        other.consultations().refresh();
        QCOMPARE(other.consultations().text(QStringLiteral("Consultation")), QStringLiteral("Angine"));
        m_patient->consultations().setText(QStringLiteral("Consultation"), QStringLiteral("Angine\r\nToux"));
        m_commands->previousFile();
        QCOMPARE(m_patient->patients().text(QStringLiteral("Nom")), QStringLiteral("ABEL"));
        other.consultations().refresh();
        QCOMPARE(other.consultations().text(QStringLiteral("Consultation")), QStringLiteral("Angine\r\nToux"));
        // One row per patient: ABEL's were stored by the second new file.
        for (const QString &table : {tables::consultations, tables::history, tables::measures, tables::treatments})
            QCOMPARE(rowCount(m_base->db(), table), 2);
    }

    void searchesByNameAndNumber()
    {
        newPlainFile(QStringLiteral("DUPONT"), QStringLiteral("Luc"));
        newPlainFile(QStringLiteral("DURAND"), QStringLiteral("Marie"));
        m_dialogs->answerText(QStringLiteral("dur"));
        m_commands->searchByName();
        QCOMPARE(m_patient->patients().text(QStringLiteral("Nom")), QStringLiteral("DURAND"));
        QCOMPARE(m_patient->patients().ordering(), QStringLiteral("NomPrénom"));
        m_dialogs->answerText(QStringLiteral("1"));
        m_commands->searchByNumber();
        QCOMPARE(m_patient->patients().text(QStringLiteral("Nom")), QStringLiteral("DUPONT"));
        m_dialogs->answerText(QStringLiteral("9999"));
        m_commands->searchByNumber();
        QCOMPARE(m_patient->patients().text(QStringLiteral("Nom")), QStringLiteral("DUPONT"));
        m_dialogs->answerText(QStringLiteral("douze"));
        QVERIFY_THROWS_EXCEPTION(Error, m_commands->searchByNumber());
        QCOMPARE(m_patient->patients().text(QStringLiteral("Nom")), QStringLiteral("DUPONT"));
        m_dialogs->answerCancel();
        m_commands->searchByName();
        QCOMPARE(m_patient->patients().text(QStringLiteral("Nom")), QStringLiteral("DUPONT"));
    }

    void twoRunningCopiesNeverShareANumber()
    {
        auto otherBase = m_base->openAnother();
        CurrentPatient other(*otherBase);
        other.open();
        m_patient->beginNewFile();
        other.beginNewFile();
        m_patient->patients().cancel(); // a file never validated: its number is not reused
        m_patient->beginNewFile();
        QCOMPARE(m_patient->patients().number(recordNumberField), 3.0);
        QCOMPARE(other.patients().number(recordNumberField), 2.0);
        fill(other, QStringLiteral("ZOLA"), QStringLiteral("Anne"));
        other.validate();
        m_patient->patients().cancel();
        m_patient->findByName(QStringLiteral("ZOLA"));
        QCOMPARE(m_patient->patients().text(QStringLiteral("Nom")), QStringLiteral("ZOLA"));
    }

    void ageFollowsTheYearOfBirth_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<int>("age");
        QTest::newRow("1950 in 2006") << "1950" << 56;
        QTest::newRow("this year") << "2006" << 0;
        QTest::newRow("empty keeps") << "" << -1;
        QTest::newRow("year to come") << "2010" << -1;
    }
    void ageFollowsTheYearOfBirth()
    {
        QFETCH(QString, year);
        QFETCH(int, age);
        const auto computed = ageFromYearText(year, 2006);
        QCOMPARE(computed.value_or(-1), age);
        QVERIFY_THROWS_EXCEPTION(Error, ageFromYearText(QStringLiteral("19x0"), 2006));
    }
};

QTEST_MAIN(TestPatientFile)
#include "test_patientfile.moc"
