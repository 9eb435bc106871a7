#pragma once

#include <QString>
#include <QStringList>

class QPainter;
class QRectF;

namespace orvane::clinical {

// What identifies a printed chart: whose values it shows, which value, and the day it was printed.
struct ChartHeading
{
    QString patientName;
    QString title;
    QString printDate;

    // The lines printed above the chart: the name, then the value charted and the day.
    QStringList lines() const;
};

// Draws the heading at the top of a printed page (coordinates in pageUnitsPerInch) and returns the
// part of the page left below it for the chart.
QRectF drawChartHeading(QPainter &painter, const QRectF &page, const ChartHeading &heading);

} // namespace orvane::clinical
