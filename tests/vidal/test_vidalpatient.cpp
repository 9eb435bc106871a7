#include "records/schema.h"
#include "records/table.h"
#include "support/testdatabase.h"
#include "vidal/vidalrequest.h"

#include <QTest>

using namespace orvane;
using namespace orvane::vidal;

class TestVidalPatient : public QObject
{
    Q_OBJECT

private slots:
    void readsTheLatestMeasuresAndTheAllergies()
    {
        test::TestDatabase base;
        records::Table measures(base.db(), records::tables::measures);
        records::Table history(base.db(), records::tables::history);
        measures.open();
        history.open();
        measures.insert();
        measures.setValue(records::recordNumberField, 7);
        measures.setText(QStringLiteral("Taille"), QStringLiteral("01/12/2006\r164\r08/12/2006\r165\r"));
        measures.setText(QStringLiteral("Poids"), QStringLiteral("08/12/2006\r61.5\r"));
        measures.setText(QStringLiteral("Clearance"), QStringLiteral("95"));
        measures.post();
        history.insert();
        history.setValue(records::recordNumberField, 7);
        history.setText(QStringLiteral("Allergies médicamenteuses"), QStringLiteral("PENICILLINE\r\niode"));
        history.post();

        const VidalPatient patient = VidalPatient::fromRecords(1, QStringLiteral("32"), QStringLiteral("12"), measures, history);
        QCOMPARE(vidalRequest(patient),
                 QStringLiteral("->VIDALCD\r\n1\r\n32\r\n165\r\n61.5\r\n12\r\n95\r\nPENICILLINE\r\niode\r\n"));
    }

    void patientWithoutRowsSendsEmptyMeasures()
    {
        test::TestDatabase base;
        records::Table measures(base.db(), records::tables::measures);
        records::Table history(base.db(), records::tables::history);
        measures.open();
        history.open();
        const VidalPatient patient = VidalPatient::fromRecords(0, QStringLiteral("58"), QString(), measures, history);
        QCOMPARE(vidalRequest(patient), QStringLiteral("->VIDALCD\r\n0\r\n58\r\n\r\n\r\n0\r\n0\r\n\r\n"));
    }
};

QTEST_MAIN(TestVidalPatient)
#include "test_vidalpatient.moc"
