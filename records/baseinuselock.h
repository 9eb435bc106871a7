#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace orvane::records {

// Says, while the program runs, that it has the SQLite base open: a lock file beside the base
// ("orvane.sqlite.lock"; a second running copy takes "orvane.sqlite.2.lock", and so on). A copy that
// ends, even by a crash, leaves nothing that counts: a lock whose process is gone is taken as free.
// A restore holds a lock of its own ("orvane.sqlite.restauration.lock") while it replaces the base.
class BaseInUseLock
{
public:
    // Takes a lock for this running copy, then waits while a restore is replacing the base, so the
    // program never opens a base that is being replaced. Throws when no lock file can be written.
    explicit BaseInUseLock(const QString &basePath);
    ~BaseInUseLock();
    BaseInUseLock(const BaseInUseLock &) = delete;
    BaseInUseLock &operator=(const BaseInUseLock &) = delete;

    QString fileName() const;

    // Whether a running program holds a lock on that base.
    static bool isHeld(const QString &basePath);
    // Whether another running copy of the program holds one beside this copy's.
    bool othersHold() const;
    static QString restoreLockName(const QString &basePath);
    // Held by a command that replaces or fills the base (a restore, an import) while it works: a
    // program starting meanwhile waits for it. Refused, with the reason, while a running program
    // holds the base or another such command works on it; `purpose` ends the message ("restaurer une
    // copie").
    static std::unique_ptr<QLockFile> holdForReplacement(const QString &basePath, const QString &purpose);

private:
    static bool isHeld(const QString &basePath, const QString &exceptLock);

    QString m_basePath;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace orvane::records
