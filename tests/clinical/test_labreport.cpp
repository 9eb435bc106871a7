#include "clinical/analytes.h"
#include "clinical/clearance.h"
#include "clinical/labreport.h"
#include "platform/clock.h"

#include <QTest>

using namespace orvane::clinical;

namespace {

QStringList header(const QString &examDate = QStringLiteral("15/03/06"))
{
    return {QString(), QStringLiteral("DUPONT"), QStringLiteral("Émile"), QString(), QString(), QString(),
            QStringLiteral("03/05/1948"), QStringLiteral("1480375123456 78"), QString(), examDate,
            QStringLiteral("LAB0000001Laboratoire Pasteur"), QStringLiteral("DOC0000001Dr Martin")};
}

LabResult result(const QString &label, const QString &value, const QString &unit, const QString &value2 = {},
                 const QString &unit2 = {})
{
    LabResult r;
    r.label = label;
    r.value = value;
    r.number = labNumber(value);
    r.unit = unit;
    r.value2 = value2;
    r.number2 = labNumber(value2);
    r.unit2 = unit2;
    return r;
}

} // namespace

class TestLabReport : public QObject
{
    Q_OBJECT

private:
    AnalyteCatalogue m_catalogue = AnalyteCatalogue::standard(QString());

private slots:
    void hprimNetLines()
    {
        const QStringList lines = header() + QStringList{
            QStringLiteral("Compte rendu imprimé"), QStringLiteral("****LAB****"),
            QStringLiteral("RES|GLYCEMIE A JEUN|GLY  010|N|0.95|g/l|0.70|1.10|N|F|5.27|mmol/l|3.89|6.11"),
            QStringLiteral("TEX|DFG (CKD-EPI) ≥ 90 mL/min/1,73 m²"), QStringLiteral("TEX"),
            QStringLiteral("RES|HEMOGLOBINE : | HB |N| *12.9* |g/dL| 13,0 | 17,0 |L|C"),
            QStringLiteral("RES|CRP|CRP|A|    < 0.12  mg/l |||||"), QStringLiteral("RES|PLAQUETTES|PLQ|N|85*|G/l"),
            QStringLiteral("RES|||N|12"), QStringLiteral("RES|X"), QStringLiteral("****FIN****")};
        const LabReport report = readLabReport(lines);
        QCOMPARE(report.examDate, QDate(2006, 3, 15));
        QCOMPARE(report.laboratory, QStringLiteral("Laboratoire Pasteur"));
        QCOMPARE(report.socialSecurity, QStringLiteral("148037512345678"));
        QCOMPARE(report.results.size(), 4);
        const LabResult &glucose = report.results.at(0);
        QCOMPARE(glucose.code, QStringLiteral("GLY  010"));
        QCOMPARE(glucose.number, std::optional<double>(0.95));
        QCOMPARE(glucose.number2, std::optional<double>(5.27));
        QCOMPARE(glucose.high2, QStringLiteral("6.11"));
        QCOMPARE(glucose.comment, QStringLiteral("DFG (CKD-EPI) ≥ 90 mL/min/1,73 m²\r\n"));
        const LabResult &hb = report.results.at(1);
        QCOMPARE(hb.label, QStringLiteral("HEMOGLOBINE"));
        QCOMPARE(hb.value, QStringLiteral("12.9"));
        QCOMPARE(hb.low, QStringLiteral("13,0"));
        QVERIFY(hb.corrected());
        const LabResult &crp = report.results.at(2);
        QCOMPARE(crp.value, QStringLiteral("< 0.12"));
        QCOMPARE(crp.unit, QStringLiteral("mg/l"));
        QVERIFY(!crp.number);
        QCOMPARE(report.results.at(3).number, std::optional<double>(85));
        QCOMPARE(report.unreadLines, (QStringList{QStringLiteral("RES|||N|12"), QStringLiteral("RES|X")}));
    }

    // HPRIM Santé: the delimiters are the file's own; two sets laboratories use.
    void hprimSante_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("|^~\\&") << QStringList{
            QStringLiteral("H|^~\\&|||LABO"), QStringLiteral("P|1||||DUPONT^Emile||19480503|M"),
            QStringLiteral("OBR|1||R123|||||200603150815"),
            QStringLiteral("OBX|1|NM|HB^Hémoglobine||12.9|g/dL|13.0-17.0|L|||F||"),
            QStringLiteral("A||20060315"), QStringLiteral("C|1|L|Contr\\F\\ôlé|G"),
            QStringLiteral("OBX|2|ST|AS^Aspect||trouble|||N|||F"), QStringLiteral("L|1")};
        QTest::newRow("|\\^&~") << QStringList{
            QStringLiteral("H|\\^&~|||LABO"), QStringLiteral("P|1||||DUPONT\\Emile||19480503|M"),
            QStringLiteral("OBR|1||R123|||||200603150815"),
            QStringLiteral("OBX|1|NM|HB\\Hémoglobine||12.9|g/dL|13.0-17.0|L|||F||"),
            QStringLiteral("A||20060315"), QStringLiteral("C|1|L|Contr&F&ôlé|G"),
            QStringLiteral("OBX|2|ST|AS\\Aspect||trouble|||N|||F"), QStringLiteral("L|1")};
    }

    void hprimSante()
    {
        QFETCH(QStringList, lines);
        const LabReport report = readLabReport(lines);
        QCOMPARE(report.patients, (QList<LabPatient>{{QStringLiteral("DUPONT"), QStringLiteral("Emile"), QDate(1948, 5, 3)}}));
        QCOMPARE(report.results.size(), 2);
        const LabResult &hb = report.results.first();
        QCOMPARE(hb.code, QStringLiteral("HB"));
        QCOMPARE(hb.label, QStringLiteral("Hémoglobine"));
        QCOMPARE(hb.number, std::optional<double>(12.9));
        QCOMPARE(hb.low, QStringLiteral("13.0"));
        QCOMPARE(hb.high, QStringLiteral("17.0"));
        QCOMPARE(hb.flag, QStringLiteral("L"));
        QCOMPARE(hb.status, QStringLiteral("F"));
        QCOMPARE(hb.date, QDate(2006, 3, 15)); // continued on the "A" line
        QCOMPARE(hb.comment, QStringLiteral("Contr|ôlé"));
        QCOMPARE(report.dateOf(hb), QDate(2006, 3, 15)); // no HPRIM Net header
        QCOMPARE(report.results.at(1).value, QStringLiteral("trouble"));
        QVERIFY(report.unreadLines.isEmpty());
    }

    void badInputKeptAndCounted()
    {
        QStringList lines = header(QStringLiteral("31/02/2006"));
        lines.append(QStringLiteral("RES|GLYCEMIE|GLY|N|1.0|g/l") + QString(QStringLiteral("|x")).repeated(10000));
        lines.append(QStringLiteral("RES|NOTE|NT|A|") + QString(1 << 20, QLatin1Char('a')) + QStringLiteral("|"));
        lines.append(QStringLiteral("RES|HEMOGLOBINE|HB|N|13|г/л"));
        for (int i = 0; i < 100000; ++i)
            lines.append(QStringLiteral("RES|GLYCEMIE|GLY%1|N|1.%1|g/l").arg(i));
        const LabReport report = readLabReport(lines);
        QVERIFY(!report.examDate.isValid());
        QCOMPARE(report.examDateText, QStringLiteral("31/02/2006"));
        QCOMPARE(report.results.size(), 100003);
        QCOMPARE(report.results.at(0).number, std::optional<double>(1.0));
        QCOMPARE(report.results.at(1).value.size(), 1 << 20);
        // A unit of another alphabet is never taken for a known one.
        QVERIFY(!m_catalogue.analyteOf(report.results.at(2))->converted(13, report.results.at(2).unit));
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QVariant>("number");
        QTest::newRow("point") << QStringLiteral("0.95") << QVariant(0.95);
        QTest::newRow("comma") << QStringLiteral("13,5") << QVariant(13.5);
        QTest::newRow("marked") << QStringLiteral("*12.9*") << QVariant(12.9);
        QTest::newRow("marked after") << QStringLiteral("85*") << QVariant(85.0);
        QTest::newRow("censored") << QStringLiteral("< 0.12") << QVariant();
        QTest::newRow("above") << QStringLiteral(">90") << QVariant();
        QTest::newRow("text") << QStringLiteral("trouble") << QVariant();
        QTest::newRow("empty") << QString() << QVariant();
    }

    void numbers()
    {
        QFETCH(QString, value);
        QFETCH(QVariant, number);
        const auto read = labNumber(value);
        QCOMPARE(read.has_value(), number.isValid());
        if (read)
            QCOMPARE(*read, number.toDouble());
    }

    // Each pair of units, with values a laboratory sends for one sample on one line.
    void conversionsAgreeWithTheSecondUnit_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("value2");
        QTest::addColumn<QString>("unit2");
        QTest::addColumn<QString>("listed");
        QTest::newRow("glucose") << "GLYCEMIE" << "5.27" << "mmol/l" << "0.95" << "g/l" << "0.95";
        QTest::newRow("cholesterol") << "CHOLESTEROL TOTAL" << "2.10" << "g/l" << "5.43" << "mmol/l" << "2.1";
        QTest::newRow("cholesterol (B) line") << "CHOLESTEROL(B)" << "5.43" << "mmol/L" << "" << "" << "2.1";
        QTest::newRow("haemoglobin") << "HEMOGLOBINE" << "13.5" << "g/dL" << "8.38" << "mmol/l" << "135";
        QTest::newRow("leucocytes") << "LEUCOCYTES" << "7.2" << "G/L" << "7200" << "/mm3" << "7200";
        QTest::newRow("red cells") << "HEMATIES" << "4.52" << "T/L" << "4.52" << "M/mm3" << "4.52";
        QTest::newRow("HbA1c") << "HBA1C" << "53" << "mmol/mol" << "7.0" << "%" << "7";
        QTest::newRow("creatinine") << "CREATININE" << "9.6" << "mg/l" << "85" << "µmol/l" << "85";
        QTest::newRow("Greek mu") << "CREATININE" << "85" << "μmol/L" << "" << "" << "85";
    }

    void conversionsAgreeWithTheSecondUnit()
    {
        QFETCH(QString, label);
        QFETCH(QString, value);
        QFETCH(QString, unit);
        QFETCH(QString, value2);
        QFETCH(QString, unit2);
        QFETCH(QString, listed);
        const LabResult sent = result(label, value, unit, value2, unit2);
        const Analyte *analyte = m_catalogue.analyteOf(sent);
        QVERIFY(analyte);
        const ListValue filed = listValueOf(*analyte, sent);
        QCOMPARE(filed.alert, QString());
        QVERIFY(filed.value);
        QCOMPARE(analyte->listText(*filed.value), listed);
    }

    void disagreeingOrUnknownUnitsFileNothing()
    {
        const LabResult wrong = result(QStringLiteral("GLYCEMIE"), QStringLiteral("0.95"), QStringLiteral("g/l"),
                                       QStringLiteral("6.00"), QStringLiteral("mmol/l"));
        const ListValue disagreeing = listValueOf(*m_catalogue.analyteOf(wrong), wrong);
        QVERIFY(!disagreeing.value);
        QVERIFY(disagreeing.alert.contains(QStringLiteral("ne concordent pas")));
        const LabResult unknown = result(QStringLiteral("GLYCEMIE"), QStringLiteral("95"), QStringLiteral("mg/l"));
        const ListValue guessed = listValueOf(*m_catalogue.analyteOf(unknown), unknown);
        QVERIFY(!guessed.value);
        QVERIFY(guessed.alert.contains(QStringLiteral("inconnue")));
        QVERIFY(!m_catalogue.analyteOf(result(QStringLiteral("FERRITINE"), QStringLiteral("95"), QStringLiteral("µg/l"))));
    }

    void physicianLabelsAndFaultyLines()
    {
        AnalyteCatalogue catalogue = AnalyteCatalogue::standard(QString());
        catalogue.read({AnalyteCatalogue::labelLine(QStringLiteral("Hb"), QStringLiteral("Hémoglobine totale")),
                        QStringLiteral("libellé|Inconnue|X"), QStringLiteral("analyse|Y|Y|g/l|2|g/l=un")});
        QCOMPARE(catalogue.analyteOf(result(QStringLiteral("HEMOGLOBINE TOTALE"), {}, {}))->name, QStringLiteral("Hb"));
        QCOMPARE(catalogue.problems().size(), 2);
        QVERIFY(m_catalogue.problems().isEmpty());
    }

    void clearance()
    {
        // A man of 60 years, 72 kg, creatinine 85 µmol/l.
        QCOMPARE(qRound(cockcroftGault(60, 72, 85, true)), 83);
        QCOMPARE(qRound(cockcroftGault(60, 72, 85, false)), 70);
        QCOMPARE(qRound(ckdEpi2021(60, 85, true)), 90);
        QCOMPARE(qRound(ckdEpi2021(60, 85, false)), 68);
        QCOMPARE(orvane::ageOn(3, 5, 1948, QDate(2006, 5, 2)), 57);
        QCOMPARE(orvane::ageOn(3, 5, 1948, QDate(2006, 5, 3)), 58);
        QCOMPARE(orvane::ageOn(0, 0, 1948, QDate(2006, 1, 1)), 58);
    }

    void clearanceShownWithItsDay_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("old");
        QTest::newRow("none") << QString(" ") << QDate() << "Clearance non connue" << false;
        QTest::newRow("undated") << "60" << QDate() << "Clearance : 60 ml/min (non datée)" << false;
        QTest::newRow("a year old") << "86" << QDate(2005, 12, 8) << "Clearance : 86 ml/min du 08/12/2005" << false;
        QTest::newRow("older") << "86" << QDate(2005, 12, 7) << "Clearance : 86 ml/min du 07/12/2005 : plus d'un an" << true;
        QTest::newRow("typed with its unit") << "85 ml/min" << QDate(2006, 12, 8) << "Clearance : 85 ml/min du 08/12/2006"
                                              << false;
        QTest::newRow("a word the number reader would take") << "inf" << QDate() << "Clearance : inf (non datée)" << false;
    }
    void clearanceShownWithItsDay()
    {
        QFETCH(QString, value);
        QFETCH(QDate, day);
        QFETCH(QString, text);
        QFETCH(bool, old);
        const ClearanceNotice notice =
            clearanceNotice(value, day.isValid() ? std::optional(day) : std::nullopt, QDate(2006, 12, 8));
        QCOMPARE(notice.text, text);
        QCOMPARE(notice.old, old);
    }
};

QTEST_GUILESS_MAIN(TestLabReport)
#include "test_labreport.moc"
