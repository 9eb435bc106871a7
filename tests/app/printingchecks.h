#pragma once

#include "app/torvane.h"
#include "platform/error.h"
#include "prescribing/prescriptionpage.h"
#include "prescribing/printfiles.h"
#include "records/currentpatient.h"
#include "records/database.h"
#include "records/table.h"

#include <QDir>
#include <QHash>
#include <QPlainTextEdit>

// What the tests printing from the prescriptions tab look at after a print.
namespace orvane::test {

inline QString prescriptionShown(const app::TOrvane &window)
{
    return window.prescriptionPage()->findChild<QPlainTextEdit *>(QStringLiteral("ordonnanc"))->toPlainText();
}

// The prescription the base holds for the patient, read by a table object of its own.
inline QString archivedPrescription(records::Database &db)
{
    records::Table archive(db, records::tables::archive);
    archive.open();
    return archive.isEmpty() ? QStringLiteral("<no row>") : archive.text(QStringLiteral("Prescription"));
}

// The current patient's folder of prints.
inline QDir patientPrints(app::TOrvane &window)
{
    return QDir(prescribing::PrintFiles::folder() + QLatin1Char('/')
                + prescribing::PrintFiles::ownerOf(window.patient().patients()));
}

// Runs the handler of a print button ("IEButton18" "Normal", "IEButton19" "100%", "IEButton20"
// "Certif."), as the program's own loop would, and returns the message it failed with.
inline QString printFailure(prescribing::PrescriptionPage &page, const QString &button)
{
    using prescribing::PrescriptionPage;
    const QHash<QString, void (PrescriptionPage::*)()> handlers{
        {QStringLiteral("IEButton18"), &PrescriptionPage::BitBtn4Click},
        {QStringLiteral("IEButton19"), &PrescriptionPage::BitBtn5Click},
        {QStringLiteral("IEButton20"), &PrescriptionPage::SpeedButton11Click}};
    try {
        (page.*handlers.value(button))();
    } catch (const Error &error) {
        return error.message();
    }
    return QString();
}

} // namespace orvane::test
