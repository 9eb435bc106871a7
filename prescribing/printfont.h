#pragma once

#include "platform/pageprinter.h"

#include <QFont>
#include <QRectF>
#include <QString>

namespace orvane::prescribing {

// Every printed position and size is in these device units: 1/360 inch on every printer, the
// resolution of the ink-jet printers the layouts were made for (at 1/300 inch the foot of the
// default layouts fell off an A4 sheet).
constexpr int deviceUnitsPerInch = pageUnitsPerInch;

// A font as the layouts ask for it: family, size in points and style.
struct PrintFont
{
    QString family = QStringLiteral("Times New Roman");
    int points = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const PrintFont &other) const
    {
        return family == other.family && points == other.points && bold == other.bold
            && italic == other.italic && underline == other.underline;
    }
    bool operator!=(const PrintFont &other) const { return !(*this == other); }
};

// The Qt font for drawing in device units: its em height is the size in points at the device
// units, rounded to a whole unit as the printer drivers do.
QFont deviceFont(const PrintFont &font);

// Width and ascent in device units, measured at the device units, so that a layout centring a text
// places it the same way on paper, in a PDF and in a recording.
int deviceTextWidth(const PrintFont &font, const QString &text);
qreal deviceAscent(const PrintFont &font);
qreal deviceDescent(const PrintFont &font);
// The cell of a text whose top-left corner is at (x, y): its width by the font's ascent and descent.
QRectF deviceTextCell(const PrintFont &font, int x, int y, const QString &text);

} // namespace orvane::prescribing
