#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvane::messaging {

// The lines of a text as a memo holds them: CR LF, CR and LF all break a line, and a break at
// the very end opens no further line, so "a\r\n" and "a" are both one line and "" is none.
QStringList linesOf(const QString &text);

// Lines as the 8-bit files shared with Windows systems hold them: Windows-1252, every line
// (the last one included) ended by CR LF.
QByteArray windowsTextBytes(const QStringList &lines);

// Reads a Windows-1252 text file into its lines; throws the program's message when it cannot.
QStringList readWindowsTextFile(const QString &path);

// Replaces the whole file at once (a failed write leaves the former file untouched).
void writeWindowsTextFile(const QString &path, const QStringList &lines);

// Deletes a file when it is there; throws when it is there and cannot be deleted.
void removeFileIfPresent(const QString &path);

} // namespace orvane::messaging
