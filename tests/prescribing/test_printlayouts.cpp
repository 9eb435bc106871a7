#include "prescribing/certificatelayout.h"
#include "platform/textlines.h"
#include "prescribing/letterhead.h"
#include "prescribing/prescriptionlayout.h"
#include "prescribing/printcontext.h"
#include "support/recordingsurface.h"
#include "support/sampleprintsettings.h"

#include <QTest>
#include <limits>

using namespace orvane;
using namespace orvane::prescribing;
using Surface = orvane::test::RecordingSurface;

namespace {

const QString today = QStringLiteral("15/03/2006");
const QString upperHeading = QStringLiteral(
    "Prescriptions relatives au traitement de l'affection de longue durée reconnue (liste ou hors liste)");
const QString lowerHeading = QStringLiteral(
    "Prescriptions  sans relation avec l'affection de longue durée reconnue (liste ou hors liste)");
const QString renewal = QStringLiteral("Ordonnance à renouveler: 2 fois");

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(QStringLiteral("ligne %1").arg(i));
    return lines;
}

QList<int> ruleHeights(const Surface::Document &document)
{
    QList<int> heights;
    for (const Surface::Line &line : document.lines)
        heights.append(line.y1);
    return heights;
}

} // namespace


class TestPrintLayouts : public QObject
{
    Q_OBJECT

private slots:
    void coordinates_data()
    {
        QTest::addColumn<int>("espacement");
        QTest::addColumn<int>("intervalle");
        QTest::addColumn<int>("margeBas");
        QTest::addColumn<QList<int>>("got");
        QTest::addColumn<QList<int>>("expected");
        auto row = [](int espacement, int intervalle, int margeBas) {
            PrintSettings settings;
            settings.espacement = espacement;
            settings.intervalle = intervalle;
            settings.margeBas = margeBas;
            return PrintCoordinates(settings);
        };
        const PrintCoordinates wide = row(115, 115, 50);
        QTest::newRow("115 % truncates 229.99 to 229")
            << 115 << 115 << 50 << QList<int>{wide.x(200), wide.fromLeft(200), wide.fromRight(1900)}
            << QList<int>{229, 379, 2035};
        // Each row steps by a truncated step: T(ky·70) is 80, so row 10 is not T(ky·1600).
        QTest::newRow("rows step by the truncated step")
            << 115 << 115 << 50 << QList<int>{wide.row(1400, 60, 0), wide.row(900, 70, 10), wide.y(1600)}
            << QList<int>{1609, 1035 + 10 * 80, 1839};
        const PrintCoordinates tall = row(100, 150, 50);
        QTest::newRow("150 % interval") << 100 << 150 << 50 << QList<int>{tall.y(400), tall.foot(3700)}
                                        << QList<int>{600, 5350};
        const PrintCoordinates zero = row(100, 100, 0);
        QTest::newRow("no bottom margin") << 100 << 100 << 0 << QList<int>{zero.foot(3500)} << QList<int>{3500};
        const PrintCoordinates shrunk = row(-115, 100, 50);
        QTest::newRow("negative spacing truncates toward zero")
            << -115 << 100 << 50 << QList<int>{shrunk.x(200)} << QList<int>{-229};
        const PrintCoordinates absurd = row(std::numeric_limits<int>::max(), 100,
                                            std::numeric_limits<int>::max());
        QTest::newRow("absurd settings saturate")
            << 0 << 0 << 0
            << QList<int>{absurd.x(2800), absurd.fromLeft(2800), absurd.foot(3700)}
            << QList<int>{std::numeric_limits<int>::max(), std::numeric_limits<int>::max(),
                          std::numeric_limits<int>::min()};
    }
    void coordinates()
    {
        QFETCH(QList<int>, got);
        QFETCH(QList<int>, expected);
        QCOMPARE(got, expected);
    }

    void letterheadAtNormalScale()
    {
        Surface surface;
        PrintContext context(surface, test::samplePrintSettings(100, 100), today);
        surface.beginDocument({});
        Entete(context);
        Aga(context);
        surface.endDocument();
        const Surface::Document &page = surface.documents().first();
        const PrintSettings &s = context.settings();
        QCOMPARE(page.textsInOrder(),
                 (QStringList{s.identifiant, s.ville, s.diplome, s.residence, QStringLiteral("_____"),
                              s.securite, s.telephone, QStringLiteral(" GENERALISTE "),
                              QStringLiteral("Le: 15/03/2006"), QStringLiteral("_____"), s.libre1, s.libre2,
                              agaStatement}));
        const Surface::Text date = page.only(QStringLiteral("Le: 15/03/2006"));
        QCOMPARE(QPoint(date.x, date.y), QPoint(1950, 400));
        QCOMPARE(date.font, regular(10));
        const Surface::Text aga = page.only(agaStatement);
        QCOMPARE(QPoint(aga.x, aga.y), QPoint(400, 3500));
        QCOMPARE(aga.font, italic(8));
        QCOMPARE(page.only(s.libre1).font, italic(7));
        QCOMPARE(page.only(s.identifiant).font, bold(12));
        QCOMPARE(page.only(s.telephone).y, 300);
        QCOMPARE(page.find(QStringLiteral("_____")).last().y, 400);
    }

    void letterheadLinesAreCentredOnTheirReference_data()
    {
        QTest::addColumn<int>("widthOverReference");
        QTest::addColumn<int>("nameX");
        QTest::addColumn<int>("townX");
        QTest::newRow("as wide") << 0 << 280 << 1750;
        QTest::newRow("11 units wider starts 5 units left") << 11 << 275 << 1745;
        QTest::newRow("11 units narrower starts 5 units right") << -11 << 285 << 1755;
        QTest::newRow("100 units wider") << 100 << 230 << 1700;
    }
    void letterheadLinesAreCentredOnTheirReference()
    {
        QFETCH(int, widthOverReference);
        QFETCH(int, nameX);
        QFETCH(int, townX);
        Surface surface;
        PrintContext context(surface, test::samplePrintSettings(100, 100), today);
        surface.fixWidth(reference::identifiant, 600);
        surface.fixWidth(context.settings().identifiant, 600 + widthOverReference);
        surface.fixWidth(reference::ville, 300);
        surface.fixWidth(context.settings().ville, 300 + widthOverReference);
        surface.beginDocument({});
        Entete(context);
        surface.endDocument();
        const Surface::Document &page = surface.documents().first();
        QCOMPARE(page.only(context.settings().identifiant).x, nameX);
        QCOMPARE(page.only(context.settings().ville).x, townX);
    }

    void anEmptyFreeLineKeepsTheNextInPlace()
    {
        Surface surface;
        PrintSettings settings = test::samplePrintSettings(100, 100);
        settings.libre1.clear();
        PrintContext context(surface, settings, today);
        surface.beginDocument({});
        Entete(context);
        surface.endDocument();
        const Surface::Document &page = surface.documents().first();
        QCOMPARE(page.only(settings.libre2).y, 520);
        QCOMPARE(page.only(settings.libre2).x, 355);
        QCOMPARE(surface.currentFont(), italic(7));
    }

    void agaStatementFollowsMembership_data()
    {
        QTest::addColumn<int>("aga");
        QTest::addColumn<int>("statements");
        QTest::newRow("member") << 0 << 1;
        QTest::newRow("not a member") << 1 << 0;
        QTest::newRow("nothing chosen") << -1 << 0;
    }
    void agaStatementFollowsMembership()
    {
        QFETCH(int, aga);
        QFETCH(int, statements);
        Surface surface;
        PrintSettings settings = test::samplePrintSettings(100, 100);
        settings.aga = aga;
        printCertificate(PrintContext(surface, settings, today), QStringLiteral("DUPONT Jean"), {});
        QCOMPARE(surface.documents().first().find(agaStatement).size(), statements);
    }

    void plainPrescription_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("renewal");
        QTest::addColumn<int>("jobs");
        QTest::newRow("two drugs") << QStringList{"DOLIPRANE 500", "1 cp matin midi et soir"} << QString() << 1;
        QTest::newRow("renewable") << QStringList{"DOLIPRANE 500"} << renewal << 2;
        QTest::newRow("separator as an ordinary line")
            << QStringList{"A", zoneSeparator, "B"} << QString() << 1;
        QTest::newRow("empty text") << QStringList{} << QString() << 1;
    }
    void plainPrescription()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, renewal);
        QFETCH(int, jobs);
        Surface surface;
        printPlainPrescription(PrintContext(surface, test::samplePrintSettings(115, 150), today),
                               {QStringLiteral("DUPONT Jean"), lines, renewal});
        QCOMPARE(surface.documents().size(), jobs);
        QVERIFY(!surface.documentOpen());
        for (int job = 0; job < jobs; ++job) {
            const Surface::Document &page = surface.documents().at(job);
            const Surface::Text name = page.only(QStringLiteral("DUPONT Jean"));
            QCOMPARE(QPoint(name.x, name.y), QPoint(1437, 1500));
            QCOMPARE(name.font, boldUnderlined(10));
            for (int i = 0; i < lines.size(); ++i) {
                const Surface::Text line = page.find(lines.at(i)).value(0);
                QCOMPARE(QPoint(line.x, line.y), QPoint(229 + 150, 2100 + i * 90));
                QCOMPARE(line.font, regular(12));
            }
            QCOMPARE(page.texts.size(), 12 + 1 + lines.size() + 1 + (renewal.isEmpty() ? 0 : 1) + job);
            QCOMPARE(page.find(agaStatement).size(), 1);
            if (!renewal.isEmpty()) {
                const Surface::Text statement = page.only(renewal);
                QCOMPARE(QPoint(statement.x, statement.y), QPoint(1380, 5250 - 200));
                QCOMPARE(statement.font, bold(10));
            }
            // The duplicate's mark stays at the fixed place of the sheet.
            const QList<Surface::Text> marks = page.find(QStringLiteral("DUPLICATA"));
            QCOMPARE(marks.size(), job == 1 ? 1 : 0);
            if (job == 1) {
                QCOMPARE(QPoint(marks.first().x, marks.first().y), QPoint(1250, 1200));
                QCOMPARE(marks.first().font, boldItalic(18));
            }
            QVERIFY(page.lines.isEmpty());
        }
    }

    void aThousandLinesStayOnOnePage()
    {
        Surface surface;
        const QStringList lines = numberedLines(1000);
        printPlainPrescription(PrintContext(surface, test::samplePrintSettings(100, 100), today),
                               {QStringLiteral("DUPONT Jean"), lines, QString()});
        QCOMPARE(surface.documents().size(), 1);
        const Surface::Text last = surface.documents().first().only(QStringLiteral("ligne 999"));
        QCOMPARE(last.y, 1400 + 999 * 60);
    }

    void longTermIllnessZones_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<int>>("upperRows");
        QTest::addColumn<QList<int>>("lowerRows");
        QTest::addColumn<QList<int>>("rules");
        QTest::addColumn<int>("lowerHeadingY");
        QTest::newRow("no separator") << QStringList{"A", "B", "C"} << QList<int>{900, 970, 1040} << QList<int>{}
                                      << QList<int>{600, 800} << -1;
        QTest::newRow("separator fourth") << QStringList{"A", "B", "C", zoneSeparator, "D", "E"}
                                          << QList<int>{900, 970, 1040} << QList<int>{1510, 1580}
                                          << QList<int>{600, 800, 1160, 1340} << 1230;
        QTest::newRow("separator last") << QStringList{"A", zoneSeparator} << QList<int>{900} << QList<int>{}
                                        << QList<int>{600, 800, 1020, 1200} << 1090;
        QTest::newRow("separator only") << QStringList{zoneSeparator} << QList<int>{} << QList<int>{}
                                        << QList<int>{600, 800, 950, 1130} << 1020;
    }
    void longTermIllnessZones()
    {
        QFETCH(QStringList, lines);
        QFETCH(QList<int>, upperRows);
        QFETCH(QList<int>, lowerRows);
        QFETCH(QList<int>, rules);
        QFETCH(int, lowerHeadingY);
        Surface surface;
        printLongTermIllnessPrescription(PrintContext(surface, test::samplePrintSettings(100, 100), today),
                                         {QStringLiteral("DUPONT Jean"), lines, QString()});
        QCOMPARE(surface.documents().size(), 2);
        for (const Surface::Document &page : surface.documents()) {
            QCOMPARE(ruleHeights(page), rules);
            for (const Surface::Line &line : page.lines)
                QCOMPARE(QPoint(line.x1, line.x2), QPoint(280, 2650));
            const Surface::Text heading = page.only(upperHeading);
            QCOMPARE(QPoint(heading.x, heading.y), QPoint(450, 670));
            QCOMPARE(heading.font, bold(10));
            QCOMPARE(page.find(lowerHeading).size(), lowerHeadingY < 0 ? 0 : 1);
            if (lowerHeadingY >= 0)
                QCOMPARE(page.only(lowerHeading).y, lowerHeadingY);
            QList<int> upper;
            QList<int> lower;
            for (const Surface::Text &text : page.texts) {
                if (text.text.size() != 1)
                    continue;
                QCOMPARE(text.x, 300);
                QCOMPARE(text.font, regular(10));
                (text.text < QStringLiteral("D") ? upper : lower).append(text.y);
            }
            QCOMPARE(upper, upperRows);
            QCOMPARE(lower, lowerRows);
            QVERIFY(page.find(zoneSeparator).isEmpty());
            QVERIFY(page.find(QStringLiteral("DUPONT Jean")).isEmpty());
            QCOMPARE(page.find(agaStatement).size(), 1);
        }
        QVERIFY(surface.documents().at(0).find(QStringLiteral("DUPLICATA")).isEmpty());
        const Surface::Text mark = surface.documents().at(1).only(QStringLiteral("DUPLICATA"));
        QCOMPARE(QPoint(mark.x, mark.y), QPoint(1400, 550));
        QCOMPARE(mark.font, boldItalic(14));
    }

    void longTermIllnessWithSeveralSeparatorsAndRenewal()
    {
        Surface surface;
        const QStringList lines{"A", zoneSeparator, "B", zoneSeparator, "C"};
        printLongTermIllnessPrescription(PrintContext(surface, test::samplePrintSettings(100, 150), today),
                                         {QString(), lines, renewal});
        for (const Surface::Document &page : surface.documents()) {
            // Only the last separator splits; an earlier one prints in the upper zone.
            QCOMPARE(page.find(zoneSeparator).size(), 1);
            QCOMPARE(page.only(zoneSeparator).y, 1350 + 105);
            QCOMPARE(page.only(QStringLiteral("C")).y, 1845 + 4 * 105);
            QCOMPARE(ruleHeights(page).mid(2), (QList<int>{(70 * 3 + 950) * 3 / 2, (70 * 3 + 1130) * 3 / 2}));
            const Surface::Text statement = page.only(renewal);
            QCOMPARE(QPoint(statement.x, statement.y), QPoint(1350, 5250 - 200));
        }
    }

    void certificate_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty text") << QStringList{};
        QTest::newRow("two lines") << QStringList{"Apte au sport", "sans contre-indication"};
    }
    void certificate()
    {
        QFETCH(QStringList, lines);
        Surface surface;
        printCertificate(PrintContext(surface, test::samplePrintSettings(100, 150), today), QStringLiteral("DUPONT Jean"), lines);
        QCOMPARE(surface.documents().size(), 1);
        const Surface::Document &page = surface.documents().first();
        const QStringList body = page.textsInOrder().mid(12);
        QStringList expected{
            QStringLiteral("Je soussigné Docteur Anne DURAND Déclare avoir examiné M(me) DUPONT Jean"),
            QStringLiteral(" et constaté ce qui suit:")};
        expected += lines;
        expected += QStringList{
            QStringLiteral("Certificat fait à la demande de l'intéressé(e) et remis en main propre"),
            QStringLiteral("pour faire valoir ce que de droit."), agaStatement};
        QCOMPARE(body, expected);
        QList<int> heights;
        for (const Surface::Text &text : page.texts.mid(12, body.size() - 1)) {
            QCOMPARE(text.x, 350);
            QCOMPARE(text.font, regular(12));
            heights.append(text.y);
        }
        QList<int> expectedHeights{1950, 2055};
        for (int i = 0; i < lines.size(); ++i)
            expectedHeights.append(2400 + i * 105);
        expectedHeights += QList<int>{5325 - 200, 5430 - 200};
        QCOMPARE(heights, expectedHeights);
    }
};

QTEST_MAIN(TestPrintLayouts)
#include "test_printlayouts.moc"
