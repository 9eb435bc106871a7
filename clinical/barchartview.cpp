#include "clinical/barchartview.h"

#include "clinical/bardepthitem.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QSet>
#include <QValueAxis>
#include <cmath>

namespace orvane::clinical {

namespace {

const QColor silver(192, 192, 192);
// Room above the highest bar (below the lowest) for its relief and its value mark.
constexpr qreal markRoom = 0.25;
// More than the axis keeps on both sides of a date label.
constexpr int labelPadding = 16;

// A step of 1, 2 or 5 times a power of ten that cuts the span into about five.
qreal niceStep(qreal span)
{
    const qreal rough = span / 5;
    const qreal power = std::pow(qreal(10), std::floor(std::log10(rough)));
    for (const qreal factor : {1, 2, 5}) {
        if (rough <= factor * power)
            return factor * power;
    }
    return 10 * power;
}

QList<qreal> valuesOf(const QList<ChartBar> &bars)
{
    QList<qreal> values;
    values.reserve(bars.size());
    for (const ChartBar &bar : bars)
        values.append(bar.value);
    return values;
}

QBarSet *newSeries(const QString &name, const QColor &colour, QObject *parent)
{
    auto *set = new QBarSet(name, parent);
    set->setObjectName(name);
    set->setColor(colour);
    set->setBorderColor(Qt::black);
    return set;
}

} // namespace

BarChartView::BarChartView(QWidget *parent)
    : QChartView(parent)
    , m_chart(new QChart)
    , m_series(new QBarSeries(m_chart))
    , m_first(newSeries(QStringLiteral("Series1"), firstSeriesColour, this))
    , m_second(newSeries(QStringLiteral("Series2"), secondSeriesColour, this))
    , m_dates(new QCategoryAxis(m_chart))
    , m_values(new QValueAxis(m_chart))
{
    setObjectName(QStringLiteral("Chart1"));
    setRenderHint(QPainter::Antialiasing, false);
    setChart(m_chart);

    QLinearGradient background(0, 0, 0, 1);
    background.setCoordinateMode(QGradient::ObjectBoundingMode);
    background.setColorAt(0, Qt::white);
    background.setColorAt(1, silver);
    m_chart->setBackgroundBrush(background);
    m_chart->setBackgroundRoundness(0);
    m_chart->setPlotAreaBackgroundBrush(Qt::white);
    m_chart->setPlotAreaBackgroundVisible(true);
    m_chart->legend()->hide();
    QFont titleFont = m_chart->titleFont();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    m_chart->setTitleFont(titleFont);

    m_series->setBarWidth(0.6);
    m_series->append(m_first);
    m_chart->addSeries(m_series);

    m_dates->setTitleText(QStringLiteral("Dates"));
    m_dates->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_dates->setGridLineVisible(false);
    m_dates->setStartValue(-0.5);
    m_values->setLabelFormat(QStringLiteral("%g"));
    m_chart->addAxis(m_dates, Qt::AlignBottom);
    m_chart->addAxis(m_values, Qt::AlignLeft);
    m_series->attachAxis(m_dates);
    m_series->attachAxis(m_values);

    // The depth item draws every bar in relief: the series' own flat bars would only lie under it.
    m_series->setVisible(false);
    m_depth = new BarDepthItem(m_chart, m_series);
    connect(m_chart, &QChart::plotAreaChanged, this, [this] {
        relabel(false);
        m_depth->update();
    });
    connect(m_chart, &QChart::geometryChanged, this, [this] { m_depth->followChart(); });
    fitValueAxis();
    relabel(true);
}

bool BarChartView::showsSecondSeries() const
{
    return m_series->barSets().contains(m_second);
}

bool BarChartView::showsMarks() const
{
    return m_depth->marksShown();
}

QStringList BarChartView::dateLabels() const
{
    QStringList labels;
    for (int bar : m_labelledBars)
        labels.append(m_barDates.at(bar));
    return labels;
}

void BarChartView::showChart(const ChartData &data)
{
    m_chart->setTitle(data.title);
    m_first->remove(0, int(m_first->count()));
    m_second->remove(0, int(m_second->count()));
    if (data.showsSecond && !showsSecondSeries()) {
        m_series->append(m_second);
    } else if (!data.showsSecond && showsSecondSeries()) {
        m_series->take(m_second);
        m_second->setParent(this);
    }
    m_first->append(valuesOf(data.first));
    m_second->append(valuesOf(data.second));
    m_barDates.clear();
    for (const ChartBar &bar : data.first)
        m_barDates.append(bar.label);
    fitValueAxis();
    relabel(true);
    m_depth->update();
}

void BarChartView::fitValueAxis()
{
    qreal lowest = 0;
    qreal highest = 0;
    for (const QBarSet *set : m_series->barSets()) {
        for (int i = 0; i < set->count(); ++i) {
            lowest = std::min(lowest, set->at(i));
            highest = std::max(highest, set->at(i));
        }
    }
    const int bars = std::max(1, int(m_first->count()));
    m_dates->setRange(-0.5, bars - 0.5);
    const qreal span = highest - lowest > 0 ? highest - lowest : 1;
    const qreal room = span * markRoom;
    const qreal step = niceStep(span + 2 * room);
    if (!std::isfinite(step) || !std::isfinite(highest + room) || !std::isfinite(lowest - room)) {
        // Values at the ends of the number range: no room and no round steps are left.
        m_values->setTickType(QValueAxis::TicksFixed);
        m_values->setRange(lowest, highest);
        return;
    }
    if (highest > 0 || lowest == 0)
        highest += room;
    if (lowest < 0)
        lowest -= room;
    m_values->setTickType(QValueAxis::TicksDynamic);
    m_values->setTickAnchor(0);
    m_values->setTickInterval(step);
    m_values->setRange(std::floor(lowest / step) * step, std::ceil(highest / step) * step);
}

// The dates are thinned out to what the axis can hold; the labels are rebuilt only when that
// number changes, since a new set of labels lays the chart out again.
void BarChartView::relabel(bool force)
{
    // The axis gives each of its labels an equal share of its width, one share more than it has
    // labels, with a padding on each side, and shortens a label that does not fit.
    const QFontMetrics metrics(m_dates->labelsFont());
    const int labelWidth = metrics.boundingRect(QStringLiteral("00/00/0000")).width() + labelPadding;
    const int capacity = std::max(1, labelsThatFit(int(m_chart->plotArea().width()), labelWidth) - 1);
    if (!force && capacity == m_labelCapacity)
        return;
    m_labelCapacity = capacity;
    const LabelThinning thinning = thinLabels(m_barDates, capacity);
    m_labelledBars = thinning.labelledBars;
    for (const QString &label : m_dates->categoriesLabels())
        m_dates->remove(label);
    // The axis keys its labels by their text: a date met again further on is made distinct by
    // characters of no width.
    QSet<QString> used;
    for (int bar : m_labelledBars) {
        QString label = m_barDates.at(bar);
        while (used.contains(label))
            label.append(QChar(0x200B));
        used.insert(label);
        m_dates->append(label, bar);
    }
    // An axis without a category is not laid out at all, and its caption lands in the corner.
    if (m_labelledBars.isEmpty())
        m_dates->append(QString(), 0);
    const int bars = std::max(1, int(m_first->count()));
    m_dates->setRange(-0.5, bars - 0.5);
    m_depth->setMarksShown(thinning.showsMarks);
}

void BarChartView::drawInto(QPainter &painter, const QRectF &area)
{
    // A chart changed just before is laid out again only by a pending request.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    render(&painter, area, viewport()->rect());
}

} // namespace orvane::clinical
