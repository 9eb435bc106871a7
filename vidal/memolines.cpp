#include "vidal/memolines.h"

#include <QRegularExpression>

namespace orvane::vidal {

QStringList memoLines(const QString &text)
{
    if (text.isEmpty())
        return {};
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString lastMemoLine(const QString &text)
{
    const QStringList lines = memoLines(text);
    return lines.isEmpty() ? QString() : lines.last();
}

} // namespace orvane::vidal
