#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvane {

// The break between the lines of a patient's text.
inline const QString lineBreak = QStringLiteral("\r\n");
// The break that ends each entry line of a value list.
inline const QString loneCr = QStringLiteral("\r");

inline bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// Whether the text ends with a line break (CR LF, or a lone CR or LF left by another writer).
bool endsWithLineBreak(const QString &text);

// Appends a line to a patient's text: after a break the line is added and ended, otherwise the
// last line is ended first and the new one is left open. An empty line on an open last line thus
// only ends that line. The text grows in place, so long notes are never copied again.
void appendLine(QString &text, const QString &line);
void appendLines(QString &text, const QStringList &lines);

QString withLineAppended(QString text, const QString &line);

// What a break at the very end of a text stands for.
enum class FinalBreak {
    EndsLastLine, // "a\r\n" is the one line "a", as a memo holds it
    OpensEmptyLine // "a\r\n" is "a" then an empty line: joinLines gives the text back
};

// The lines of a text: CR LF, CR or LF end a line; "" has none. By default a break at the very end
// opens no further line ("a\r\nb\r\n" has two lines).
QStringList splitLines(const QString &text, FinalBreak finalBreak = FinalBreak::EndsLastLine);

// The last of those lines, found from the end without splitting; empty when there is none.
QString lastLine(const QString &text);

// The lines with the break between them, none after the last.
QString joinLines(const QStringList &lines, const QString &separator = lineBreak);
// The lines each ended by the break, the last one included.
QString endLines(const QStringList &lines, const QString &end = lineBreak);

// Lines as the 8-bit files shared with Windows systems hold them: Windows-1252, every line
// (the last one included) ended by CR LF.
QByteArray windowsTextBytes(const QStringList &lines);

// Reads a Windows-1252 text file into its lines; throws the program's message when it cannot.
QStringList readWindowsTextFile(const QString &path);

// The whole file; throws the program's message when it cannot be read.
QByteArray fileBytes(const QString &path);

// Lines received from elsewhere as the correspondence folders keep them (every line ended by CR LF):
// in Windows-1252 when it holds every character, otherwise in UTF-8 (see keptTextBytes).
QByteArray receivedTextBytes(const QStringList &lines);
// A file of the correspondence folders into its lines, in either form.
QStringList readReceivedTextFile(const QString &path);

// Replace the whole file at once (a failed write leaves the former file untouched); throw the
// program's message when they cannot.
void writeFileBytes(const QString &path, const QByteArray &bytes);
void writeWindowsTextFile(const QString &path, const QStringList &lines);

} // namespace orvane
