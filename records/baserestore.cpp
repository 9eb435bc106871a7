#include "records/baserestore.h"

#include "platform/error.h"
#include "records/backupfolder.h"
#include "records/baseinuselock.h"
#include "records/filereplace.h"
#include "records/sqlitefile.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryFile>

namespace orvane::records {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

const QString incomingSuffix = QStringLiteral(".restauration");

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    return first.exists() && second.exists() && first.canonicalFilePath() == second.canonicalFilePath();
}

} // namespace

QString restoreBase(const QString &copyPath, const QString &basePath, const BackupFolder &folder,
                    const QDateTime &now)
{
    const auto restoring = BaseInUseLock::holdForReplacement(basePath, QStringLiteral("restaurer une copie"));
    if (sameFile(copyPath, basePath))
        throw Error(QStringLiteral("%1 est la base elle-même, pas une copie.").arg(native(copyPath)));
    const QString problems = baseProblems(copyPath);
    if (!problems.isEmpty())
        throw Error(QStringLiteral("La copie %1 ne peut pas être restaurée : %2. Rien n'a été modifié.")
                        .arg(native(copyPath), problems));

    const QStringList journals = {QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")};
    // The restored base is its owner's alone, with the rights he had on the replaced one.
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    const QFile::Permissions mode = ownerOnly
        & (QFileInfo::exists(basePath) ? QFile::permissions(basePath) : QFile::permissions(copyPath));
    QString safetyCopy;
    if (QFileInfo::exists(basePath) || QFileInfo::exists(basePath + journals.first()))
        safetyCopy = folder.writeSafetyCopy(basePath, now);

    const QString baseFolder = QFileInfo(basePath).absolutePath();
    QDir().mkpath(baseFolder);
    QTemporaryFile incoming(baseFolder + QStringLiteral("/XXXXXX") + incomingSuffix);
    if (!incoming.open())
        throw Error(QStringLiteral("%1 : %2").arg(native(baseFolder), incoming.errorString()));
    incoming.close();
    SqliteFile(copyPath, SqliteFile::Mode::ReadOnly).copyTo(incoming.fileName());
    const QString written = baseProblems(incoming.fileName());
    if (!written.isEmpty())
        throw Error(QStringLiteral("La copie n'a pas pu être écrite à la place de la base : %1. La base n'a pas été "
                                   "modifiée.").arg(written));
    // The old base's journals would be replayed into the new file: they go first. Their content is in
    // the safety copy.
    for (const QString &journal : journals)
        QFile::remove(basePath + journal);
    incoming.setPermissions(mode);
    replaceFile(incoming.fileName(), basePath);
    return safetyCopy;
}

int removeCutCopies(const QString &basePath, const BackupFolder &folder)
{
    QStringList incoming;
    for (const QString &journal : journalSuffixes())
        incoming.append(QStringLiteral("*") + incomingSuffix + journal);
    QFileInfoList leftovers = QDir(QFileInfo(basePath).absolutePath()).entryInfoList(incoming, QDir::Files);
    leftovers += folder.partFiles();
    if (leftovers.isEmpty() || !baseProblems(basePath).isEmpty())
        return 0;
    int removed = 0;
    for (const QFileInfo &file : std::as_const(leftovers)) {
        if (QFile::remove(file.absoluteFilePath()))
            ++removed;
    }
    return removed;
}

} // namespace orvane::records
