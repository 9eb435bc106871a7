#include "platform/textlines.h"
#include "vidal/vidalanswer.h"
#include "vidal/vidalrequest.h"

#include <QTest>

using namespace orvane::vidal;

Q_DECLARE_METATYPE(std::optional<QStringList>)
Q_DECLARE_METATYPE(orvane::vidal::VidalPatient)

namespace {

VidalPatient pregnantPatient()
{
    VidalPatient patient;
    patient.sexIndex = 1;
    patient.age = QStringLiteral("32");
    patient.lastHeight = QStringLiteral("165");
    patient.lastWeight = QStringLiteral("61.5");
    patient.pregnancyWeeks = QStringLiteral("12");
    patient.clearance = QStringLiteral("95");
    patient.allergies = QStringLiteral("PENICILLINE\r\naspirine\r\nsulfamides");
    return patient;
}

} // namespace

class TestVidalTexts : public QObject
{
    Q_OBJECT

private slots:
    void request_data()
    {
        QTest::addColumn<VidalPatient>("patient");
        QTest::addColumn<QString>("expected");

        QTest::newRow("measures, pregnancy, clearance, allergies on three lines")
            << pregnantPatient()
            << "->VIDALCD\r\n1\r\n32\r\n165\r\n61.5\r\n12\r\n95\r\nPENICILLINE\r\naspirine\r\nsulfamides\r\n";

        VidalPatient bare;
        bare.sexIndex = 0;
        bare.age = QStringLiteral("58");
        QTest::newRow("no measures, no pregnancy, no clearance, no allergy")
            << bare << "->VIDALCD\r\n0\r\n58\r\n\r\n\r\n0\r\n0\r\n\r\n";

        QTest::newRow("sex not set") << VidalPatient() << "->VIDALCD\r\n-1\r\n\r\n\r\n\r\n0\r\n0\r\n\r\n";

        VidalPatient endedAllergies = bare;
        endedAllergies.allergies = QStringLiteral("iode\r\n");
        QTest::newRow("allergy text ended by a line break")
            << endedAllergies << "->VIDALCD\r\n0\r\n58\r\n\r\n\r\n0\r\n0\r\niode\r\n";

        VidalPatient brokenValues = bare;
        brokenValues.clearance = QStringLiteral("60\r\nml/min");
        brokenValues.age = QStringLiteral("58\nans");
        QTest::newRow("line break inside a one-line value")
            << brokenValues << "->VIDALCD\r\n0\r\n58 ans\r\n\r\n\r\n0\r\n60 ml/min\r\n\r\n";
    }
    void request()
    {
        QFETCH(VidalPatient, patient);
        QFETCH(QString, expected);
        QCOMPARE(vidalRequest(patient), expected);
    }

    void requestReadsBack()
    {
        const auto parsed = parseVidalRequest(vidalRequest(pregnantPatient()));
        QVERIFY(parsed.has_value());
        QVERIFY(*parsed == pregnantPatient());
    }

    void notARequest_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("an answer") << "VIDALCD->\r\n- ABC -\r\n";
        QTest::newRow("too few lines") << "->VIDALCD\r\n1\r\n32\r\n";
        QTest::newRow("marker in lower case") << "->vidalcd\r\n1\r\n32\r\n\r\n\r\n0\r\n0\r\n\r\n";
    }
    void notARequest()
    {
        QFETCH(QString, text);
        QVERIFY(!parseVidalRequest(text).has_value());
    }

    void answer_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<QStringList>>("lines");
        const std::optional<QStringList> none;
        const QString longLine = QString(200000, QLatin1Char('x'));

        QTest::newRow("two drug lines")
            << "VIDALCD->\r\n- DOLIPRANE 500 mg -\r\n- SPASFON -\r\n"
            << std::optional<QStringList>({"- DOLIPRANE 500 mg -", "- SPASFON -"});
        QTest::newRow("only the marker") << "VIDALCD->" << std::optional<QStringList>(QStringList());
        QTest::newRow("LF line ends, empty line kept")
            << "VIDALCD->\nA\n\nB" << std::optional<QStringList>({"A", "", "B"});
        QTest::newRow("a line of any length") << "VIDALCD->\r\n" + longLine
                                               << std::optional<QStringList>(QStringList{longLine});
        QTest::newRow("lower case") << "vidalcd->\r\n- ABC -\r\n" << none;
        QTest::newRow("blank before the marker") << " VIDALCD->\r\n- ABC -\r\n" << none;
        QTest::newRow("blank after the marker") << "VIDALCD-> \r\n- ABC -\r\n" << none;
        QTest::newRow("marker later in the text") << "bonjour\r\nVIDALCD->\r\n- ABC -\r\n" << none;
        QTest::newRow("our own request") << vidalRequest(pregnantPatient()) << none;
        QTest::newRow("text with NUL characters") << QString::fromLatin1("\0VIDALCD->\r\n", 12) << none;
    }
    void answer()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<QStringList>, lines);
        QCOMPARE(answerLines(text), lines);
    }

    void answerWrittenByTheAccessProgramIsRead()
    {
        const QStringList lines = {"- ABC -", "1 cp le soir"};
        QCOMPARE(vidalAnswer(lines), QStringLiteral("VIDALCD->\r\n- ABC -\r\n1 cp le soir\r\n"));
        QCOMPARE(answerLines(vidalAnswer(lines)), std::optional<QStringList>(lines));
    }

    void drugLog_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("logText");
        QTest::newRow("hyphen, blank, ABC, blank, hyphen") << "- ABC -" << "ABC";
        QTest::newRow("five characters") << "-abc-" << "b";
        QTest::newRow("four characters") << "- a-" << "";
        QTest::newRow("a lone hyphen") << "-" << "";
        QTest::newRow("block line of a validated drug") << "- AMOXICILLINE 1 g: 1 flacon " << "AMOXICILLINE 1 g: 1 flaco";
    }
    void drugLog()
    {
        QFETCH(QString, line);
        QFETCH(QString, logText);
        QVERIFY(isDrugLine(line));
        QCOMPARE(drugLogText(line), logText);
    }

    void everyDrugLineOfThePrescriptionIsLogged()
    {
        const QString prescription = QStringLiteral("- AMOXICILLINE 1 g: 1 flacon \r\n\r\n2 cps matin et soir\r\n"
                                                    "<non 100%>\r\n- ABC -\r\nanti-inflammatoire\r\n- \r\n");
        QCOMPARE(drugLogTexts(prescription),
                 QStringList({"AMOXICILLINE 1 g: 1 flaco", "ABC", "ti-inflammatoi", ""}));
        QVERIFY(drugLogTexts(QStringLiteral("2 cps matin et soir\r\n<non 100%>")).isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestVidalTexts)
#include "test_vidaltexts.moc"
