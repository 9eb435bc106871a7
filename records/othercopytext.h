#pragma once

#include <QDateTime>
#include <QString>

namespace orvane::records {

// When another running copy stored a text since this copy read it, storing keeps both: the other
// copy's text first, then what this copy wrote. A patient's text gets a marked line between them;
// a value list (entries ended by a lone CR) gets this copy's entries appended, since each entry
// carries its own date and a line of words there would not be an entry.

// The line put between the two texts.
QString otherCopyMarker(const QDateTime &when);

// `read`: the text as this copy read it; `stored`: what the other copy stored since; `mine`: what
// this copy would store. Of `mine`, only what follows `read` is added when it begins with it.
QString keptWithOtherCopyText(const QString &read, const QString &stored, const QString &mine, const QDateTime &when);

} // namespace orvane::records
