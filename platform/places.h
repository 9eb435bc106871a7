#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

namespace orvane {

// Every place the program reads or writes outside its database: the registry keys, the fixed
// "C:\..." paths and the program folder. No other file spells a drive letter.
namespace places {

// The folder standing for drive C: on systems without one (<data>/drive_c).
QString driveC();

// The folder of the program's own files ("C:\Orvane" on Windows installations); created on demand.
QString programFolder();

// A file or folder inside the program folder, e.g. "courrier envoyé" or "aide/Orvane.htm".
QString inProgramFolder(const QString &relativePath);

// The folder of the practice's correspondence: the letters received and sent, the results received
// and the correspondents' file "hprim.ini". The program folder, unless the workstations of a practice
// share one folder for it (named at start by "alias.ini").
QString correspondenceFolder();
QString inCorrespondenceFolder(const QString &relativePath);
// The shared folder the start found in "alias.ini"; empty for the program folder.
void shareCorrespondenceIn(const QString &folder);

// A fixed Windows path such as "c:\windows\nolvar.ini" on this system; drive letter and its case
// do not matter.
QString fixedPath(const QString &windowsPath);

// The key HKEY_CURRENT_USER\Software\<key> (a settings file of that name elsewhere).
std::unique_ptr<QSettings> registryKey(const QString &key);

// Whether that key exists: opening it never creates it.
bool registryKeyExists(const QString &key);

// The program to start for a second running copy.
QString secondCopyExecutable();

// The desktop's calculator, or an empty text when none is installed.
QString calculator();

// The folders the user's guide may be in, in the order searched: "Help" in the program folder (a
// practice's own pages), "guide" beside the executable (a build, Windows), the documentation
// folder of the installed package.
QStringList guideFolders();

} // namespace places
} // namespace orvane
