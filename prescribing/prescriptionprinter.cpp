#include "prescribing/prescriptionprinter.h"

#include "platform/clock.h"
#include "platform/dialogservice.h"
#include "platform/error.h"
#include "platform/textlines.h"
#include "prescribing/certificatelayout.h"
#include "prescribing/pagefit.h"
#include "prescribing/prescriptionlayout.h"
#include "prescribing/printcontext.h"
#include "prescribing/printfiles.h"
#include "prescribing/timprime.h"
#include "records/table.h"

#include <optional>

namespace orvane::prescribing {

namespace {

const QString patientNameField = QStringLiteral("NomPrénom");
const QString archivedNameField = QStringLiteral("Nomprénom");
const QString archivedPrescriptionField = QStringLiteral("Prescription");

} // namespace

PrescriptionPrinter::PrescriptionPrinter(PrinterSurface &surface, records::Table &patients, records::Table &archive,
                                         SettingsSource settings, DialogService &dialogs, const Clock &clock)
    : m_surface(surface)
    , m_patients(patients)
    , m_archive(archive)
    , m_settings(std::move(settings))
    , m_dialogs(dialogs)
    , m_clock(clock)
{
}

QString PrescriptionPrinter::patientName() const
{
    return m_patients.isEmpty() ? QString() : m_patients.text(patientNameField);
}

void PrescriptionPrinter::print(const QString &text, bool archived, const Layout &layout)
{
    const PrintSettings settings = m_settings();
    const QString today = m_clock.todayText();
    const QString name = patientName();
    PageFit fit(m_surface.printableArea());
    layout(PrintContext(fit, settings, today), name);
    // Sheets without one of the text's lines are no print: the text is neither filed nor emptied.
    if (fit.printsNoneOf(splitLines(text)))
        throw Error(fit.message(true));
    {
        std::optional<TImprime::WhilePrinting> shown;
        if (m_window)
            shown.emplace(*m_window);
        if (archived)
            archivePrescription(text);
        layout(PrintContext(m_surface, settings, today, PrintFiles::ownerOf(m_patients)), name);
    }
    // Told once the printing window has gone, which would stand in front of the message.
    if (!fit.offPage().isEmpty())
        m_dialogs.showMessage(m_window ? m_window->parentWidget() : nullptr, fit.message(false));
}

void PrescriptionPrinter::archivePrescription(const QString &prescription)
{
    // Without a patient there is no record number to file the prescription under.
    if (m_patients.isEmpty())
        return;
    // Another running copy may have filed a prescription for this patient since the last move.
    m_archive.refresh();
    const bool creating = m_archive.isEmpty();
    // The patient's row, or a new one that takes his record number from the patient table.
    m_archive.edit();
    try {
        if (creating)
            m_archive.setText(archivedNameField, patientName());
        m_archive.setText(archivedPrescriptionField, prescription);
        m_archive.post();
    } catch (...) {
        // A refused row must not stay pending and block the next move; the text is still on screen.
        m_archive.cancel();
        throw;
    }
}

void PrescriptionPrinter::printPlain(const QString &prescription, const QString &renewal)
{
    print(prescription, true, [&](const PrintContext &context, const QString &name) {
        printPlainPrescription(context, {name, splitLines(prescription), renewal});
    });
}

void PrescriptionPrinter::printLongTermIllness(const QString &prescription, const QString &renewal)
{
    print(prescription, true, [&](const PrintContext &context, const QString &name) {
        printLongTermIllnessPrescription(context, {name, splitLines(prescription), renewal});
    });
}

void PrescriptionPrinter::printCertificate(const QString &prescription)
{
    print(prescription, false, [&](const PrintContext &context, const QString &name) {
        prescribing::printCertificate(context, name, splitLines(prescription));
    });
}

} // namespace orvane::prescribing
