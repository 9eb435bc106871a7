#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace orvane::records {
class Table;
}

namespace orvane::clinical {

// Changes a text field of the table's current row and stores the row at once. A patient without
// a row gets one. When the store refuses the row it stays pending with the change, and the store's
// message travels on.
void changeTextField(records::Table &table, const QString &field, const std::function<void(QString &)> &change);

// Appends lines to a patient text of the current row by the line-append rule and stores the row.
void appendLinesToField(records::Table &table, const QString &field, const QStringList &lines);

} // namespace orvane::clinical
