#include "prescribing/prescriptionrecords.h"
#include "records/table.h"
#include "support/testdatabase.h"

#include <QTest>
#include <memory>

using namespace orvane;
using namespace orvane::records;
using namespace orvane::prescribing;

class TestPrescriptionRecords : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;

    void addDrug(Table &drugs, const QString &brand, const QString &posology)
    {
        drugs.insert();
        drugs.setText(QStringLiteral("Marque"), brand);
        drugs.setText(QStringLiteral("Posologie"), posology);
        drugs.post();
    }

    void addPatient(Table &patients, int number, const QString &name)
    {
        patients.insert();
        patients.setText(QStringLiteral("Nom"), name);
        patients.setText(QStringLiteral("Prénom"), QStringLiteral("Jean"));
        patients.setText(QStringLiteral("NomPrénom"), name + QStringLiteral(" Jean"));
        patients.setValue(recordNumberField, number);
        patients.setValue(QStringLiteral("Année"), 1950);
        patients.post();
    }

private slots:
    void init() { m_base = std::make_unique<test::TestDatabase>(); }
    void cleanup() { m_base.reset(); }

    void usualPosology()
    {
        Table drugs(m_base->db(), tables::drugs);
        drugs.open();
        addDrug(drugs, QStringLiteral("ADVIL"), QStringLiteral("1 cp 3 fois par jour"));
        addDrug(drugs, QStringLiteral("Lexomil"), QStringLiteral("1/4 cp le soir"));
        addDrug(drugs, QStringLiteral("LEXOMIL"), QStringLiteral("1 cp le soir"));
        addDrug(drugs, QStringLiteral("ZOLOFT"), QStringLiteral("1 gél le matin"));

        QCOMPARE(usualPosologyOf(drugs, QStringLiteral("LEXOMIL")), std::optional<QString>(QStringLiteral("1 cp le soir")));
        QCOMPARE(drugs.text(QStringLiteral("Marque")), QStringLiteral("LEXOMIL"));
        QCOMPARE(usualPosologyOf(drugs, QStringLiteral("Lexomil")), std::optional<QString>(QStringLiteral("1/4 cp le soir")));

        drugs.findKey({QStringLiteral("ZOLOFT")});
        QCOMPARE(usualPosologyOf(drugs, QStringLiteral("lexomil")), std::nullopt);
        QCOMPARE(usualPosologyOf(drugs, QStringLiteral("LEXO")), std::nullopt);
        QCOMPARE(usualPosologyOf(drugs, QString()), std::nullopt);
        QCOMPARE(drugs.text(QStringLiteral("Marque")), QStringLiteral("ZOLOFT"));
    }

    void drugIsLoggedInBothTexts()
    {
        Table patients(m_base->db(), tables::patients);
        Table consultations(m_base->db(), tables::consultations);
        Table treatments(m_base->db(), tables::treatments);
        patients.open();
        consultations.setMaster(&patients);
        treatments.setMaster(&patients);
        consultations.open();
        treatments.open();
        addPatient(patients, 7, QStringLiteral("MARTIN"));

        // A patient without rows gets them, carrying his record number.
        logPrescribedDrug(consultations, treatments, QStringLiteral("DOLIPRANE"));
        logPrescribedDrug(consultations, treatments, QString());
        logPrescribedDrug(consultations, treatments, QStringLiteral("ADVIL"));
        QCOMPARE(consultations.state(), Table::State::Browse);
        QCOMPARE(treatments.state(), Table::State::Browse);

        Table storedConsultations(m_base->db(), tables::consultations);
        Table storedTreatments(m_base->db(), tables::treatments);
        storedConsultations.open();
        storedTreatments.open();
        QVERIFY(storedConsultations.findKey({7}));
        QVERIFY(storedTreatments.findKey({7}));
        QCOMPARE(storedConsultations.text(QStringLiteral("Consultation")), QStringLiteral("\rDOLIPRANE\r\rADVIL"));
        QCOMPARE(storedTreatments.text(QStringLiteral("Traitement général")), QStringLiteral("\rDOLIPRANE\r\rADVIL"));
    }

    void existingNotesAreKept()
    {
        Table patients(m_base->db(), tables::patients);
        Table consultations(m_base->db(), tables::consultations);
        Table treatments(m_base->db(), tables::treatments);
        patients.open();
        consultations.setMaster(&patients);
        treatments.setMaster(&patients);
        consultations.open();
        treatments.open();
        addPatient(patients, 3, QStringLiteral("DURAND"));
        consultations.edit();
        consultations.setText(QStringLiteral("Consultation"), QStringLiteral("15/03/2006\r\nToux\r\n"));
        consultations.post();

        logPrescribedDrug(consultations, treatments, QStringLiteral("AMOXICILLINE 1 g"));
        QCOMPARE(consultations.text(QStringLiteral("Consultation")),
                 QStringLiteral("15/03/2006\r\nToux\r\n\rAMOXICILLINE 1 g"));
        QCOMPARE(treatments.text(QStringLiteral("Traitement général")), QStringLiteral("\rAMOXICILLINE 1 g"));
    }
};

QTEST_GUILESS_MAIN(TestPrescriptionRecords)
#include "test_prescriptionrecords.moc"
