#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvane::clinical {

// An item of the statistics tab's choice groups and what it charts.
struct ChartChoice
{
    QString group; // objectName of the choice group: "Choix", "choix1", "choix2"
    QString item; // the item's caption
    QString title;
    QString valueList; // field of the measures table, drawn as the first (blue) series
    QString secondValueList; // drawn as the second (red) series beside it; empty for one series
};

// The choice groups with their captions and items, in their order on the tab.
struct ChartGroup
{
    QString objectName;
    QString caption;
    QStringList items;
};
const QList<ChartGroup> &chartGroups();

const QList<ChartChoice> &chartChoices();
std::optional<ChartChoice> chartChoice(const QString &group, const QString &item);

struct ChartBar
{
    double value = 0;
    QString label; // the entry's date
    QString mark; // the value as the bar's mark shows it
};

// What a chart shows once built from the patient's value lists.
struct ChartData
{
    QString title;
    QList<ChartBar> first;
    QList<ChartBar> second;
    bool showsSecond = false;
    // The message for the first value that is not a number; the bars before it stay.
    QString error;
};

inline const QColor firstSeriesColour{0, 0, 255};
inline const QColor secondSeriesColour{255, 0, 0};

// Builds the bars of a choice: the second list is read only when the first gave bars without
// fault. Values are read, and marked, with a decimal point whatever the regional settings.
ChartData buildChart(const ChartChoice &choice, const QString &firstList, const QString &secondList);

// A value as a bar's mark shows it: with a point, shortest exact form ("73.5", "72").
QString valueMark(double value);

// Date labels thinned out so that a long list stays readable: every stride-th bar from the first
// is labelled, at most maxLabels of them; two bars of one day each carry the date, so that neither
// reads as undated. Value marks are shown only when every bar has room for its label.
struct LabelThinning
{
    int stride = 1;
    bool showsMarks = true;
    QList<int> labelledBars;
};
LabelThinning thinLabels(const QStringList &labels, int maxLabels);

// How many labels fit on an axis of the given width.
int labelsThatFit(int axisWidth, int labelWidth);

} // namespace orvane::clinical
