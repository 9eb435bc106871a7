#pragma once

#include "clinical/chartdata.h"

#include <QChartView>

QT_BEGIN_NAMESPACE
class QBarSeries;
class QBarSet;
class QCategoryAxis;
class QValueAxis;
QT_END_NAMESPACE

namespace orvane::clinical {

class BarDepthItem;

// The bar chart of the statistics tab: one bar per entry of a value list, labelled with its date,
// a first (blue) series and a second (red) one beside it, in relief, with the value of each bar.
class BarChartView : public QChartView
{
    Q_OBJECT

public:
    explicit BarChartView(QWidget *parent = nullptr);

    // Replaces the bars and the title by those of a built chart; the second series is shown only
    // when the chart uses it.
    void showChart(const ChartData &data);

    QBarSet *firstSeries() const { return m_first; }
    QBarSet *secondSeries() const { return m_second; }
    bool showsSecondSeries() const;
    // The dates written under the bars, and the bars they stand under.
    QStringList dateLabels() const;
    QList<int> labelledBars() const { return m_labelledBars; }
    bool showsMarks() const;
    QCategoryAxis *dateAxis() const { return m_dates; }
    QValueAxis *valueAxis() const { return m_values; }

    // The chart as shown, scaled into the area of a painter (a printed page).
    void drawInto(QPainter &painter, const QRectF &area);

private:
    void fitValueAxis();
    void relabel(bool force);

    QChart *m_chart;
    QBarSeries *m_series;
    QBarSet *m_first;
    QBarSet *m_second;
    QCategoryAxis *m_dates;
    QValueAxis *m_values;
    BarDepthItem *m_depth;
    QStringList m_barDates;
    QList<int> m_labelledBars;
    int m_labelCapacity = 0;
};

} // namespace orvane::clinical
