#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace orvane::records {
class Database;
}

namespace orvane::clinical {

// The clearances of a patient as dated rows of "RESULTATS.DB", computed from a creatinine or typed
// by the physician: the latest by date is the one the prescription reads.
class ClearanceRecord
{
public:
    static const QString analyte;
    // The laboratory of a clearance the physician typed.
    static const QString typedBy;

    explicit ClearanceRecord(records::Database &db);

    // Files a typed clearance dated on the day, unless that day already holds it.
    void fileTyped(double recordNumber, const QString &text, const QDate &day) const;
    // Whether a clearance, typed or computed, is dated after the day.
    bool datedAfter(double recordNumber, const QDate &day) const;
    // The day of the latest clearance of that text; none when no dated row holds it.
    std::optional<QDate> dayOf(double recordNumber, const QString &text) const;

private:
    records::Database &m_db;
};

} // namespace orvane::clinical
