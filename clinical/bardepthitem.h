#pragma once

#include <QGraphicsItem>
#include <QRectF>

QT_BEGIN_NAMESPACE
class QBarSeries;
class QChart;
QT_END_NAMESPACE

namespace orvane::clinical {

// Where a bar stands on the chart and how deep it is drawn.
struct BarBox
{
    QRectF front;
    qreal depth = 0; // the top and the side recede by this much to the right and upwards
};

// The bars of one category axis position `category`, `set` of `setCount` side by side, spread
// over `barWidth` of the position, as the bar series lays them out. The mapping from values to
// the chart is given by the chart position of the value origin and of one unit on each axis.
BarBox barBox(int category, int set, int setCount, qreal barWidth, qreal value, const QPointF &origin,
              const QPointF &unit);

// Draws the bars of a series in relief over the flat ones of the chart: each bar gets a darker
// top and side, the bars from left to right so a bar hides the side of the one before it, then
// the value mark of each bar on a line 20 pixels long.
class BarDepthItem : public QGraphicsItem
{
public:
    static constexpr qreal markLineLength = 20;

    BarDepthItem(QChart *chart, QBarSeries *series);

    void setMarksShown(bool shown);
    // The chart was resized: the item covers it again.
    void followChart() { prepareGeometryChange(); }
    bool marksShown() const { return m_marksShown; }

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    void paintBoxes(QPainter &painter, const QPointF &origin, const QPointF &unit) const;
    void paintColumns(QPainter &painter, const QPointF &origin, const QPointF &unit) const;
    void paintMark(QPainter &painter, const BarBox &box, qreal value) const;

    QChart *m_chart;
    QBarSeries *m_series;
    bool m_marksShown = true;
};

} // namespace orvane::clinical
