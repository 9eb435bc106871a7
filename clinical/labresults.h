#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvane::records {
class Table;
}

namespace orvane::clinical {

// A lab value of the results tab: its field, label, value list and line in the results text.
struct LabField
{
    QString objectName;
    QString label;
    QString valueList; // field of the measures table
    QString linePrefix;
    QString lineSuffix;

    QString resultLine(const QString &value) const { return linePrefix + value + lineSuffix; }
};

// The eight values written on validation, in their order on the tab.
const QList<LabField> &labFields();

// The clearance, kept as its latest value only.
inline const QString clearanceObjectName = QStringLiteral("clearance");
inline const QString clearanceLabel = QStringLiteral("Clearance");
inline const QString clearanceField = QStringLiteral("Clearance");

// A validation of typed values: `typed` holds the texts of the eight fields in the order of
// labFields(), `clearance` the clearance's text. Values are taken exactly as typed; empty ones
// are left out.
struct LabEntry
{
    QStringList typed;
    QString clearance;
};

// The results text after a validation: a date block (even on a day already dated, even with no
// value), then one line per value.
void appendLabResults(QString &results, const LabEntry &entry, const QString &dateText);

// Writes a validation: the results text of the history row ("Bilans"), each value into its value
// list of the measures row, the clearance replaced when one is typed (and kept as a result of the
// day, so that a later creatinine does not overwrite it); the measures row is stored, then the history row.
void validateLabResults(records::Table &history, records::Table &measures, const LabEntry &entry, const QDate &day);

} // namespace orvane::clinical
