#include "prescribing/drugblock.h"
#include "prescribing/prescriptiontext.h"
#include "prescribing/safetychecks.h"

#include <QTest>

using namespace orvane::prescribing;

Q_DECLARE_METATYPE(PosologyChoice)

class TestDrugBlock : public QObject
{
    Q_OBJECT

private slots:
    void block_data()
    {
        QTest::addColumn<QString>("drug");
        QTest::addColumn<PosologyChoice>("choice");
        QTest::addColumn<QString>("usual");
        QTest::addColumn<QStringList>("lines");

        // quantity, dose, time of day, period, renewal, do not renew
        const auto chosen = [](const char *q, const char *n, const char *h, const char *p, const char *r = "",
                               const char *np = "") {
            return PosologyChoice{QString::fromUtf8(q), QString::fromUtf8(n), QString::fromUtf8(h),
                                  QString::fromUtf8(p), QString::fromUtf8(r), QString::fromUtf8(np)};
        };
        QTest::newRow("every part but renewal")
            << "AMOXICILLINE 1 g" << chosen("1 flacon", "2 cps", "matin et soir", "pendant 8 jours") << ""
            << QStringList{"- AMOXICILLINE 1 g: 1 flacon ", "", "2 cps matin et soir pendant 8 jours", "", ""};
        QTest::newRow("only the drug") << "DOLIPRANE" << PosologyChoice() << ""
                                       << QStringList{"- DOLIPRANE ", "", "  ", "", ""};
        QTest::newRow("usual posology replaces dose and time")
            << "LEXOMIL" << chosen("", "1 gtte", "le matin", "pendant 1 mois") << "1 cp le soir"
            << QStringList{"- LEXOMIL ", "", "1 cp le soir pendant 1 mois", "", ""};
        QTest::newRow("usual posology without period")
            << "LEXOMIL" << PosologyChoice() << "1 cp le soir" << QStringList{"- LEXOMIL ", "", "1 cp le soir ", "", ""};
        QTest::newRow("do not renew after the quantity")
            << "STILNOX" << chosen("qsp 3 mois", "", "", "", "2 fois", "ne pas renouveler") << ""
            << QStringList{"- STILNOX: qsp 3 mois ne pas renouveler", "", "  ", "", ""};
        QTest::newRow("no name") << "" << PosologyChoice() << "" << QStringList{"-  ", "", "  ", "", ""};
    }
    void block()
    {
        QFETCH(QString, drug);
        QFETCH(PosologyChoice, choice);
        QFETCH(QString, usual);
        QFETCH(QStringList, lines);
        QCOMPARE(drugBlock(drug, choice, usual), lines);
    }

    void renewal()
    {
        QCOMPARE(renewalStatement(QStringLiteral("3 fois")), QStringLiteral("Ordonnance à renouveler: 3 fois"));
        QVERIFY(renewalStatement(QString()).isEmpty());
    }

    void drugNamesJoinWithALoneCarriageReturn()
    {
        QCOMPARE(withDrugLogged(QStringLiteral("Toux\r\n"), QStringLiteral("DOLIPRANE")),
                 QStringLiteral("Toux\r\n\rDOLIPRANE"));
        QCOMPARE(withDrugLogged(QString(), QString()), QStringLiteral("\r"));
    }

    void modelTextEndsEveryLine()
    {
        QCOMPARE(linesAsText({QStringLiteral("a"), QString()}), QStringLiteral("a\r\n\r\n"));
        QVERIFY(linesAsText({}).isEmpty());
    }

    void interaction_data()
    {
        QTest::addColumn<QStringList>("classes");
        QTest::addColumn<bool>("interact");
        QTest::newRow("A and B") << QStringList{"A", "", "B"} << true;
        QTest::newRow("lower-case b") << QStringList{"A", "b"} << true;
        QTest::newRow("both lower case") << QStringList{"b", "a"} << true;
        QTest::newRow("only A, twice") << QStringList{"A", "A"} << false;
        QTest::newRow("AB is neither") << QStringList{"AB", "B"} << false;
        QTest::newRow("A B is neither") << QStringList{"A B", "A"} << false;
        QTest::newRow("blanks around count") << QStringList{" A", "B"} << false;
        QTest::newRow("nothing picked") << QStringList{} << false;
    }
    void interaction()
    {
        QFETCH(QStringList, classes);
        QFETCH(bool, interact);
        QCOMPARE(classesInteract(classes), interact);
    }

    void contraIndication_data()
    {
        QTest::addColumn<QString>("drug");
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("allergies");
        QTest::addColumn<bool>("refused");
        const QString history = QStringLiteral("HTA\r\nallergie PENICILLINE G\r\nasthme");
        QTest::newRow("named in a line") << "PENICILLINE G" << history << "" << true;
        QTest::newRow("another drug of the family") << "PENICILLINE V" << history << "" << false;
        QTest::newRow("letter case ignored") << "penicilline g" << history << "" << true;
        QTest::newRow("empty name") << "" << history << "" << false;
        QTest::newRow("empty texts") << "PENICILLINE G" << "" << "" << false;
        QTest::newRow("a name split by a line break") << "HTA asthme" << "HTA\r\nasthme" << "" << false;
        QTest::newRow("lone carriage returns") << "ASPIRINE" << "ulcère\rASPIRINE" << "" << true;
        QTest::newRow("far along a long line")
            << "ASPIRINE" << QString(QStringLiteral("x").repeated(300) + QStringLiteral(" ASPIRINE")) << "" << true;
        QTest::newRow("strength and form left out, on the allergies page")
            << "AMOXICILLINE 1 g" << "HTA" << "Allergie AMOXICILLINE" << true;
        QTest::newRow("accents ignored") << "ÉRYTHROMYCINE 500 mg cp" << "" << "allergie erythromycine" << true;
        QTest::newRow("whole words only") << "FER 80 mg" << "infarctus inférieur" << "" << false;
        QTest::newRow("a name of several words") << "ACIDE ACETYLSALICYLIQUE 75 mg" << "intolérance à l'acide  acétylsalicylique" << "" << true;
        QTest::newRow("a name starting with a digit is taken whole") << "5 FLUOROURACILE" << "allergie FLUOROURACILE" << "" << false;
    }
    void contraIndication()
    {
        QFETCH(QString, drug);
        QFETCH(QString, history);
        QFETCH(QString, allergies);
        QFETCH(bool, refused);
        QCOMPARE(contraIndicated(drug, {history, allergies}), refused);
    }
};

QTEST_APPLESS_MAIN(TestDrugBlock)
#include "test_drugblock.moc"
