#include "prescribing/printfont.h"

#include <QFontMetricsF>
#include <QImage>

namespace orvane::prescribing {

namespace {

// A paint device at the device units to measure on, whatever the screen is.
const QPaintDevice &measuringDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        const int dotsPerMeter = qRound(deviceUnitsPerInch / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

QFontMetricsF metricsOf(const PrintFont &font)
{
    return QFontMetricsF(deviceFont(font), &measuringDevice());
}

} // namespace

QFont deviceFont(const PrintFont &font)
{
    QFont result(font.family);
    result.setPixelSize(qMax(1, qRound(font.points * double(deviceUnitsPerInch) / 72.0)));
    result.setBold(font.bold);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

int deviceTextWidth(const PrintFont &font, const QString &text)
{
    return qRound(metricsOf(font).horizontalAdvance(text));
}

qreal deviceAscent(const PrintFont &font)
{
    return metricsOf(font).ascent();
}

qreal deviceDescent(const PrintFont &font)
{
    return metricsOf(font).descent();
}

QRectF deviceTextCell(const PrintFont &font, int x, int y, const QString &text)
{
    const QFontMetricsF metrics = metricsOf(font);
    return QRectF(x, y, qRound(metrics.horizontalAdvance(text)), metrics.ascent() + metrics.descent());
}

} // namespace orvane::prescribing
