#pragma once

#include "records/table.h"

namespace orvane::test {

// A field of a patient's row as stored, read through a table object of its own, as another window
// sees it; "<none>" when the patient has no row there.
inline QString storedField(records::Database &db, const QString &table, double recordNumber, const QString &field)
{
    records::Table reader(db, table);
    reader.open();
    return reader.locate(records::recordNumberField, recordNumber) ? reader.text(field) : QStringLiteral("<none>");
}

} // namespace orvane::test
