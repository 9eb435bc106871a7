#pragma once

#include <QColor>
#include <QList>
#include <QPalette>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvane::clinical {

// A line of the colour file as a 32-bit colour code: a whole number, decimal or after "$"
// hexadecimal (where "$8000000F" is the negative code -2147483633). None for anything else.
std::optional<qint32> colourCode(const QString &line);

// The colour of a code: red + 256 × green + 65536 × blue, or one of the negative codes
// (0x80000000 + n) naming the system's colour n, taken from the palette. No colour for the "none"
// and "default" codes or an unknown system colour: the design colour then stays.
std::optional<QColor> colourOfCode(qint32 code, const QPalette &palette);

// The colours a window takes from the colour file, line by line.
struct ColourReading
{
    // One entry per line read, in file order; an entry without a colour keeps the design colour.
    QList<std::optional<QColor>> colours;
    // The message to show, empty when every wanted line gave a colour.
    QString error;
};

// Reads the first `wanted` lines as colours. All of them must be there before any colour counts:
// with fewer lines nothing is read and the message names the first missing line (from 0). A line
// that is not a whole number ends the reading; the colours before it count.
ColourReading readColourLines(const QStringList &lines, int wanted, const QPalette &palette);

// The same on a file; a missing file gives no colour and no message.
ColourReading readColourFile(const QString &path, int wanted, const QPalette &palette);

// "c:\windows\nolvar.ini" on this system.
QString colourFilePath();

} // namespace orvane::clinical
