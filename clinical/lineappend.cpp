#include "clinical/lineappend.h"

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

} // namespace orvane::clinical
