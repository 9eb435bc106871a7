#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvane::records {
class Database;
}

namespace orvane::clinical {

// A row of "RESULTATS.DB" as the results view shows it.
struct StoredLabResult
{
    QDate date;
    QString laboratory;
    QString code;
    QString label;
    QString analyte;
    QString value;
    std::optional<double> number;
    QString unit;
    QString low;
    QString high;
    QString flag;
    QString value2;
    QString unit2;
    QString comment;
    QString alert;
    bool seen = false;
    bool replaced = false;

    // What the row is in the view: its analyte, else the laboratory's label, else its code.
    QString rowName() const;
    // Flagged by the laboratory, or a number outside the bounds it sent.
    bool abnormal() const;
};

// Every result of the patient, the latest exam first, in one statement.
QList<StoredLabResult> readPatientResults(records::Database &db, double recordNumber);
// The physician has seen the patient's results.
void markResultsSeen(records::Database &db, double recordNumber);

// The results as the view lays them out: one row per analyte, one column per exam date (the
// latest first); a corrected value shows with the one it replaced in its history.
struct LabGrid
{
    struct Cell
    {
        StoredLabResult shown;
        QList<StoredLabResult> history; // former values, replaced by the one shown
        QList<StoredLabResult> alsoSent; // the same analyte sent again that day (in a second unit)
    };
    QStringList rows;
    QList<QDate> dates;
    // cells[row][column]; an empty optional where the exam did not measure it.
    QList<QList<std::optional<Cell>>> cells;

    // The text of a cell: the value and its unit.
    static QString cellText(const StoredLabResult &result);
    // The analyte's values over time, oldest first, for its chart.
    QList<StoredLabResult> series(int row) const;
};

LabGrid layOut(const QList<StoredLabResult> &results);

class AnalyteCatalogue;

// What the chart of an analyte draws: its values in one unit, the analyte's when the catalogue
// knows it, else the latest value's; a value in a unit that cannot be converted is left out.
struct AnalyteChart
{
    struct Point
    {
        QDate date;
        double value = 0;
    };
    QList<Point> points; // oldest first
    QString unit;
    std::optional<double> low; // the latest bounds, in that unit
    std::optional<double> high;
    int leftOut = 0;
};
AnalyteChart chartOf(const QList<StoredLabResult> &values, const AnalyteCatalogue &catalogue);

} // namespace orvane::clinical
