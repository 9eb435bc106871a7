#include "clinical/colourfile.h"

#include "platform/conversions.h"
#include "platform/error.h"
#include "platform/places.h"
#include "platform/textlines.h"

#include <QDir>
#include <QFileInfo>
#include <iterator>
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

// The system colours by their number, as the nearest roles of a Qt palette; number 25 is unused.
constexpr SystemColour systemColours[] = {
    {QPalette::Active, QPalette::Button}, // scroll bar
    {QPalette::Active, QPalette::Window}, // desktop
    {QPalette::Active, QPalette::Highlight}, // active caption
    {QPalette::Inactive, QPalette::Mid}, // inactive caption
    {QPalette::Active, QPalette::Window}, // menu
    {QPalette::Active, QPalette::Base}, // window
    {QPalette::Active, QPalette::Shadow}, // window frame
    {QPalette::Active, QPalette::WindowText}, // menu text
    {QPalette::Active, QPalette::Text}, // window text
    {QPalette::Active, QPalette::HighlightedText}, // caption text
    {QPalette::Active, QPalette::Button}, // active border
    {QPalette::Inactive, QPalette::Button}, // inactive border
    {QPalette::Active, QPalette::Dark}, // application workspace
    {QPalette::Active, QPalette::Highlight}, // highlight
    {QPalette::Active, QPalette::HighlightedText}, // highlighted text
    {QPalette::Active, QPalette::Button}, // button face
    {QPalette::Active, QPalette::Dark}, // button shadow
    {QPalette::Disabled, QPalette::Text}, // grey text
    {QPalette::Active, QPalette::ButtonText}, // button text
    {QPalette::Inactive, QPalette::HighlightedText}, // inactive caption text
    {QPalette::Active, QPalette::Light}, // button highlight
    {QPalette::Active, QPalette::Shadow}, // 3D dark shadow
    {QPalette::Active, QPalette::Midlight}, // 3D light
    {QPalette::Active, QPalette::ToolTipText}, // info text
    {QPalette::Active, QPalette::ToolTipBase}, // info background
    {QPalette::NColorGroups, QPalette::NColorRoles}, // unused
    {QPalette::Active, QPalette::Link}, // hot light
    {QPalette::Active, QPalette::Highlight}, // gradient active caption
    {QPalette::Inactive, QPalette::Mid}, // gradient inactive caption
    {QPalette::Active, QPalette::Highlight}, // menu highlight
    {QPalette::Active, QPalette::Window}, // menu bar
};

std::optional<SystemColour> systemColour(qint64 number)
{
    if (number < 0 || number >= qint64(std::size(systemColours)) || systemColours[number].group == QPalette::NColorGroups)
        return std::nullopt;
    return systemColours[number];
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
        const auto system = systemColour(qint64(code) - systemColourBase);
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
    // Far more than the colour lines of any window: not read through.
    constexpr qint64 largest = 16 * 1024;
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (info.size() > largest) {
        ColourReading tooLarge;
        tooLarge.error = QStringLiteral("Le fichier de couleurs %1 est trop grand pour être juste (%2 octets) : les couleurs "
                                        "par défaut sont gardées").arg(QDir::toNativeSeparators(path)).arg(info.size());
        return tooLarge;
    }
    try {
        return readColourLines(readWindowsTextFile(path), wanted, palette);
    } catch (const Error &unreadable) {
        ColourReading reading;
        reading.error = unreadable.message();
        return reading;
    }
}

QString colourFilePath()
{
    return places::fixedPath(QStringLiteral("c:\\windows\\nolvar.ini"));
}

} // namespace orvane::clinical
