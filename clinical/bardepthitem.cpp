#include "clinical/bardepthitem.h"

#include "clinical/chartdata.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFontInfo>
#include <QPainter>
#include <cmath>
#include <limits>

namespace orvane::clinical {

namespace {

// The depth is three tenths of a position's width, kept small enough to read the values beside it.
constexpr qreal depthShare = 0.3;
constexpr qreal largestDepth = 20;
// Below this a relief is no longer seen.
constexpr qreal smallestDepth = 2;
// Bars narrower than this are drawn without their outline, which would hide their colour.
constexpr qreal outlinedWidth = 4;

QPolygonF topFace(const QRectF &front, qreal depth)
{
    return QPolygonF({front.topLeft(), front.topRight(), front.topRight() + QPointF(depth, -depth),
                      front.topLeft() + QPointF(depth, -depth)});
}

QPolygonF sideFace(const QRectF &front, qreal depth)
{
    return QPolygonF({front.topRight(), front.bottomRight(), front.bottomRight() + QPointF(depth, -depth),
                      front.topRight() + QPointF(depth, -depth)});
}

} // namespace

BarBox barBox(int category, int set, int setCount, qreal barWidth, qreal value, const QPointF &origin,
              const QPointF &unit)
{
    const qreal left = category - barWidth / 2 + qreal(set) / setCount * barWidth;
    const qreal right = category - barWidth / 2 + qreal(set + 1) / setCount * barWidth;
    const QPointF valueCorner(origin.x() + left * unit.x(), origin.y() + value * unit.y());
    const QPointF baseCorner(origin.x() + right * unit.x(), origin.y());
    const qreal depth = std::min(std::abs(unit.x()) * depthShare, largestDepth);
    return BarBox{QRectF(valueCorner, baseCorner).normalized(), depth < smallestDepth ? 0 : depth};
}

BarDepthItem::BarDepthItem(QChart *chart, QBarSeries *series)
    : QGraphicsItem(chart)
    , m_chart(chart)
    , m_series(series)
{
    // Above the series and the axes; the legend, which would come higher, is never shown.
    setZValue(1000);
}

void BarDepthItem::setMarksShown(bool shown)
{
    m_marksShown = shown;
    update();
}

QRectF BarDepthItem::boundingRect() const
{
    return m_chart->rect();
}

void BarDepthItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const QList<QBarSet *> sets = m_series->barSets();
    if (sets.isEmpty() || m_series->chart() != m_chart)
        return;
    const QPointF origin = m_chart->mapToPosition(QPointF(0, 0), m_series);
    const QPointF unit = m_chart->mapToPosition(QPointF(1, 1), m_series) - origin;
    const int setCount = int(sets.size());

    painter->save();
    painter->setClipRect(m_chart->plotArea());
    if (std::abs(unit.x()) * m_series->barWidth() / setCount < 1)
        paintColumns(*painter, origin, unit);
    else
        paintBoxes(*painter, origin, unit);
    painter->restore();

    if (!m_marksShown)
        return;
    painter->save();
    // Sized in the chart's own units, so a printed chart keeps its proportions.
    QFont font = m_chart->font();
    font.setPixelSize(QFontInfo(font).pixelSize());
    painter->setFont(font);
    for (int s = 0; s < setCount; ++s) {
        QBarSet *set = sets.at(s);
        for (int category = 0; category < set->count(); ++category)
            paintMark(*painter, barBox(category, s, setCount, m_series->barWidth(), set->at(category), origin, unit),
                      set->at(category));
    }
    painter->restore();
}

void BarDepthItem::paintBoxes(QPainter &painter, const QPointF &origin, const QPointF &unit) const
{
    const QList<QBarSet *> sets = m_series->barSets();
    const int setCount = int(sets.size());
    int categories = 0;
    for (const QBarSet *set : sets)
        categories = std::max(categories, int(set->count()));
    for (int category = 0; category < categories; ++category) {
        for (int s = 0; s < setCount; ++s) {
            QBarSet *set = sets.at(s);
            if (category >= set->count())
                continue;
            const BarBox box = barBox(category, s, setCount, m_series->barWidth(), set->at(category), origin, unit);
            painter.setPen(box.front.width() >= outlinedWidth ? QPen(Qt::black, 1) : Qt::NoPen);
            if (box.depth > 0) {
                painter.setBrush(set->color().darker(130));
                painter.drawPolygon(topFace(box.front, box.depth));
                painter.setBrush(set->color().darker(170));
                painter.drawPolygon(sideFace(box.front, box.depth));
            }
            painter.setBrush(set->color());
            painter.drawRect(box.front);
        }
    }
}

// Bars thinner than a pixel: each pixel column is drawn once, as high as the highest of its bars,
// rather than as whichever bar the rasterizer happens to hit.
void BarDepthItem::paintColumns(QPainter &painter, const QPointF &origin, const QPointF &unit) const
{
    const QRectF plot = m_chart->plotArea();
    const int columns = int(std::ceil(plot.width())) + 1;
    const QList<QBarSet *> sets = m_series->barSets();
    const int setCount = int(sets.size());
    painter.setPen(Qt::NoPen);
    for (int s = 0; s < setCount; ++s) {
        QBarSet *set = sets.at(s);
        QList<qreal> tops(columns, std::numeric_limits<qreal>::infinity());
        QList<qreal> bottoms(columns, -std::numeric_limits<qreal>::infinity());
        for (int category = 0; category < set->count(); ++category) {
            const QRectF front =
                barBox(category, s, setCount, m_series->barWidth(), set->at(category), origin, unit).front;
            const int column = int(std::floor(front.left() - plot.left()));
            if (column < 0 || column >= columns)
                continue;
            tops[column] = std::min(tops.at(column), front.top());
            bottoms[column] = std::max(bottoms.at(column), front.bottom());
        }
        painter.setBrush(set->color());
        for (int column = 0; column < columns; ++column) {
            if (tops.at(column) <= bottoms.at(column))
                painter.drawRect(QRectF(plot.left() + column, tops.at(column), 1, bottoms.at(column) - tops.at(column)));
        }
    }
}

void BarDepthItem::paintMark(QPainter &painter, const BarBox &box, qreal value) const
{
    const QString text = valueMark(value);
    const QFontMetricsF metrics(painter.font());
    const QSizeF size(metrics.horizontalAdvance(text) + 6, metrics.height() + 2);
    // From the middle of the bar's top, or of its bottom for a value below zero.
    const bool below = value < 0;
    const QPointF start(box.front.center().x() + box.depth / 2,
                        below ? box.front.bottom() : box.front.top() - box.depth / 2);
    const QPointF end = start + QPointF(0, below ? markLineLength : -markLineLength);
    const QRectF label(QPointF(end.x() - size.width() / 2, below ? end.y() : end.y() - size.height()), size);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(start, end);
    painter.setBrush(QColor(255, 255, 225));
    painter.drawRect(label);
    painter.drawText(label, Qt::AlignCenter, text);
}

} // namespace orvane::clinical
