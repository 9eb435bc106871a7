#include "records/patientchange.h"

#include "records/table.h"

namespace orvane::records {

PatientChange::PatientChange(Table &table, QObject *parent)
    : QObject(parent)
    , m_table(table)
    , m_shown(currentNumber())
{
    connect(&table, &Table::currentChanged, this, [this] {
        const QString number = currentNumber();
        if (number == m_shown)
            return;
        m_shown = number;
        emit changed();
    });
}

QString PatientChange::currentNumber() const
{
    return m_table.isOpen() && !m_table.isEmpty() ? m_table.text(recordNumberField) : QString();
}

} // namespace orvane::records
