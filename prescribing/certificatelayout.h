#pragma once

#include <QString>
#include <QStringList>

namespace orvane::prescribing {

class PrintContext;

// A certificate of examination on the letterhead: the opening sentences naming the prescriber and
// the patient, the free text, the closing sentences; one job, no duplicate.
void printCertificate(const PrintContext &context, const QString &patientName, const QStringList &lines);

} // namespace orvane::prescribing
