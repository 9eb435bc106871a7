#pragma once

#include <QString>
#include <optional>

namespace orvane::clinical {

// A line of a text: where it starts and how long it is, its break not counted.
struct TextLine
{
    int number = 0; // counted from 0
    qsizetype start = 0;
    qsizetype length = 0;
};

// The search of the notes: the first line after the one holding the caret that contains the
// searched text (exact and case-sensitive). Lines end with CR LF, CR or LF. An empty searched
// text, or one holding a line break, is found nowhere.
std::optional<TextLine> findLineAfterCaret(const QString &text, qsizetype caret, const QString &searched);

} // namespace orvane::clinical
