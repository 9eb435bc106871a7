#pragma once

#include <QString>
#include <QStringList>

namespace orvane::privatefiles {

// The patients' files are their user's alone: files and folders this process makes from now on are
// readable by him only (600, 700), whatever the session's umask.
void keepNewFilesPrivate();

// Takes the group's and others' rights off a file, or off a folder and everything inside it (links
// are not followed). Returns how many entries changed.
int tighten(const QString &path);

// keepNewFilesPrivate, then tightens what an earlier version left open: the program's data folder,
// its two settings keys and the given paths (a base kept elsewhere, with its journals).
void protect(const QStringList &otherPaths = {});

} // namespace orvane::privatefiles
