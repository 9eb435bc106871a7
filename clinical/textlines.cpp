#include "clinical/textlines.h"

#include <QRegularExpression>

namespace orvane::clinical {

bool endsWithLineBreak(const QString &text)
{
    return !text.isEmpty() && isLineBreak(text.back());
}

void appendLine(QString &text, const QString &line)
{
    if (text.isEmpty() || endsWithLineBreak(text)) {
        text += line;
        text += lineBreak;
    } else {
        text += lineBreak;
        text += line;
    }
}

void appendLines(QString &text, const QStringList &lines)
{
    for (const QString &line : lines)
        appendLine(text, line);
}

QString withLineAppended(QString text, const QString &line)
{
    appendLine(text, line);
    return text;
}

QStringList splitLines(const QString &text)
{
    if (text.isEmpty())
        return {};
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(breaks);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString lastLine(const QString &text)
{
    // Only the one break that ends the last line is passed over: a blank last line stays blank.
    qsizetype end = text.size();
    if (text.endsWith(QLatin1String("\r\n")))
        end -= 2;
    else if (end > 0 && isLineBreak(text.at(end - 1)))
        --end;
    qsizetype start = end;
    while (start > 0 && !isLineBreak(text.at(start - 1)))
        --start;
    return text.mid(start, end - start);
}

} // namespace orvane::clinical
