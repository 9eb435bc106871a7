#include "clinical/valuelist.h"

#include "platform/conversions.h"
#include "platform/error.h"
#include "platform/textlines.h"
#include "records/table.h"

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
    list += endLines({dateText, value}, loneCr);
}

void appendValueEntry(records::Table &measures, const QString &list, const QString &dateText, const QString &value)
{
    QString text = measures.text(list);
    appendValueEntry(text, dateText, value);
    measures.setText(list, text);
}

namespace {

// The index of the value line of the entry of that date and value; -1 when there is none.
qsizetype entryValueLine(const QStringList &lines, const QString &dateText, const QString &value)
{
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
        if (lines.at(i) == dateText && lines.at(i + 1) == value)
            return i + 1;
    }
    return -1;
}

} // namespace

bool holdsValueEntry(const QString &list, const QString &dateText, const QString &value)
{
    return entryValueLine(splitLines(list), dateText, value) >= 0;
}

bool replaceValueEntry(QString &list, const QString &dateText, const QString &former, const QString &value)
{
    QStringList lines = splitLines(list);
    const qsizetype line = entryValueLine(lines, dateText, former);
    if (line < 0)
        return false;
    lines[line] = value;
    list.clear();
    for (const QString &kept : std::as_const(lines))
        list += kept + QLatin1Char('\r');
    return true;
}

ValueListReading readValueList(const QString &list)
{
    ValueListReading reading;
    const QStringList lines = splitLines(list);
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
