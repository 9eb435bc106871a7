#pragma once

#include <QDate>
#include <QDateTime>
#include <QFileInfoList>
#include <QList>
#include <QString>

namespace orvane::records {

class Database;

// Why a safety copy is taken, which its name tells.
enum class SafetyCopy { BeforeRestore, BeforeUpgrade };

struct BackupCopy
{
    QDate date;
    QString path;
    qint64 size = 0;
};

// The folder "Sauvegardes" of the program folder: one copy of the base per day, named by its date
// ("2026-12-09.sqlite"), and the safety copies taken before a restore ("avant-restauration-...") or
// before the base gains what a new release adds ("avant-mise-a-jour-..."). A copy never replaces a file:
// a name already taken gets "-2", "-3", ... Only files of those two forms are ever listed or removed;
// anything else a person puts there is left alone.
class BackupFolder
{
public:
    explicit BackupFolder(const QString &path);
    static BackupFolder ofProgram(const QString &programFolder);

    QString path() const { return m_path; }
    QString dailyCopyPath(const QDate &date) const;
    bool hasDailyCopy(const QDate &date) const;
    // Oldest first.
    QList<BackupCopy> dailyCopies() const;
    QList<BackupCopy> safetyCopies() const;
    // The copy a person names: a file, a date ("09/12/2026" or "2026-12-09") or a file name of this
    // folder. Throws when none matches.
    QString find(const QString &nameOrDate) const;

    // Writes the copy of `date`, checks it, and only then removes the copies the retention rule no
    // longer names. Throws with the reason when the copy cannot be written; the base is only read.
    QString writeDailyCopy(const QString &basePath, const QDate &date) const;
    // A copy of the base as it is before a restore replaces it. A base the engine can no longer read
    // is kept file for file (with its journals), since it may still hold what the copies lack.
    QString writeSafetyCopy(const QString &basePath, const QDateTime &now,
                            SafetyCopy why = SafetyCopy::BeforeRestore) const;
    // The same of a base on any engine (a shared PostgreSQL base), written as an SQLite base of the
    // program table by table through the table store.
    QString writeSafetyCopy(Database &base, const QDateTime &now, SafetyCopy why = SafetyCopy::BeforeRestore) const;
    void removeExpiredCopies(const QDate &today) const;
    // A copy cut short by a crash leaves its part behind; one not touched for a day belongs to no
    // running copy.
    void removeAbandonedParts(const QDateTime &now) const;
    // The copies being written, or cut short before they were whole, with their journals.
    QFileInfoList partFiles() const;
    // Keeps the safety copies the rule names (the last five, any younger than 30 days).
    void removeExpiredSafetyCopies(const QDate &today) const;

private:
    // The copy's path: the wanted one, or the first free one after it.
    QString writeCheckedCopy(const QString &basePath, const QString &wanted) const;
    QString safetyCopyStem(const QDateTime &now, SafetyCopy why) const;
    QString keepFilesOf(const QString &basePath, const QString &wanted) const;
    void makeFolder() const;

    QString m_path;
};

// Why a file is not a sound base of the program (the engine's integrity check, the patient table):
// empty when it is one. The quick check reads every page but leaves the indexes unchecked.
enum class Check { Full, Quick };
// The suffixes of an SQLite base's files: none for the base itself, then the journals the engine may
// write beside it.
const QStringList &journalSuffixes();
QString baseProblems(const QString &path, Check check = Check::Full);

} // namespace orvane::records
