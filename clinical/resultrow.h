#pragma once

#include "records/schema.h"

#include <QVariantList>

namespace orvane::clinical {

// A row of "RESULTATS.DB" built field by field, in the order of the schema.
class ResultRow
{
public:
    ResultRow()
        : m_values(records::tableDef(records::tables::results).fields.size())
    {
    }
    ResultRow &set(const QString &field, const QVariant &value)
    {
        m_values[records::tableDef(records::tables::results).fieldIndex(field)] = value;
        return *this;
    }
    const QVariantList &values() const { return m_values; }

private:
    QVariantList m_values;
};

} // namespace orvane::clinical
