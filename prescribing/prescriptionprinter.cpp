#include "prescribing/prescriptionprinter.h"

#include "platform/clock.h"
#include "prescribing/certificatelayout.h"
#include "prescribing/prescriptionlayout.h"
#include "prescribing/printcontext.h"
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
                                         SettingsSource settings, const Clock &clock)
    : m_surface(surface)
    , m_patients(patients)
    , m_archive(archive)
    , m_settings(std::move(settings))
    , m_clock(clock)
{
}

QString PrescriptionPrinter::patientName() const
{
    return m_patients.isEmpty() ? QString() : m_patients.text(patientNameField);
}

void PrescriptionPrinter::print(const QString *archived, const Layout &layout)
{
    const PrintContext context(m_surface, m_settings(), m_clock.todayText());
    std::optional<TImprime::WhilePrinting> shown;
    if (m_window)
        shown.emplace(*m_window);
    if (archived)
        archivePrescription(*archived);
    layout(context, patientName());
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
    print(&prescription, [&](const PrintContext &context, const QString &name) {
        printPlainPrescription(context, {name, prescriptionLines(prescription), renewal});
    });
}

void PrescriptionPrinter::printLongTermIllness(const QString &prescription, const QString &renewal)
{
    print(&prescription, [&](const PrintContext &context, const QString &name) {
        printLongTermIllnessPrescription(context, {name, prescriptionLines(prescription), renewal});
    });
}

void PrescriptionPrinter::printCertificate(const QString &prescription)
{
    print(nullptr, [&](const PrintContext &context, const QString &name) {
        prescribing::printCertificate(context, name, prescriptionLines(prescription));
    });
}

} // namespace orvane::prescribing
