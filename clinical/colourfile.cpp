#include "clinical/colourfile.h"

#include "clinical/textlines.h"
#include "platform/conversions.h"
#include "platform/error.h"
#include "platform/places.h"
#include "platform/textcodec.h"

#include <QFile>
#include <limits>

namespace orvane::clinical {

namespace {

constexpr qint64 systemColourBase = std::numeric_limits<qint32>::min(); // 0x80000000 as a signed code
constexpr qint64 noColour = 0x1FFFFFFF;
constexpr qint64 defaultColour = 0x20000000;

struct SystemColour
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The system colours by their number, as the nearest roles of a Qt palette.
std::optional<SystemColour> systemColour(int number)
{
    using P = QPalette;
    switch (number) {
    case 0: return SystemColour{P::Active, P::Button}; // scroll bar
    case 1: return SystemColour{P::Active, P::Window}; // desktop
    case 2: return SystemColour{P::Active, P::Highlight}; // active caption
    case 3: return SystemColour{P::Inactive, P::Mid}; // inactive caption
    case 4: return SystemColour{P::Active, P::Window}; // menu
    case 5: return SystemColour{P::Active, P::Base}; // window
    case 6: return SystemColour{P::Active, P::Shadow}; // window frame
    case 7: return SystemColour{P::Active, P::WindowText}; // menu text
    case 8: return SystemColour{P::Active, P::Text}; // window text
    case 9: return SystemColour{P::Active, P::HighlightedText}; // caption text
    case 10: return SystemColour{P::Active, P::Button}; // active border
    case 11: return SystemColour{P::Inactive, P::Button}; // inactive border
    case 12: return SystemColour{P::Active, P::Dark}; // application workspace
    case 13: return SystemColour{P::Active, P::Highlight}; // highlight
    case 14: return SystemColour{P::Active, P::HighlightedText}; // highlighted text
    case 15: return SystemColour{P::Active, P::Button}; // button face
    case 16: return SystemColour{P::Active, P::Dark}; // button shadow
    case 17: return SystemColour{P::Disabled, P::Text}; // grey text
    case 18: return SystemColour{P::Active, P::ButtonText}; // button text
    case 19: return SystemColour{P::Inactive, P::HighlightedText}; // inactive caption text
    case 20: return SystemColour{P::Active, P::Light}; // button highlight
    case 21: return SystemColour{P::Active, P::Shadow}; // 3D dark shadow
    case 22: return SystemColour{P::Active, P::Midlight}; // 3D light
    case 23: return SystemColour{P::Active, P::ToolTipText}; // info text
    case 24: return SystemColour{P::Active, P::ToolTipBase}; // info background
    case 26: return SystemColour{P::Active, P::Link}; // hot light
    case 27: return SystemColour{P::Active, P::Highlight}; // gradient active caption
    case 28: return SystemColour{P::Inactive, P::Mid}; // gradient inactive caption
    case 29: return SystemColour{P::Active, P::Highlight}; // menu highlight
    case 30: return SystemColour{P::Active, P::Window}; // menu bar
    default: return std::nullopt;
    }
}

} // namespace

std::optional<qint32> colourCode(const QString &line)
{
    auto code = parseWholeNumber(line);
    if (!code)
        return std::nullopt;
    // A 32-bit code written in hexadecimal ("$8000000F") reads as a large positive number.
    if (*code > std::numeric_limits<qint32>::max() && *code <= std::numeric_limits<quint32>::max())
        *code -= qint64(1) << 32;
    if (*code < std::numeric_limits<qint32>::min() || *code > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(*code);
}

std::optional<QColor> colourOfCode(qint32 code, const QPalette &palette)
{
    if (code == noColour || code == defaultColour)
        return std::nullopt;
    if (code < 0) {
        const qint64 number = qint64(code) - systemColourBase;
        const auto system = number <= 0xFF ? systemColour(int(number)) : std::nullopt;
        if (!system)
            return std::nullopt;
        return palette.color(system->group, system->role);
    }
    return QColor(code & 0xFF, (code >> 8) & 0xFF, (code >> 16) & 0xFF);
}

ColourReading readColourLines(const QStringList &lines, int wanted, const QPalette &palette)
{
    ColourReading reading;
    if (lines.size() < wanted) {
        reading.error = Error::listIndexOutOfBounds(int(lines.size())).message();
        return reading;
    }
    for (int i = 0; i < wanted; ++i) {
        const auto code = colourCode(lines.at(i));
        if (!code) {
            reading.error = Error::notWholeNumber(lines.at(i)).message();
            break;
        }
        reading.colours.append(colourOfCode(*code, palette));
    }
    return reading;
}

ColourReading readColourFile(const QString &path, int wanted, const QPalette &palette)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        ColourReading unreadable;
        unreadable.error = QStringLiteral("Impossible d'ouvrir le fichier %1").arg(path);
        return unreadable;
    }
    return readColourLines(splitLines(fromWindows1252(file.readAll())), wanted, palette);
}

QString colourFilePath()
{
    return places::fixedPath(QStringLiteral("c:\\windows\\nolvar.ini"));
}

} // namespace orvane::clinical
