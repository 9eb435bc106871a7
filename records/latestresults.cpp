#include "records/latestresults.h"

#include "records/practicesearch.h"
#include "records/schema.h"
#include "records/sqldialect.h"

namespace orvane::records {

namespace {

// The fields of a result the table copies: what the search shows of the last value.
const QStringList copiedFields = {resultsTable::date, resultsTable::analyte, resultsTable::label, resultsTable::value,
                                  resultsTable::unit};

QString patientKey(const QString &row)
{
    return row + QLatin1Char('.') + SqlDialect::keyColumn(recordNumberField);
}

QString analyteOf(const QString &row)
{
    return QStringLiteral("upper(%1)").arg(SqlDialect::column(row, resultsTable::analyte));
}

QStringList tableColumns()
{
    QStringList columns = {SqlDialect::quote(latestResults::analyteKey), SqlDialect::keyColumn(recordNumberField)};
    for (const QString &field : copiedFields)
        columns.append(SqlDialect::quote(field));
    return columns;
}

QString insertInto()
{
    return QStringLiteral("INSERT INTO %1 (%2) ")
        .arg(SqlDialect::quote(latestResults::name), tableColumns().join(QLatin1String(", ")));
}

// The valid results `r`, read as the table's columns, then the `more` ones given.
QString fromResults(const QString &more = {})
{
    const QString r = QStringLiteral("r");
    QStringList columns = {analyteOf(r) + QStringLiteral(" AS ") + SqlDialect::quote(latestResults::analyteKey), patientKey(r)};
    for (const QString &field : copiedFields)
        columns.append(SqlDialect::column(r, field));
    return QStringLiteral("SELECT %1%2 FROM %3 r WHERE %4 <> '' AND COALESCE(%5, 0) <> 1")
        .arg(columns.join(QLatin1String(", ")), more, SqlDialect::quote(resultsTable::name),
             SqlDialect::column(r, resultsTable::analyte), SqlDialect::column(r, resultsTable::replaced));
}

// A patient's results of an analyte, the last first.
QString lastFirst()
{
    return QStringLiteral("%1 IS NULL, %1 DESC, r.%2 DESC")
        .arg(SqlDialect::column(QStringLiteral("r"), resultsTable::date), SqlDialect::idColumn());
}

QString createTable(const SqlDialect &dialect)
{
    const TableDef &results = tableDef(resultsTable::name);
    QStringList columns = {SqlDialect::quote(latestResults::analyteKey) + QLatin1Char(' ')
                               + dialect.columnType(FieldType::Text) + QStringLiteral(" NOT NULL"),
                           SqlDialect::keyColumn(recordNumberField) + QLatin1Char(' ')
                               + dialect.columnType(FieldType::Number) + QStringLiteral(" NOT NULL")};
    for (const QString &field : copiedFields)
        columns.append(SqlDialect::quote(field) + QLatin1Char(' ') + dialect.columnType(results.field(field).type));
    // In the order a search reads it: an analyte's patients by number, as the patients' table is.
    columns.append(QStringLiteral("PRIMARY KEY (%1, %2)")
                       .arg(SqlDialect::quote(latestResults::analyteKey), SqlDialect::keyColumn(recordNumberField)));
    return QStringLiteral("CREATE TABLE %1 (%2)%3")
        .arg(SqlDialect::quote(latestResults::name), columns.join(QLatin1String(", ")), dialect.keyOrderedTable());
}

// The patient and analyte of the result `row` get their last result again.
QString refresh(const SqlDialect &dialect, const QString &row)
{
    const QString group = QStringLiteral("%1 = %2 AND %3 = %4");
    // Without it, a second room filing the same patient's analyte at once would fail on the row the
    // first one put in.
    return dialect.takeInTrigger(latestResults::name)
        + QStringLiteral("DELETE FROM %1 WHERE %2; ")
              .arg(SqlDialect::quote(latestResults::name),
                   group.arg(SqlDialect::quote(latestResults::analyteKey), analyteOf(row),
                             SqlDialect::keyColumn(recordNumberField), patientKey(row)))
        + insertInto() + fromResults() + QStringLiteral(" AND ")
        + group.arg(analyteOf(QStringLiteral("r")), analyteOf(row), patientKey(QStringLiteral("r")), patientKey(row))
        + QStringLiteral(" ORDER BY %1 LIMIT 1;").arg(lastFirst());
}

QString fill()
{
    const QString rank = QStringLiteral(", row_number() OVER (PARTITION BY %1, %2 ORDER BY %3) AS n")
                             .arg(analyteOf(QStringLiteral("r")), patientKey(QStringLiteral("r")), lastFirst());
    return insertInto()
        + QStringLiteral("SELECT %1 FROM (%2) ranked WHERE n = 1")
              .arg(tableColumns().join(QLatin1String(", ")), fromResults(rank));
}

} // namespace

QStringList createLatestResults(const SqlDialect &dialect)
{
    return QStringList{createTable(dialect)}
        + dialect.createRowTriggers(latestResults::name, resultsTable::name,
                                    [&dialect](const QString &row) { return refresh(dialect, row); })
        + QStringList{fill()};
}

} // namespace orvane::records
