#pragma once

#include "records/schema.h"

#include <QVariant>

namespace orvane::records {

// The values of a field as the program holds them, as the base stores them and as they sort.

// The empty value of a field, typed as the field's values are.
QVariant nullOf(FieldType type);

// A value written by the program (a typed text included) as the field holds it: converted to its
// type, or a null value for an empty text. Throws the program's message for a text of another type.
QVariant storedValue(const FieldDef &field, const QVariant &value);

// A column read from the base as the field holds it.
QVariant loadedValue(const FieldDef &field, const QVariant &value);

// The field's value as a statement binds it.
QVariant boundValue(const FieldDef &field, const QVariant &value);

// The value of the field's hidden sort-key column.
QVariant keyValue(const FieldDef &field, const QVariant &value);

// The value as the field shows it in a text: whole numbers without decimals, dates as short dates.
QString fieldText(const FieldDef &field, const QVariant &value);

} // namespace orvane::records
