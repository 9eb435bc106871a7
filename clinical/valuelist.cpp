#include "clinical/valuelist.h"

#include "clinical/lineappend.h"
#include "platform/conversions.h"
#include "platform/error.h"

#include <QRegularExpression>

namespace orvane::clinical {

namespace {

// Values as the charts draw them: a number with a point, and a finite one.
double chartableValue(const QString &text)
{
    const double value = toFloatingPoint(text);
    if (!qIsFinite(value))
        throw Error::notFloatingPoint(text);
    return value;
}

} // namespace

void appendValueEntry(QString &list, const QString &dateText, const QString &value)
{
    list += dateText;
    list += QLatin1Char('\r');
    list += value;
    list += QLatin1Char('\r');
}

QStringList valueListLines(const QString &list)
{
    if (list.isEmpty())
        return {};
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = list.split(breaks);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString lastValueListLine(const QString &list)
{
    // Only the one break that ends the last line is passed over: a blank last line stays blank.
    qsizetype end = list.size();
    if (list.endsWith(QLatin1String("\r\n")))
        end -= 2;
    else if (end > 0 && isLineBreak(list.at(end - 1)))
        --end;
    qsizetype start = end;
    while (start > 0 && !isLineBreak(list.at(start - 1)))
        --start;
    return list.mid(start, end - start);
}

ValueListReading readValueList(const QString &list)
{
    ValueListReading reading;
    const QStringList lines = valueListLines(list);
    if (lines.size() < 2)
        return reading;
    for (qsizetype i = 0; i < lines.size(); i += 2) {
        const QString value = lines.value(i + 1);
        try {
            reading.entries.append(ValueEntry{lines.at(i), chartableValue(value)});
        } catch (const Error &error) {
            reading.error = error.message();
            break;
        }
    }
    return reading;
}

} // namespace orvane::clinical
