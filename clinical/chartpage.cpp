#include "clinical/chartpage.h"

#include "platform/pageprinter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>

namespace orvane::clinical {

namespace {

QFont headingFont(int points, bool bold)
{
    QFont font(QStringLiteral("Times New Roman"));
    // The painter draws in page units, not in the device's pixels: the size is given in those units.
    font.setPixelSize(points * pageUnitsPerInch / 72);
    font.setBold(bold);
    return font;
}

} // namespace

QStringList ChartHeading::lines() const
{
    return {patientName, QStringLiteral("%1 : graphique imprimé le %2").arg(title, printDate)};
}

QRectF drawChartHeading(QPainter &painter, const QRectF &page, const ChartHeading &heading)
{
    const QStringList lines = heading.lines();
    qreal top = page.top();
    for (int i = 0; i < lines.size(); ++i) {
        const QFont font = headingFont(i == 0 ? 14 : 11, i == 0);
        const qreal height = QFontMetricsF(font).height();
        painter.save();
        painter.setFont(font);
        painter.drawText(QRectF(page.left(), top, page.width(), height), Qt::AlignLeft | Qt::AlignVCenter,
                         lines.at(i));
        painter.restore();
        top += height;
    }
    // A blank of one line between the heading and the chart.
    top += QFontMetricsF(headingFont(11, false)).height();
    return QRectF(page.left(), top, page.width(), page.bottom() - top);
}

} // namespace orvane::clinical
