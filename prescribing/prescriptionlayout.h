#pragma once

#include <QString>
#include <QStringList>

namespace orvane::prescribing {

class PrintContext;

// The line that splits a long-term-illness prescription into its two zones.
inline const QString zoneSeparator = QStringLiteral("<non 100%>");

struct PrescriptionToPrint
{
    QString patientName;
    QStringList lines;
    // The renewal statement; empty when the prescription is not renewable.
    QString renewal;
};

// The ordinary prescription on the letterhead: one job, and a second one marked "DUPLICATA"
// when the prescription is renewable.
void printPlainPrescription(const PrintContext &context, const PrescriptionToPrint &prescription);

// The two-zone form of long-term-illness patients, always printed twice, the second copy marked
// "DUPLICATA": the lines above the last separator line in the upper zone, the lines below it in
// the lower zone. The patient's name is not printed on this form.
void printLongTermIllnessPrescription(const PrintContext &context, const PrescriptionToPrint &prescription);

} // namespace orvane::prescribing
