#include "messaging/receivedresults.h"

#include "clinical/labreport.h"
#include "messaging/correspondencefolders.h"
#include "messaging/patientfinder.h"
#include "platform/textlines.h"
#include "platform/error.h"

#include "records/database.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QFileInfo>

namespace orvane::messaging {

ReceivedResults::ReceivedResults(records::Database &db, const QString &resultsFolder, const QString &physicianCatalogue)
    : m_db(db)
    , m_resultsFolder(resultsFolder)
    , m_physicianCatalogue(physicianCatalogue)
    , m_catalogue(clinical::AnalyteCatalogue::standard(physicianCatalogue))
{
}

void ReceivedResults::addLabel(const QString &analyte, const QString &label)
{
    QStringList lines = QFile::exists(m_physicianCatalogue) ? readReceivedTextFile(m_physicianCatalogue) : QStringList();
    lines.append(clinical::AnalyteCatalogue::labelLine(analyte, label));
    writeFileBytes(m_physicianCatalogue, receivedTextBytes(lines));
    m_catalogue = clinical::AnalyteCatalogue::standard(m_physicianCatalogue);
    using records::SqlDialect;
    const QString analyteColumn = SqlDialect::quote(QStringLiteral("Analyte"));
    QSqlQuery &update = m_db.prepared(QStringLiteral("UPDATE %1 SET %2 = ? WHERE COALESCE(%2, '') = '' AND (%3 = ? OR %4 = ?)")
                                          .arg(SqlDialect::quote(records::tables::results), analyteColumn,
                                               SqlDialect::quote(QStringLiteral("Libellé")),
                                               SqlDialect::quote(QStringLiteral("Code"))));
    update.addBindValue(analyte);
    update.addBindValue(label);
    update.addBindValue(label);
    m_db.run(update);
}

namespace {

// An HPRIM Santé text may hold several patients: it is then no one patient's.
bool namesAnother(const clinical::LabReport &report, const std::optional<HprimIdentity> &identity)
{
    for (const clinical::LabPatient &patient : report.patients) {
        if (!identity
            || !sameIdentity(*identity, patient.surname, patient.forename, patient.birthDate.day(),
                             patient.birthDate.month(), patient.birthDate.year()))
            return true;
    }
    return false;
}

const QString severalPatients = QStringLiteral("Le fichier contient les résultats d'autres patients : ils ne sont pas lus.");

} // namespace

clinical::LabResultImport::Outcome ReceivedResults::read(double recordNumber, const QString &path) const
{
    const QStringList lines = readReceivedTextFile(path);
    const clinical::LabReport report = clinical::readLabReport(lines);
    if (namesAnother(report, HprimText::identityOf(lines))) {
        clinical::LabResultImport::Outcome refused;
        refused.alerts.append(severalPatients);
        return refused;
    }
    return clinical::LabResultImport(m_db, m_catalogue).import(recordNumber, QFileInfo(path).fileName(), report);
}

QStringList ReceivedResults::readNewFiles(const PatientFile &patient) const
{
    QStringList notes;
    const clinical::LabResultImport import(m_db, m_catalogue);
    const QString prefix = patientFilePrefix(patient.match.key);
    const QFileInfoList files = QDir(m_resultsFolder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        if (!file.fileName().startsWith(prefix) || import.hasRead(patient.match.number, file.fileName()))
            continue;
        try {
            const QStringList lines = readReceivedTextFile(file.filePath());
            const auto identity = HprimText::identityOf(lines);
            if (!identity)
                continue;
            if (!sameIdentity(*identity, patient.surname, patient.forename, patient.day, patient.month, patient.year)
                || socialSecurityDiffers(identity->socialSecurity, patient.match.socialSecurity)) {
                notes.append(QStringLiteral("%1 : son en-tête désigne un autre patient, ses résultats ne sont pas lus.")
                                 .arg(file.fileName()));
                continue;
            }
            const clinical::LabReport report = clinical::readLabReport(lines);
            if (namesAnother(report, identity)) {
                notes.append(file.fileName() + QStringLiteral(" : ") + severalPatients);
                continue;
            }
            import.import(patient.match.number, file.fileName(), report);
        } catch (const Error &error) {
            notes.append(QStringLiteral("%1 : %2").arg(file.fileName(), error.message()));
        }
    }
    return notes;
}

} // namespace orvane::messaging
