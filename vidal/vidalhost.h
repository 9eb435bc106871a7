#pragma once

#include "vidal/vidalrequest.h"

#include <QString>

namespace orvane::vidal {

// What the exchange needs from the prescription page that uses it.
class VidalHost
{
public:
    virtual ~VidalHost() = default;

    // The current patient's data for the request.
    virtual VidalPatient vidalPatient() const = 0;
    // The whole prescription text.
    virtual QString prescription() const = 0;
    // Appends one line to the prescription by the program's line-append rule.
    virtual void appendToPrescription(const QString &line) = 0;
    // Records a drug in the patient's texts: a lone CR and the text onto "Consultation" of
    // "CONSULT.DB", posted, then the same onto "Traitement général" of "TTT.DB", posted.
    virtual void logDrug(const QString &logText) = 0;
    // Disables "Normal" and "Certif."; the next change of page enables them again.
    virtual void disablePrintButtons() = 0;
    // The hidden scratch memo `Memo1` of the page shows the text last exchanged.
    virtual void setScratchText(const QString &text) = 0;
};

} // namespace orvane::vidal
