#pragma once

#include <QDateTime>
#include <QString>

namespace orvane::records {

class BackupFolder;

// Puts the copy at `copyPath` in the place of the SQLite base at `basePath`. Refused, with nothing
// touched, while a running program holds the base, or when the copy is damaged or not a base of
// the program. Before the base is replaced, a safety copy of it goes into the backup folder.
// Returns the safety copy's path (empty when there was no base to keep). Throws with the reason.
QString restoreBase(const QString &copyPath, const QString &basePath, const BackupFolder &folder,
                    const QDateTime &now);

// Removes what a copy or a restore cut short (a kill, a crash) left behind: the parts in the backup
// folder and the incoming copy beside the base. Called at start, while no other running copy of the
// program could be writing them; left alone when the base itself fails its check, as they may then
// hold the only whole copy. Returns how many files went.
int removeCutCopies(const QString &basePath, const BackupFolder &folder);

} // namespace orvane::records
