#pragma once

#include <QString>
#include <QStringList>

namespace orvane::clinical {

// The break between the lines of a patient's text.
inline const QString lineBreak = QStringLiteral("\r\n");

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

// The lines of a text as a memo holds them: CR LF, CR or LF end a line, and a break at the very
// end opens no further line ("a\r\nb\r\n" has two lines, "" has none).
QStringList splitLines(const QString &text);

// The last of those lines, found from the end without splitting; empty when there is none.
QString lastLine(const QString &text);

} // namespace orvane::clinical
