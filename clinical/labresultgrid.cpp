#include "clinical/labresultgrid.h"

#include "clinical/analytes.h"
#include "clinical/labreport.h"
#include "records/database.h"
#include "records/schema.h"

#include <QHash>
#include <QSqlQuery>
#include <algorithm>

namespace orvane::clinical {

namespace {

using records::SqlDialect;

const QStringList shownFields = {QStringLiteral("Date examen"), QStringLiteral("Laboratoire"), QStringLiteral("Code"),
                                 QStringLiteral("Libellé"), QStringLiteral("Analyte"), QStringLiteral("Résultat"),
                                 QStringLiteral("Valeur"), QStringLiteral("Unité"), QStringLiteral("Normale basse"),
                                 QStringLiteral("Normale haute"), QStringLiteral("Indicateur"), QStringLiteral("Résultat 2"),
                                 QStringLiteral("Unité 2"), QStringLiteral("Commentaire"), QStringLiteral("Alerte"),
                                 QStringLiteral("Vu"), QStringLiteral("Remplacé")};

} // namespace

QString StoredLabResult::rowName() const
{
    if (!analyte.isEmpty())
        return analyte;
    return label.isEmpty() ? code : label;
}

bool StoredLabResult::abnormal() const
{
    if (!flag.isEmpty() && flag != QLatin1String("N"))
        return true;
    if (!number)
        return false;
    const auto lowest = labNumber(low);
    const auto highest = labNumber(high);
    return (lowest && *number < *lowest) || (highest && *number > *highest);
}

QList<StoredLabResult> readPatientResults(records::Database &db, double recordNumber)
{
    QStringList columns;
    for (const QString &field : shownFields)
        columns.append(SqlDialect::quote(field));
    QSqlQuery &query = db.prepared(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? ORDER BY %4 DESC, %5")
                                       .arg(columns.join(QLatin1String(", ")), SqlDialect::quote(records::tables::results),
                                            SqlDialect::keyColumn(records::recordNumberField),
                                            SqlDialect::quote(QStringLiteral("Date examen")), SqlDialect::idColumn()));
    // Thousands of rows read once: none is kept in a cache of the driver.
    query.setForwardOnly(true);
    query.addBindValue(recordNumber);
    db.run(query);
    QList<StoredLabResult> results;
    while (query.next()) {
        StoredLabResult result;
        result.date = QDate::fromString(query.value(0).toString(), Qt::ISODate);
        result.laboratory = query.value(1).toString();
        result.code = query.value(2).toString();
        result.label = query.value(3).toString();
        result.analyte = query.value(4).toString();
        result.value = query.value(5).toString();
        if (!query.value(6).isNull())
            result.number = query.value(6).toDouble();
        result.unit = query.value(7).toString();
        result.low = query.value(8).toString();
        result.high = query.value(9).toString();
        result.flag = query.value(10).toString();
        result.value2 = query.value(11).toString();
        result.unit2 = query.value(12).toString();
        result.comment = query.value(13).toString();
        result.alert = query.value(14).toString();
        result.seen = query.value(15).toInt() != 0;
        result.replaced = query.value(16).toInt() != 0;
        results.append(result);
    }
    query.finish();
    return results;
}

void markResultsSeen(records::Database &db, double recordNumber)
{
    QSqlQuery &update = db.prepared(QStringLiteral("UPDATE %1 SET %2 = 1 WHERE %3 = ? AND COALESCE(%2, 0) = 0")
                                        .arg(SqlDialect::quote(records::tables::results),
                                             SqlDialect::quote(QStringLiteral("Vu")),
                                             SqlDialect::keyColumn(records::recordNumberField)));
    update.addBindValue(recordNumber);
    db.run(update);
}

QString LabGrid::cellText(const StoredLabResult &result)
{
    return result.unit.isEmpty() ? result.value : result.value + QLatin1Char(' ') + result.unit;
}

QList<StoredLabResult> LabGrid::series(int row) const
{
    QList<StoredLabResult> values;
    for (const std::optional<Cell> &cell : cells.value(row)) {
        if (cell)
            values.prepend(cell->shown);
    }
    return values;
}

LabGrid layOut(const QList<StoredLabResult> &results)
{
    LabGrid grid;
    QHash<QString, int> rowOf;
    QHash<QDate, int> columnOf;
    for (const StoredLabResult &result : results) {
        if (!rowOf.contains(result.rowName())) {
            rowOf.insert(result.rowName(), int(grid.rows.size()));
            grid.rows.append(result.rowName());
        }
        if (!columnOf.contains(result.date)) {
            columnOf.insert(result.date, int(grid.dates.size()));
            grid.dates.append(result.date);
        }
    }
    // Rows read the latest first; an undated result goes last.
    std::stable_sort(grid.dates.begin(), grid.dates.end(), [](const QDate &a, const QDate &b) {
        return a.isValid() && (!b.isValid() || a > b);
    });
    for (int i = 0; i < grid.dates.size(); ++i)
        columnOf[grid.dates.at(i)] = i;
    grid.cells = QList<QList<std::optional<LabGrid::Cell>>>(
        grid.rows.size(), QList<std::optional<LabGrid::Cell>>(grid.dates.size()));
    for (const StoredLabResult &result : results) {
        std::optional<LabGrid::Cell> &cell = grid.cells[rowOf.value(result.rowName())][columnOf.value(result.date)];
        if (!cell)
            cell = LabGrid::Cell{result, {}, {}};
        else if (result.replaced)
            cell->history.append(result);
        else if (cell->shown.replaced) {
            cell->history.append(cell->shown);
            cell->shown = result;
        } else
            cell->alsoSent.append(result);
    }
    return grid;
}

AnalyteChart chartOf(const QList<StoredLabResult> &values, const AnalyteCatalogue &catalogue)
{
    AnalyteChart chart;
    if (values.isEmpty())
        return chart;
    const StoredLabResult &latest = values.last();
    const Analyte *analyte = catalogue.analyte(latest.analyte);
    chart.unit = analyte ? analyte->unit : latest.unit;
    auto inUnit = [&](const std::optional<double> &number, const QString &unit) -> std::optional<double> {
        if (!number)
            return std::nullopt;
        if (analyte)
            return analyte->converted(*number, unit);
        return unitKey(unit) == unitKey(chart.unit) ? number : std::nullopt;
    };
    for (const StoredLabResult &value : values) {
        if (const auto point = inUnit(value.number, value.unit); point && value.date.isValid())
            chart.points.append({value.date, *point});
        else
            ++chart.leftOut;
    }
    chart.low = inUnit(labNumber(latest.low), latest.unit);
    chart.high = inUnit(labNumber(latest.high), latest.unit);
    return chart;
}

} // namespace orvane::clinical
