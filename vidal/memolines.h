#pragma once

#include <QStringList>

namespace orvane::vidal {

// The lines of a text as a memo holds them: CR LF, CR or LF end a line, and a line end at the very
// end of the text opens no further line ("a\r\nb\r\n" has two lines, "" has none).
QStringList memoLines(const QString &text);

// The last of those lines, or an empty text when there is none.
QString lastMemoLine(const QString &text);

} // namespace orvane::vidal
