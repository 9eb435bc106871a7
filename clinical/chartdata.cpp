#include "clinical/chartdata.h"

#include "clinical/valuelist.h"

namespace orvane::clinical {

namespace {

const QString bilans = QStringLiteral("Choix");
const QString mesures = QStringLiteral("choix1");
const QString tension = QStringLiteral("choix2");

ChartChoice single(const QString &group, const QString &item, const QString &title, const QString &list)
{
    return ChartChoice{group, item, title, list, QString()};
}

// Appends the list's bars; false when a value stopped the reading.
bool addBars(QList<ChartBar> &bars, QString &error, const QString &list)
{
    const ValueListReading reading = readValueList(list);
    for (const ValueEntry &entry : reading.entries)
        bars.append(ChartBar{entry.value, entry.date, valueMark(entry.value)});
    error = reading.error;
    return error.isEmpty();
}

} // namespace

const QList<ChartGroup> &chartGroups()
{
    static const QList<ChartGroup> groups{
        {bilans,
         QStringLiteral("Bilans"),
         {QStringLiteral("GR"), QStringLiteral("GB"), QStringLiteral("Hb"), QStringLiteral("HbA1c"), QStringLiteral("VS"),
          QStringLiteral("TP"), QStringLiteral("Glyc."), QStringLiteral("Chol.")}},
        {mesures, QStringLiteral("Mesures"), {QStringLiteral("Poids"), QStringLiteral("Taille")}},
        {tension, QStringLiteral("Tension"), {QString()}},
    };
    return groups;
}

const QList<ChartChoice> &chartChoices()
{
    static const QList<ChartChoice> choices{
        single(bilans, QStringLiteral("GR"), QStringLiteral("Globules rouges (M/mm3)"), QStringLiteral("GR")),
        single(bilans, QStringLiteral("GB"), QStringLiteral("Globules blancs"), QStringLiteral("GB")),
        single(bilans, QStringLiteral("Hb"), QStringLiteral("Hémoglobine"), QStringLiteral("Hb")),
        single(bilans, QStringLiteral("HbA1c"), QStringLiteral("HbA1c (%)"), QStringLiteral("HbA1c")),
        single(bilans, QStringLiteral("VS"), QStringLiteral("VS"), QStringLiteral("VS")),
        single(bilans, QStringLiteral("TP"), QStringLiteral("TP (%)"), QStringLiteral("TP")),
        single(bilans, QStringLiteral("Glyc."), QStringLiteral("Glycémie (g/l)"), QStringLiteral("Glycémies")),
        single(bilans, QStringLiteral("Chol."), QStringLiteral("Cholestérol (g/l)"), QStringLiteral("Chol")),
        single(mesures, QStringLiteral("Poids"), QStringLiteral("Poids"), QStringLiteral("Poids")),
        single(mesures, QStringLiteral("Taille"), QStringLiteral("Taille"), QStringLiteral("Taille")),
        ChartChoice{tension, QString(), QStringLiteral("Tension Artérielle"), QStringLiteral("Max"), QStringLiteral("Min")},
    };
    return choices;
}

std::optional<ChartChoice> chartChoice(const QString &group, const QString &item)
{
    for (const ChartChoice &choice : chartChoices()) {
        if (choice.group == group && choice.item == item)
            return choice;
    }
    return std::nullopt;
}

QString valueMark(double value)
{
    // QString::number ignores the regional settings: the point stays whatever they say.
    return QString::number(value, 'g', 15);
}

ChartData buildChart(const ChartChoice &choice, const QString &firstList, const QString &secondList)
{
    ChartData chart;
    chart.title = choice.title;
    chart.showsSecond = !choice.secondValueList.isEmpty();
    if (addBars(chart.first, chart.error, firstList) && chart.showsSecond && !chart.first.isEmpty())
        addBars(chart.second, chart.error, secondList);
    return chart;
}

LabelThinning thinLabels(const QStringList &labels, int maxLabels)
{
    LabelThinning thinning;
    const int count = int(labels.size());
    maxLabels = qMax(1, maxLabels);
    thinning.stride = qMax(1, (count + maxLabels - 1) / maxLabels);
    thinning.showsMarks = thinning.stride == 1;
    for (int bar = 0; bar < count; bar += thinning.stride)
        thinning.labelledBars.append(bar);
    return thinning;
}

int labelsThatFit(int axisWidth, int labelWidth)
{
    return labelWidth > 0 ? qMax(1, axisWidth / labelWidth) : 1;
}

} // namespace orvane::clinical
