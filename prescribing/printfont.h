#pragma once

#include <QFont>
#include <QString>

namespace orvane::prescribing {

// Every printed position and size is in these device units: 1/300 inch on every printer.
constexpr int deviceUnitsPerInch = 300;

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

// The Qt font for drawing in device units: its em height is the size in points at 300 units per
// inch, rounded to a whole unit as the printer drivers do.
QFont deviceFont(const PrintFont &font);

// Width and ascent in device units, measured at 300 dots per inch, so that a layout centring a text
// places it the same way on paper, in a PDF and in a recording.
int deviceTextWidth(const PrintFont &font, const QString &text);
qreal deviceAscent(const PrintFont &font);
qreal deviceDescent(const PrintFont &font);

} // namespace orvane::prescribing
