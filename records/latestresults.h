#pragma once

#include <QString>
#include <QStringList>

namespace orvane::records {

class SqlDialect;

// Each patient's last valid result of each analyte: of those the laboratory did not replace, the
// one of the latest date, the last filed on that date; an undated result comes before any dated
// one. A table kept by the engine's triggers in the transaction of every store, change and removal
// of a result, so that the last value of every patient is read without comparing his results.
namespace latestResults {
inline const QString name = QStringLiteral("RESULTATS.DB~derniers");
// The analyte in capitals, the engine's way, as the searches compare it.
inline const QString analyteKey = QStringLiteral("_analyte");
} // namespace latestResults

// The table, its triggers and what fills it from the results a base holds already.
QStringList createLatestResults(const SqlDialect &dialect);

} // namespace orvane::records
