#pragma once

#include "vidal/vidalhost.h"

namespace orvane {
class Clock;
}
namespace orvane::prescribing {
class PrescriptionPage;
}
namespace orvane::records {
class CurrentPatient;
}

namespace orvane::app {

// The prescription tab and the current patient as the Vidal exchange sees them.
class PrescriptionVidalHost final : public vidal::VidalHost
{
public:
    PrescriptionVidalHost(prescribing::PrescriptionPage &page, records::CurrentPatient &patient, const Clock &clock);

    vidal::VidalPatient vidalPatient() const override;
    QString prescription() const override;
    void appendToPrescription(const QString &line) override;
    void logDrug(const QString &logText) override;
    void disablePrintButtons() override;
    void setScratchText(const QString &text) override;

private:
    prescribing::PrescriptionPage &m_page;
    records::CurrentPatient &m_patient;
    const Clock &m_clock;
};

} // namespace orvane::app
