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

// The whole file; throws the program's message when it cannot be read.
QByteArray fileBytes(const QString &path);

// Reads a Windows-1252 text file into its lines; throws the program's message when it cannot.
QStringList readWindowsTextFile(const QString &path);

// Lines received from elsewhere as the correspondence folders keep them (every line ended by CR LF):
// in Windows-1252 when it holds every character, otherwise in UTF-8 (see keptTextBytes).
QByteArray receivedTextBytes(const QStringList &lines);
// A file of the correspondence folders into its lines, in either form.
QStringList readReceivedTextFile(const QString &path);

// Replaces the whole file at once (a failed write leaves the former file untouched).
void writeWindowsTextFile(const QString &path, const QStringList &lines);

// Deletes a file when it is there; throws when it is there and cannot be deleted.
void removeFileIfPresent(const QString &path);

} // namespace orvane::messaging
