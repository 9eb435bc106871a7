#include "records/table.h"

#include "platform/error.h"
#include "records/database.h"
#include "records/fieldvalues.h"

#include <QPointer>
#include <QSqlQuery>
#include <utility>

// Storing and deleting rows: the pending row's INSERT or UPDATE, posts of several tables together,
// the row kept pending when the transaction around it is rolled back, and the delete of the current row.

namespace orvane::records {

void Table::post()
{
    requireOpen();
    flushEditors();
    if (!isEditing())
        return;
    requireValues(*m_row);
    // An unchanged row is already stored as it stands.
    if (m_state == State::Insert || m_modified) {
        const Pending pending{m_state, *m_row, m_before, m_modified, m_changedFields};
        writeRow(*m_row, m_state == State::Insert);
        keepPendingUntilCommit(pending);
    }
    finishPost();
}

void Table::finishPost()
{
    m_state = State::Browse;
    m_before.reset();
    m_modified = false;
    m_changedFields.clear();
    m_bof = m_eof = false;
    emit stateChanged();
}

void Table::postTogether(const QList<Table *> &tables)
{
    if (tables.isEmpty())
        return;
    Database &db = tables.first()->m_db;
    QList<Table *> together;
    int writes = 0;
    for (Table *table : tables) {
        table->requireOpen();
        table->flushEditors();
        if (table->m_state == State::Insert || (table->m_state == State::Edit && table->m_modified))
            ++writes;
        if (table->m_state == State::Insert && table->definition().perPatient && db.dialect().writesTablesTogether())
            together.append(table);
    }
    // One statement is a transaction of its own; several go in one.
    std::optional<Database::Transaction> transaction;
    if (writes > 1 && (together.size() < 2 || writes > together.size()))
        transaction.emplace(db);
    for (Table *table : tables) {
        if (together.size() < 2 || !together.contains(table))
            table->post();
    }
    if (together.size() >= 2)
        insertTogether(together);
    if (transaction)
        transaction->commit();
}

void Table::insertTogether(const QList<Table *> &tables)
{
    Database &db = tables.first()->m_db;
    QStringList writes;
    QStringList columns;
    QString joins;
    QVariantList bindings;
    QList<Pending> pendings;
    for (int i = 0; i < tables.size(); ++i) {
        Table &table = *tables.at(i);
        table.requireValues(*table.m_row);
        pendings.append(Pending{table.m_state, *table.m_row, table.m_before, table.m_modified, table.m_changedFields});
        const QString name = QStringLiteral("w%1").arg(i);
        writes.append(QStringLiteral("%1 AS (%2)").arg(name, table.insertStatement(*table.m_row, true, bindings)));
        columns.append(name + QStringLiteral(".*"));
        joins += QStringLiteral(" LEFT JOIN %1 ON 1 = 1").arg(name);
    }
    // Each insert returns its one row: side by side, they make the one row read back.
    QSqlQuery &query = db.prepared(QStringLiteral("WITH %1 SELECT %2 FROM (SELECT 1) AS one%3")
                                       .arg(writes.join(QLatin1String(", ")), columns.join(QLatin1String(", ")), joins));
    for (const QVariant &binding : std::as_const(bindings))
        query.addBindValue(binding);
    db.run(query);
    QList<std::optional<Row>> stored;
    if (query.next()) {
        int column = 0;
        for (Table *table : tables) {
            stored.append(query.value(column).isNull() ? std::nullopt : std::optional<Row>(table->readRow(query, column)));
            column += 1 + int(table->definition().fields.size());
        }
    }
    query.finish();
    // Every table takes its outcome before the first refusal is told.
    std::optional<Error> refused;
    for (int i = 0; i < tables.size(); ++i) {
        Table &table = *tables.at(i);
        try {
            if (stored.value(i))
                *table.m_row = *stored.at(i);
            else
                table.refuseIfStored(*table.m_row);
            table.keepPendingUntilCommit(pendings.at(i));
            table.finishPost();
        } catch (const Error &error) {
            if (!refused)
                refused = error;
        }
    }
    if (refused)
        throw *refused;
}

void Table::requireValues(const Row &row) const
{
    const TableDef &def = definition();
    for (int i = 0; i < def.fields.size(); ++i) {
        const QVariant &value = row.values.at(i);
        if (def.fields.at(i).required && (value.isNull() || value.toString().isEmpty()))
            throw Error::requiredField(def.fields.at(i).name);
    }
}

// Inside a larger transaction the row is stored only once that commits: when it is rolled back
// instead, the row shows as pending again, so the next post writes it rather than losing it.
void Table::keepPendingUntilCommit(const Pending &pending)
{
    if (!m_db.inTransaction())
        return;
    m_db.onRollback([table = QPointer<Table>(this), pending, postedId = m_row->id]() {
        if (table && table->m_row && table->m_row->id == postedId)
            table->restorePending(pending);
    });
}

void Table::restorePending(const Pending &pending)
{
    // A later post of the same row in the same transaction was restored first: join its changes.
    if (isEditing()) {
        m_changedFields.unite(pending.changedFields);
        m_modified = m_modified || pending.modified;
        if (pending.state == State::Insert) {
            m_state = State::Insert;
            m_row->id = pending.row.id;
            m_before = pending.before;
        }
    } else {
        m_state = pending.state;
        m_row = pending.row;
        m_before = pending.before;
        m_modified = pending.modified;
        m_changedFields = pending.changedFields;
    }
    emit stateChanged();
}

void Table::addColumns(const Row &row, const QList<int> &fieldIndexes, QStringList *columns,
                       QVariantList &bindings) const
{
    const TableDef &def = definition();
    if (m_keyed.isEmpty()) {
        const QStringList keyed = def.keyedFields();
        for (const FieldDef &field : def.fields)
            m_keyed.append(keyed.contains(field.name));
    }
    for (const int index : fieldIndexes) {
        const FieldDef &field = def.fields.at(index);
        if (columns)
            columns->append(SqlDialect::quote(field.name));
        bindings.append(boundValue(fieldAt(index), row.values.at(index)));
        if (m_keyed.at(index)) {
            if (columns)
                columns->append(SqlDialect::keyColumn(field.name));
            bindings.append(keyValue(field, row.values.at(index)));
        }
    }
}

void Table::writeRow(Row &row, bool inserting)
{
    // Each statement here is whole by itself, and the one that stores the row commits on its own:
    // no transaction around it, which would cost a server two round trips more.
    // A row deleted meanwhile by another running copy is written anew rather than lost.
    if (inserting || !updateRow(row))
        insertRow(row, true);
}

// Only the fields changed here are written: another running copy's change to the other fields of
// the row stays. A field another copy stored since this one read the row is never overwritten.
bool Table::updateRow(const Row &row)
{
    QStringList columns;
    QVariantList bindings;
    const QList<int> changed = changedFields();
    addColumns(row, changed, &columns, bindings);
    QStringList assignments;
    for (const QString &column : std::as_const(columns))
        assignments.append(column + QStringLiteral(" = ?"));
    bindings.append(row.id);
    QString unchanged;
    for (const int index : changed) {
        unchanged += QStringLiteral(" AND %1 IS NOT DISTINCT FROM ?").arg(SqlDialect::quote(definition().fields.at(index).name));
        bindings.append(boundValue(fieldAt(index), m_before ? m_before->values.at(index) : QVariant()));
    }
    QSqlQuery &update = m_db.prepared(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?%4")
                                          .arg(SqlDialect::quote(definition().name),
                                               assignments.join(QLatin1String(", ")), SqlDialect::idColumn(), unchanged));
    for (const QVariant &binding : std::as_const(bindings))
        update.addBindValue(binding);
    m_db.run(update);
    const bool written = update.numRowsAffected() > 0;
    update.finish();
    if (written)
        return true;
    if (auto stored = rowById(row.id))
        refuseOverwrite(*stored);
    return false;
}

void Table::insertRow(Row &row, bool merging)
{
    const QList<int> all = allFields();
    QVariantList bindings;
    // Rows appended in bulk reuse one statement, and its columns are named once.
    if (!merging && m_appendStatement) {
        addColumns(row, all, nullptr, bindings);
        runInsert(*m_appendStatement, bindings, row, false);
        return;
    }
    QSqlQuery &insert = m_db.prepared(insertStatement(row, merging, bindings));
    if (!merging)
        m_appendStatement = &insert;
    if (!runInsert(insert, bindings, row, merging) && merging)
        refuseIfStored(row);
}

QString Table::insertStatement(const Row &row, bool merging, QVariantList &bindings) const
{
    const TableDef &def = definition();
    const QList<int> all = allFields();
    QStringList columns;
    addColumns(row, all, &columns, bindings);
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks.append(QStringLiteral("?"));
    QString conflict;
    if (def.perPatient && merging) {
        // Another running copy created the patient's row first: the fields changed here go into it.
        QStringList changed;
        QVariantList unused;
        const int link = def.fieldIndex(recordNumberField);
        addColumns(row, m_changedFields.isEmpty() ? QList<int>{link} : changedFields(), &changed, unused);
        QStringList assignments;
        QStringList stillEmpty;
        for (const QString &column : std::as_const(changed)) {
            assignments.append(QStringLiteral("%1 = excluded.%1").arg(column));
            // This copy read no row: a field the other copy filled is not overwritten.
            if (column != SqlDialect::quote(recordNumberField) && !column.startsWith(QLatin1String("\"_k_")))
                stillEmpty.append(QStringLiteral("%1.%2 IS NULL").arg(SqlDialect::quote(def.name), column));
        }
        conflict = QStringLiteral(" ON CONFLICT (%1) DO UPDATE SET %2")
                       .arg(SqlDialect::quote(recordNumberField), assignments.join(QLatin1String(", ")));
        if (!stillEmpty.isEmpty())
            conflict += QStringLiteral(" WHERE ") + stillEmpty.join(QLatin1String(" AND "));
    }
    // A post reads back the row as stored, which may be another copy's row with these fields put in.
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)%4 RETURNING %5")
        .arg(SqlDialect::quote(def.name), columns.join(QLatin1String(", ")), marks.join(QLatin1String(", ")), conflict,
             merging ? selectedColumns() : SqlDialect::idColumn());
}

bool Table::runInsert(QSqlQuery &insert, const QVariantList &bindings, Row &row, bool wholeRow)
{
    for (const QVariant &binding : bindings)
        insert.addBindValue(binding);
    m_db.run(insert);
    const bool inserted = insert.next();
    if (inserted && wholeRow)
        row = readRow(insert, 0);
    else if (inserted)
        row.id = insert.value(0).toLongLong();
    insert.finish();
    return inserted;
}

void Table::remove()
{
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (!m_row)
        return;
    storeDetails();
    const Row gone = *m_row;
    QSqlQuery &query = m_db.prepared(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                                         .arg(SqlDialect::quote(definition().name), SqlDialect::idColumn()));
    query.addBindValue(gone.id);
    m_db.run(query);
    query.finish();
    if (m_state == State::Edit) {
        m_state = State::Browse;
        m_before.reset();
        m_modified = false;
        m_changedFields.clear();
        emit stateChanged();
    }
    moveToNeighbourOf(gone);
}

} // namespace orvane::records
