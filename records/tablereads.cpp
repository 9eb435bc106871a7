#include "records/table.h"

#include "records/database.h"
#include "records/fieldvalues.h"

#include <QSqlQuery>
#include <utility>

// The SELECT statements that read rows in the order of the current ordering, and the rows they read.

namespace orvane::records {

QVariantList Table::keyOf(const Row &row) const
{
    QVariantList key;
    for (const int index : m_orderingIndexes)
        key.append(keyValue(m_def->fields.at(index), row.values.at(index)));
    key.append(row.id);
    return key;
}

std::optional<Table::Row> Table::fetchOne(Direction direction, const QVariantList &from, int compared,
                                          bool inclusive, Details details) const
{
    const QList<Row> rows = fetch(direction, from, compared, inclusive, 1, details);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

QList<Table::Row> Table::fetch(Direction direction, const QVariantList &from, int compared, bool inclusive,
                               int limit, Details details) const
{
    if (from.isEmpty() || compared == 0)
        return runSelect(QString(), {}, direction, limit, details);
    return runSelect(keyCondition(direction, compared, inclusive), from.mid(0, compared), direction, limit, details);
}

QString Table::keyCondition(Direction direction, int compared, bool inclusive) const
{
    QStringList columns;
    QStringList marks;
    for (int i = 0; i < compared; ++i) {
        columns.append(i < m_orderingIndexes.size()
                           ? SqlDialect::keyColumn(m_def->fields.at(m_orderingIndexes.at(i)).name)
                           : SqlDialect::idColumn());
        marks.append(QStringLiteral("?"));
    }
    const QString op = direction == Direction::Forward ? (inclusive ? QStringLiteral(">=") : QStringLiteral(">"))
                                                       : (inclusive ? QStringLiteral("<=") : QStringLiteral("<"));
    return QStringLiteral("(%1) %2 (%3)").arg(columns.join(QLatin1String(", ")), op, marks.join(QLatin1String(", ")));
}

std::optional<Table::Row> Table::rowById(qint64 id, Details details) const
{
    const QList<Row> rows = runSelect(SqlDialect::idColumn() + QStringLiteral(" = ?"), {id}, Direction::Forward, 1, details);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

QList<int> Table::allFields() const
{
    QList<int> all;
    for (int i = 0; i < definition().fields.size(); ++i)
        all.append(i);
    return all;
}

QString Table::selectedColumns() const
{
    QStringList columns{SqlDialect::idColumn()};
    for (const FieldDef &field : definition().fields)
        columns.append(SqlDialect::quote(field.name));
    return columns.join(QLatin1String(", "));
}

Table::Row Table::readRow(const QSqlQuery &query, int column) const
{
    Row row;
    row.id = query.value(column).toLongLong();
    for (int i = 0; i < definition().fields.size(); ++i)
        row.values.append(loadedValue(fieldAt(i), query.value(column + 1 + i)));
    return row;
}

QString Table::selectSql(const QString &where, const QVariantList &bindings, Direction direction, int limit,
                         QVariantList &values, const QString &leading) const
{
    const TableDef &def = *m_def;
    if (m_selectStart.isEmpty())
        m_selectStart = QStringLiteral("%1 FROM %2").arg(selectedColumns(), SqlDialect::quote(def.name));
    QString &orderBy = direction == Direction::Forward ? m_orderForward : m_orderBackward;
    if (orderBy.isEmpty()) {
        const QString order = direction == Direction::Forward ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
        QStringList keys;
        for (const int index : m_orderingIndexes)
            keys.append(SqlDialect::keyColumn(def.fields.at(index).name) + order);
        keys.append(SqlDialect::idColumn() + order);
        orderBy = QStringLiteral(" ORDER BY ") + keys.join(QLatin1String(", "));
    }
    QString sql = QStringLiteral("SELECT ") + leading + m_selectStart;
    if (m_master) {
        sql += QStringLiteral(" WHERE ") + SqlDialect::quote(m_linkField) + QStringLiteral(" = ?");
        values.append(masterValue());
        if (!where.isEmpty())
            sql += QStringLiteral(" AND ") + where;
    } else if (!where.isEmpty()) {
        sql += QStringLiteral(" WHERE ") + where;
    }
    values += bindings;
    return sql + orderBy + QStringLiteral(" LIMIT ") + QString::number(limit);
}

QList<Table::Row> Table::runSelect(const QString &where, const QVariantList &bindings, Direction direction,
                                   int limit, Details details) const
{
    QVariantList values;
    QString sql = selectSql(where, bindings, direction, limit, values);
    // The row a move reaches comes with the rows its per-patient details will show: one statement.
    const QList<Table *> joined = details == Details::Joined && limit == 1 ? joinedDetails() : QList<Table *>();
    if (!joined.isEmpty())
        sql = joinedSelect(sql, joined);
    QSqlQuery &query = m_db.prepared(sql);
    for (const QVariant &value : std::as_const(values))
        query.addBindValue(value);
    m_db.run(query);
    QList<Row> rows;
    while (query.next()) {
        rows.append(readRow(query, 0));
        if (!joined.isEmpty())
            readJoined(query, 1 + int(m_def->fields.size()), joined);
    }
    query.finish();
    return rows;
}

} // namespace orvane::records
