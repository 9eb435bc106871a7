#include "clinical/textfind.h"

#include "platform/textlines.h"

namespace orvane::clinical {

namespace {

qsizetype endOfLine(const QString &text, qsizetype from)
{
    while (from < text.size() && !isLineBreak(text.at(from)))
        ++from;
    return from;
}

// The position after the break that ends the line at lineEnd.
qsizetype afterBreak(const QString &text, qsizetype lineEnd)
{
    if (lineEnd >= text.size())
        return lineEnd;
    const bool crlf = text.at(lineEnd) == QLatin1Char('\r') && lineEnd + 1 < text.size()
                      && text.at(lineEnd + 1) == QLatin1Char('\n');
    return lineEnd + (crlf ? 2 : 1);
}

// Moves line (whose end is lineEnd) forward to the line holding position.
void advanceTo(const QString &text, TextLine &line, qsizetype &lineEnd, qsizetype position)
{
    while (lineEnd < position) {
        line.start = afterBreak(text, lineEnd);
        ++line.number;
        lineEnd = endOfLine(text, line.start);
    }
}

} // namespace

std::optional<TextLine> findLineAfterCaret(const QString &text, qsizetype caret, const QString &searched)
{
    if (searched.isEmpty() || searched.contains(QLatin1Char('\r')) || searched.contains(QLatin1Char('\n')))
        return std::nullopt;
    TextLine line;
    qsizetype lineEnd = endOfLine(text, 0);
    advanceTo(text, line, lineEnd, qBound(qsizetype(0), caret, text.size()));
    if (lineEnd == text.size())
        return std::nullopt;
    // The searched text holds no break, so a match lies within one line.
    const qsizetype found = text.indexOf(searched, afterBreak(text, lineEnd), Qt::CaseSensitive);
    if (found < 0)
        return std::nullopt;
    advanceTo(text, line, lineEnd, found);
    line.length = lineEnd - line.start;
    return line;
}

} // namespace orvane::clinical
