#include "clinical/chartdata.h"

#include <QTest>

using namespace orvane::clinical;

namespace {
const QString cr = QStringLiteral("\r");

QList<double> values(const QList<ChartBar> &bars)
{
    QList<double> result;
    for (const ChartBar &bar : bars)
        result.append(bar.value);
    return result;
}

QStringList labels(const QList<ChartBar> &bars)
{
    QStringList result;
    for (const ChartBar &bar : bars)
        result.append(bar.label);
    return result;
}
} // namespace

class TestChartData : public QObject
{
    Q_OBJECT

private slots:
    // Marks and values keep the point under settings whose decimal separator is a comma.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    void titles_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("second");
        QTest::newRow("GR") << "Choix" << "GR" << "Globules rouges (M/mm3)" << "GR" << "";
        QTest::newRow("GB") << "Choix" << "GB" << "Globules blancs" << "GB" << "";
        QTest::newRow("Hb") << "Choix" << "Hb" << "Hémoglobine" << "Hb" << "";
        QTest::newRow("HbA1c") << "Choix" << "HbA1c" << "HbA1c (%)" << "HbA1c" << "";
        QTest::newRow("VS") << "Choix" << "VS" << "VS" << "VS" << "";
        QTest::newRow("TP") << "Choix" << "TP" << "TP (%)" << "TP" << "";
        QTest::newRow("Glyc.") << "Choix" << "Glyc." << "Glycémie (g/l)" << "Glycémies" << "";
        QTest::newRow("Chol.") << "Choix" << "Chol." << "Cholestérol (g/l)" << "Chol" << "";
        QTest::newRow("Poids") << "choix1" << "Poids" << "Poids" << "Poids" << "";
        QTest::newRow("Taille") << "choix1" << "Taille" << "Taille" << "Taille" << "";
        QTest::newRow("Tension") << "choix2" << "" << "Tension Artérielle" << "Max" << "Min";
    }
    void titles()
    {
        QFETCH(QString, group);
        QFETCH(QString, item);
        QFETCH(QString, title);
        QFETCH(QString, list);
        QFETCH(QString, second);
        const auto choice = chartChoice(group, item);
        QVERIFY(choice);
        QCOMPARE(choice->title, title);
        QCOMPARE(choice->valueList, list);
        QCOMPARE(choice->secondValueList, second);
        bool offered = false;
        for (const ChartGroup &each : chartGroups())
            offered = offered || (each.objectName == group && each.items.contains(item));
        QVERIFY(offered);
    }

    void weightChart()
    {
        const ChartData chart = buildChart(*chartChoice(QStringLiteral("choix1"), QStringLiteral("Poids")),
                                           "08/12/2006" + cr + "72" + cr + "09/01/2007" + cr + "73.5" + cr, QString());
        QCOMPARE(chart.title, QStringLiteral("Poids"));
        QCOMPARE(values(chart.first), (QList<double>{72, 73.5}));
        QCOMPARE(labels(chart.first), (QStringList{"08/12/2006", "09/01/2007"}));
        QCOMPARE(chart.first.at(1).mark, QStringLiteral("73.5"));
        QVERIFY(!chart.showsSecond);
        QVERIFY(chart.error.isEmpty());
    }

    void emptyListGivesTheTitleOnly()
    {
        const ChartData chart = buildChart(*chartChoice(QStringLiteral("Choix"), QStringLiteral("TP")), QString(), QString());
        QCOMPARE(chart.title, QStringLiteral("TP (%)"));
        QVERIFY(chart.first.isEmpty());
        QVERIFY(chart.error.isEmpty());
    }

    void bloodPressure_data()
    {
        QTest::addColumn<QString>("max");
        QTest::addColumn<QString>("min");
        QTest::addColumn<int>("blue");
        QTest::addColumn<int>("red");
        QTest::addColumn<QString>("error");
        const QString three = "a" + cr + "13" + cr + "b" + cr + "14" + cr + "c" + cr + "12.5" + cr;
        const QString threeLow = "a" + cr + "8" + cr + "b" + cr + "9" + cr + "c" + cr + "7" + cr;
        QTest::newRow("three pairs") << three << threeLow << 3 << 3 << "";
        QTest::newRow("bad systolic: no diastolic bars")
            << "a" + cr + "13" + cr + "b" + cr + "14/8" + cr << threeLow << 1 << 0
            << "'14/8' n'est pas une valeur en virgule flottante correcte";
        QTest::newRow("bad diastolic: bars before it stay")
            << three << "a" + cr + "8" + cr + "b" + cr + "9,5" + cr << 3 << 1
            << "'9,5' n'est pas une valeur en virgule flottante correcte";
    }
    void bloodPressure()
    {
        QFETCH(QString, max);
        QFETCH(QString, min);
        QFETCH(int, blue);
        QFETCH(int, red);
        QFETCH(QString, error);
        const ChartData chart = buildChart(*chartChoice(QStringLiteral("choix2"), QString()), max, min);
        QVERIFY(chart.showsSecond);
        QCOMPARE(chart.first.size(), blue);
        QCOMPARE(chart.second.size(), red);
        QCOMPARE(chart.error, error);
    }

    void labelThinning_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("maxLabels");
        QTest::addColumn<int>("stride");
        QTest::addColumn<int>("labelled");
        QTest::addColumn<bool>("marks");
        QTest::newRow("few bars, all labelled") << 5 << 20 << 1 << 5 << true;
        QTest::newRow("one too many") << 21 << 20 << 2 << 11 << false;
        QTest::newRow("ten thousand") << 10000 << 25 << 400 << 25 << false;
        QTest::newRow("no room at all") << 10000 << 0 << 10000 << 1 << false;
    }
    void labelThinning()
    {
        QFETCH(int, count);
        QFETCH(int, maxLabels);
        QFETCH(int, stride);
        QFETCH(int, labelled);
        QFETCH(bool, marks);
        QStringList dates;
        for (int i = 0; i < count; ++i)
            dates.append(QDate(2000, 1, 1).addDays(i).toString(QStringLiteral("dd/MM/yyyy")));
        const LabelThinning thinning = thinLabels(dates, maxLabels);
        QCOMPARE(thinning.stride, stride);
        QCOMPARE(thinning.labelledBars.size(), labelled);
        QCOMPARE(thinning.showsMarks, marks);
        QVERIFY(thinning.labelledBars.size() <= qMax(1, maxLabels));
        for (int i = 0; i < thinning.labelledBars.size(); ++i)
            QCOMPARE(thinning.labelledBars.at(i), i * stride);
    }

    void twoResultsOfOneDayEachCarryTheDate()
    {
        const LabelThinning thinning = thinLabels({"08/12/2006", "08/12/2006", "09/12/2006"}, 10);
        QCOMPARE(thinning.labelledBars, (QList<int>{0, 1, 2}));
    }

};

QTEST_GUILESS_MAIN(TestChartData)
#include "test_chartdata.moc"
