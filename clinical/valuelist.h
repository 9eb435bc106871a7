#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace orvane::records {
class Table;
}

namespace orvane::clinical {

// A value list of the measures table: entries of two lines, the entry's date then its value as
// typed, each line ended by a lone CR. Readers accept CR, LF or CR LF (splitLines); the last line
// (lastLine) is the latest value.

// Adds an entry at the end, nothing inserted before the date.
void appendValueEntry(QString &list, const QString &dateText, const QString &value);
// The same on a value list of the measures row, which must be in edit mode; nothing is stored yet.
void appendValueEntry(records::Table &measures, const QString &list, const QString &dateText, const QString &value);

// Whether the list holds an entry of that date and value.
bool holdsValueEntry(const QString &list, const QString &dateText, const QString &value);
// Puts the new value in place of the entry of that date and former value; false when there is none.
bool replaceValueEntry(QString &list, const QString &dateText, const QString &former, const QString &value);

struct ValueEntry
{
    QString date;
    double value = 0;
};

struct ValueListReading
{
    QList<ValueEntry> entries; // the entries read before any faulty one
    QString error; // the message for the first value that is not a number, empty when none is
};

// Reads the entries in order and stops at the first value that is not a decimal number with a
// point; a date without its value line counts as an empty value. A list of fewer than two lines
// has no entries and no error.
ValueListReading readValueList(const QString &list);

} // namespace orvane::clinical
