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
