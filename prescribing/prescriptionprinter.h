#pragma once

#include "prescribing/prescriptionprinting.h"
#include "prescribing/printsettings.h"

#include <functional>

namespace orvane {
class Clock;
class DialogService;
}
namespace orvane::records {
class Table;
}

namespace orvane::prescribing {

class PrintContext;
class PrinterSurface;
class TImprime;

// The print operations of the prescription tab on the program's printer: the current patient's
// name from the patient table, the last prescription filed in the patient's row of the archive
// table before anything is printed, the printing window shown while the jobs are made. The pages
// are first laid out on the sheet's printable area: a print that would leave every line off the
// page prints nothing, files nothing and says why; one that loses some lines prints what fits and
// then names the lost lines once.
class PrescriptionPrinter final : public PrescriptionPrinting
{
public:
    // The settings in force when a print starts: a change made in a settings dialog applies to
    // the next document.
    using SettingsSource = std::function<PrintSettings()>;

    PrescriptionPrinter(PrinterSurface &surface, records::Table &patients, records::Table &archive,
                        SettingsSource settings, DialogService &dialogs, const Clock &clock);

    // The window shown while printing; none until the program's windows exist.
    void setPrintingWindow(TImprime *window) { m_window = window; }

    void printPlain(const QString &prescription, const QString &renewal) override;
    void printLongTermIllness(const QString &prescription, const QString &renewal) override;
    void printCertificate(const QString &prescription) override;

private:
    using Layout = std::function<void(const PrintContext &, const QString &patientName)>;

    // Prints the layout of the text, filed first when `archived`.
    void print(const QString &text, bool archived, const Layout &layout);
    void archivePrescription(const QString &prescription);
    QString patientName() const;

    PrinterSurface &m_surface;
    records::Table &m_patients;
    records::Table &m_archive;
    SettingsSource m_settings;
    DialogService &m_dialogs;
    const Clock &m_clock;
    TImprime *m_window = nullptr;
};

} // namespace orvane::prescribing
