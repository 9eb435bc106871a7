#include "records/table.h"

#include "records/database.h"
#include "records/fieldvalues.h"

#include <QSqlQuery>
#include <algorithm>
#include <utility>

// Writes that bypass the current row: rows appended in bulk for an import, and the atomic counter.

namespace orvane::records {

Table::Row Table::rowToAppend(const QVariantList &values) const
{
    const TableDef &def = definition();
    Row row;
    for (int i = 0; i < def.fields.size(); ++i) {
        const QVariant stored = storedValue(fieldAt(i), values.value(i));
        row.values.append(stored.isNull() ? nullOf(def.fields.at(i).type) : stored);
    }
    requireValues(row);
    return row;
}

qint64 Table::appendRow(const QVariantList &values)
{
    Row row = rowToAppend(values);
    Database::Transaction transaction(m_db);
    insertRow(row, false);
    transaction.commit();
    return row.id;
}

void Table::appendRows(const QList<QVariantList> &rows)
{
    if (rows.isEmpty())
        return;
    const TableDef &def = definition();
    const QList<int> all = allFields();
    QStringList columns;
    QVariantList unused;
    addColumns(rowToAppend(rows.value(0)), all, &columns, unused);
    QStringList marks(columns.size(), QStringLiteral("?"));
    const QString rowMarks = QLatin1Char('(') + marks.join(QLatin1String(", ")) + QLatin1Char(')');
    // Statements carry a power of two of rows, so that each table has a handful of them, prepared
    // once and kept.
    qsizetype largest = 1;
    while (largest * 2 * columns.size() <= m_db.dialect().marksPerStatement())
        largest *= 2;
    Database::Transaction transaction(m_db);
    for (qsizetype first = 0; first < rows.size();) {
        qsizetype count = largest;
        while (count > rows.size() - first)
            count /= 2;
        QSqlQuery &insert = m_db.prepared(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                                              .arg(SqlDialect::quote(def.name), columns.join(QLatin1String(", ")),
                                                   QStringList(count, rowMarks).join(QLatin1String(", "))));
        QVariantList bindings;
        for (qsizetype i = first; i < first + count; ++i)
            addColumns(rowToAppend(rows.at(i)), all, nullptr, bindings);
        for (const QVariant &binding : std::as_const(bindings))
            insert.addBindValue(binding);
        m_db.run(insert);
        insert.finish();
        first += count;
    }
    transaction.commit();
}

double Table::increment(const QString &fieldName)
{
    requireOpen();
    checkBrowseMode();
    const FieldDef &field = definition().field(fieldName);
    const QString table = SqlDialect::quote(definition().name);
    const QString column = SqlDialect::quote(field.name);
    // One statement adds and reads back, its rows locked meanwhile: two running copies never meet.
    QSqlQuery &add = m_db.prepared(QStringLiteral("UPDATE %1 SET %2 = COALESCE(%2, 0) + 1 RETURNING %3")
                                       .arg(table, column, selectedColumns()));
    m_db.run(add);
    std::optional<Row> first;
    std::optional<Row> current;
    while (add.next()) {
        Row row = readRow(add, 0);
        if (!first || row.id < first->id)
            first = row;
        if (m_row && row.id == m_row->id)
            current = row;
    }
    add.finish();
    if (first) {
        setRow(current ? current : first);
        return first->values.at(definition().fieldIndex(field.name)).toDouble();
    }
    // An empty table: its first row is made under the table's lock.
    double value = 0;
    {
        Database::Transaction transaction(m_db, definition().name);
        QSqlQuery &update = m_db.prepared(
            QStringLiteral("UPDATE %1 SET %2 = COALESCE(%2, 0) + 1").arg(table, column));
        m_db.run(update);
        const bool hadRow = update.numRowsAffected() > 0;
        update.finish();
        if (!hadRow) {
            QSqlQuery &insert = m_db.prepared(QStringLiteral("INSERT INTO %1 (%2) VALUES (1)").arg(table, column));
            m_db.run(insert);
            insert.finish();
        }
        QSqlQuery &read = m_db.prepared(
            QStringLiteral("SELECT %1 FROM %2 ORDER BY %3 LIMIT 1").arg(column, table, SqlDialect::idColumn()));
        m_db.run(read);
        if (read.next())
            value = read.value(0).toDouble();
        read.finish();
        transaction.commit();
    }
    refresh();
    return value;
}

} // namespace orvane::records
