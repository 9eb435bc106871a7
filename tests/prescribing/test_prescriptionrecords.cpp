#include "prescribing/prescriptionrecords.h"
#include "practice.h"

#include <QTest>
#include <memory>

using namespace orvane;
using namespace orvane::records;
using namespace orvane::prescribing;

class TestPrescriptionRecords : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::Practice> m_practice;

private slots:
    void init() { m_practice = std::make_unique<test::Practice>(); }
    void cleanup() { m_practice.reset(); }

    void usualPosology()
    {
        Table &drugs = m_practice->drugs;
        m_practice->addDrug(QStringLiteral("ADVIL"), QStringLiteral("1 cp 3 fois par jour"));
        m_practice->addDrug(QStringLiteral("Lexomil"), QStringLiteral("1/4 cp le soir"));
        m_practice->addDrug(QStringLiteral("LEXOMIL"), QStringLiteral("1 cp le soir"));
        m_practice->addDrug(QStringLiteral("ZOLOFT"), QStringLiteral("1 gél le matin"));

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
        // A patient without rows gets them, carrying his record number.
        const QString today = QStringLiteral("15/03/2006");
        logPrescribedDrug(m_practice->consultations, m_practice->treatments, QStringLiteral("DOLIPRANE"), today);
        logPrescribedDrug(m_practice->consultations, m_practice->treatments, QString(), today);
        logPrescribedDrug(m_practice->consultations, m_practice->treatments, QStringLiteral("ADVIL"), today);
        QCOMPARE(m_practice->consultations.state(), Table::State::Browse);
        QCOMPARE(m_practice->treatments.state(), Table::State::Browse);

        Table storedConsultations(m_practice->base.db(), tables::consultations);
        Table storedTreatments(m_practice->base.db(), tables::treatments);
        storedConsultations.open();
        storedTreatments.open();
        QVERIFY(storedConsultations.findKey({12}));
        QVERIFY(storedTreatments.findKey({12}));
        // The notes get the day's date block once, the treatment text never.
        QCOMPARE(storedConsultations.text(QStringLiteral("Consultation")),
                 QStringLiteral("\r\n15/03/2006\r\n\r\n\rDOLIPRANE\r\rADVIL"));
        QCOMPARE(storedTreatments.text(QStringLiteral("Traitement général")), QStringLiteral("\rDOLIPRANE\r\rADVIL"));
    }

    void drugGivenTodayNeverStandsUnderAnEarlierDate()
    {
        const QString earlier = QStringLiteral("\r\n14/03/2006\r\n\r\nToux\r\n");
        m_practice->setText(m_practice->consultations, QStringLiteral("Consultation"), earlier);
        logPrescribedDrug(m_practice->consultations, m_practice->treatments, QStringLiteral("DOLIPRANE"),
                          QStringLiteral("15/03/2006"));
        QCOMPARE(m_practice->consultations.text(QStringLiteral("Consultation")),
                 earlier + QStringLiteral("\r\n15/03/2006\r\n\r\n\rDOLIPRANE"));
    }
};

QTEST_GUILESS_MAIN(TestPrescriptionRecords)
#include "test_prescriptionrecords.moc"
