#pragma once

#include <QString>

namespace orvane::prescribing {

// The print operations of the prescription tab. Each returns once its jobs are handed to the
// printer and throws the printing system's or the table store's message when it fails; the tab
// empties the prescription text only after a print that returned.
class PrescriptionPrinting
{
public:
    virtual ~PrescriptionPrinting() = default;

    // "Normal": archives the text as the patient's last prescription, then prints the plain layout,
    // with a duplicate when the renewal statement is not empty.
    virtual void printPlain(const QString &prescription, const QString &renewal) = 0;
    // "100%": archives the text, then prints the two-zone form and its duplicate.
    virtual void printLongTermIllness(const QString &prescription, const QString &renewal) = 0;
    // "Certif.": the certificate of examination framing the text; not archived.
    virtual void printCertificate(const QString &prescription) = 0;
};

} // namespace orvane::prescribing
