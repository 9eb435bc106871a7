#pragma once

#include <QDate>
#include <QList>
#include <QSet>

namespace orvane::records {

// Which daily copies of the base to keep on `today`, given the dates of the copies there are:
// the seven most recent copies, the first copy of each of the last twelve months (this month and
// the eleven before it) and the first copy of every year, for ever. The first copy of a month or
// year stays the first as later copies come, so a copy kept for its month is never exchanged for
// another. Copies dated after today (a clock set back) are kept: nothing says they are old.
QSet<QDate> backupsToKeep(const QList<QDate> &copies, const QDate &today);

// Which safety copies (taken before a restore or an import) to keep, given their dates oldest first:
// the last five, and every one younger than 30 days. Answers, for each copy, whether it stays.
QList<bool> safetyCopiesToKeep(const QList<QDate> &copies, const QDate &today);

} // namespace orvane::records
