#pragma once

#include <QObject>
#include <QString>

namespace orvane::records {

class Table;

// Tells when a table's current row belongs to another patient (another record number), not
// when the same patient's row is read again or stored.
class PatientChange : public QObject
{
    Q_OBJECT

public:
    explicit PatientChange(Table &table, QObject *parent = nullptr);

signals:
    void changed();

private:
    QString currentNumber() const;

    Table &m_table;
    QString m_shown;
};

} // namespace orvane::records
