#include "records/baseinuselock.h"

#include "platform/error.h"
#include "records/writeproblem.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>

namespace orvane::records {

namespace {

// The program holds its lock for hours: only a vanished process makes a lock stale, never its age.
std::unique_ptr<QLockFile> lockFile(const QString &name)
{
    auto lock = std::make_unique<QLockFile>(name);
    lock->setStaleLockTime(0);
    return lock;
}

QString slotName(const QString &basePath, int slot)
{
    return slot == 1 ? basePath + QStringLiteral(".lock") : basePath + QStringLiteral(".%1.lock").arg(slot);
}

} // namespace

BaseInUseLock::BaseInUseLock(const QString &basePath)
    : m_basePath(basePath)
{
    QDir().mkpath(QFileInfo(basePath).absolutePath());
    for (int slot = 1; !m_lock; ++slot) {
        auto candidate = lockFile(slotName(basePath, slot));
        if (candidate->tryLock(0))
            m_lock = std::move(candidate);
        else if (candidate->error() != QLockFile::LockFailedError) {
            if (const auto problem = WriteProblem::ofSqliteFile(basePath))
                throw problem->startFailure(QDir::toNativeSeparators(basePath));
            throw Error(QStringLiteral("Le fichier %1 ne peut pas être écrit")
                            .arg(QDir::toNativeSeparators(candidate->fileName())));
        }
    }
    // Taken after our own lock: a restore that began before it sees our lock and refuses, one that
    // began earlier is waited for here.
    auto restoring = lockFile(restoreLockName(basePath));
    if (restoring->lock())
        restoring->unlock();
}

BaseInUseLock::~BaseInUseLock() = default;

QString BaseInUseLock::fileName() const
{
    return m_lock->fileName();
}

bool BaseInUseLock::isHeld(const QString &basePath)
{
    return isHeld(basePath, QString());
}

bool BaseInUseLock::othersHold() const
{
    return isHeld(m_basePath, QFileInfo(m_lock->fileName()).fileName());
}

bool BaseInUseLock::isHeld(const QString &basePath, const QString &exceptLock)
{
    const QFileInfo base(basePath);
    const QRegularExpression slot(QStringLiteral("^") + QRegularExpression::escape(base.fileName())
                                  + QStringLiteral("\\.(\\d+\\.)?lock$"));
    const QStringList names = QDir(base.absolutePath()).entryList(QDir::Files);
    for (const QString &name : names) {
        if (!slot.match(name).hasMatch() || name == exceptLock)
            continue;
        auto probe = lockFile(base.absolutePath() + QLatin1Char('/') + name);
        if (probe->tryLock(0))
            probe->unlock();
        else if (probe->error() == QLockFile::LockFailedError)
            return true;
    }
    return false;
}

std::unique_ptr<QLockFile> BaseInUseLock::holdForReplacement(const QString &basePath, const QString &purpose)
{
    const QString base = QDir::toNativeSeparators(basePath);
    QDir().mkpath(QFileInfo(basePath).absolutePath());
    auto replacing = lockFile(restoreLockName(basePath));
    if (!replacing->tryLock(0))
        throw Error(QStringLiteral("Une restauration ou une importation de la base %1 est en cours.").arg(base));
    if (isHeld(basePath))
        throw Error(QStringLiteral("Orvane 2006 est ouvert sur la base %1 : quittez-le (toutes ses fenêtres) "
                                   "avant de %2. Rien n'a été modifié.")
                        .arg(base, purpose));
    return replacing;
}

QString BaseInUseLock::restoreLockName(const QString &basePath)
{
    return basePath + QStringLiteral(".restauration.lock");
}

} // namespace orvane::records
