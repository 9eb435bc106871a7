#include "prescribing/printfiles.h"

#include "platform/clock.h"
#include "platform/error.h"
#include "platform/places.h"
#include "records/table.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace orvane::prescribing {

namespace {

// The characters no file name may hold on Windows or Linux.
QString fileNameSafe(const QString &text)
{
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    QString safe = QString(text).replace(unsafe, QStringLiteral("_")).trimmed();
    // Windows drops trailing dots, and "." or ".." would name another folder.
    while (safe.endsWith(QLatin1Char('.')))
        safe.chop(1);
    return safe.isEmpty() ? QStringLiteral("_") : safe;
}

QString madeFolder(const QString &folder)
{
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        throw Error(QStringLiteral("Impossible de créer le dossier '%1'").arg(QDir::toNativeSeparators(folder)));
    return folder;
}

} // namespace

PrintFiles::PrintFiles(const Clock &clock)
    : m_clock(clock)
{
}

QString PrintFiles::folder()
{
    return places::inProgramFolder(QStringLiteral("Impressions"));
}

QString PrintFiles::ownerOf(const records::Table &patients)
{
    if (patients.isEmpty())
        return QString();
    return fileNameSafe(patients.text(QStringLiteral("NomPrénom")) + QLatin1Char(' ')
                        + patients.text(QStringLiteral("N°Dossier")));
}

QString PrintFiles::newFile(const PrintJob &job)
{
    const QString stamp = m_clock.now().toString(QStringLiteral("yyyy-MM-dd HH'h'mm'm'ss"));
    // A name already used in the same second, by this run or an earlier one, is never overwritten.
    QString path;
    if (job.owner.isEmpty()) {
        const QString jobs = madeFolder(folder());
        do {
            ++m_jobNumber;
            path = QStringLiteral("%1/%2 impression %3.pdf").arg(jobs, stamp).arg(m_jobNumber);
        } while (QFileInfo::exists(path));
        return path;
    }
    const QString copies = madeFolder(folder() + QLatin1Char('/') + job.owner);
    const QString name = QStringLiteral("%1/%2 %3").arg(copies, stamp, fileNameSafe(job.kind));
    path = name + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QStringLiteral("%1 (%2).pdf").arg(name).arg(n);
    return path;
}

} // namespace orvane::prescribing
