#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace orvane::prescribing {

class PrintContext;

// A list of patients on the letterhead: the date and the criteria that made it, then one line per
// patient (the cells of its row side by side); a page of its own, without the letterhead, for each
// further part of a long list.
void printPatientList(const PrintContext &context, const QString &criteria, const QList<QStringList> &rows);

} // namespace orvane::prescribing
