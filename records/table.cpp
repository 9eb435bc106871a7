#include "records/table.h"

#include "platform/clock.h"
#include "platform/conversions.h"
#include "platform/error.h"
#include "records/database.h"

#include <QLocale>
#include <QPointer>
#include <QRegularExpression>
#include <QSqlQuery>
#include <algorithm>
#include <cmath>
#include <utility>

namespace orvane::records {

namespace {

const QString lineBreak = QStringLiteral("\r\n");

QVariant nullOf(FieldType type)
{
    switch (type) {
    case FieldType::Number: return QVariant(QMetaType::fromType<double>());
    case FieldType::Short: return QVariant(QMetaType::fromType<int>());
    default: return QVariant(QMetaType::fromType<QString>());
    }
}

QVariant keyValue(const FieldDef &field, const QVariant &value)
{
    if (field.ordersAsNumber())
        return value.isNull() ? emptyNumberKey : value.toDouble();
    if (field.type == FieldType::Date)
        return value.isNull() ? QString() : value.toDate().toString(Qt::ISODate);
    return sortKey(value.toString());
}

QDate parseDate(const QString &text)
{
    const QString trimmed = text.trimmed();
    for (const QString &format : {QLocale().dateFormat(QLocale::ShortFormat), QStringLiteral("dd/MM/yyyy"),
                                  QStringLiteral("d/M/yyyy"), QStringLiteral("yyyy-MM-dd")}) {
        const QDate date = QLocale().toDate(trimmed, format);
        if (date.isValid())
            return date;
    }
    throw Error(QStringLiteral("'%1' n'est pas une date correcte").arg(text));
}

} // namespace

Table::Table(Database &db, const QString &tableName, QObject *parent)
    : QObject(parent)
    , m_db(db)
    , m_tableName(tableName)
{
}

Table::~Table()
{
    if (m_master)
        m_master->m_details.removeAll(this);
    for (Table *detail : std::as_const(m_details))
        detail->m_master = nullptr;
}

void Table::setTableName(const QString &tableName)
{
    if (isOpen())
        throw Error(QStringLiteral("Impossible d'effectuer cette opération sur un ensemble de données ouvert"));
    // An ordering belongs to its table: another table opens in its own default ordering.
    if (&tableDef(tableName) != &definition()) {
        m_orderingFields.clear();
        m_orderingIndexes.clear();
        m_orderForward.clear();
        m_orderBackward.clear();
    }
    m_tableName = tableName;
    m_def = nullptr;
    m_selectStart.clear();
    m_keyed.clear();
    m_appendStatement = nullptr;
}

const TableDef &Table::definition() const
{
    if (!m_def)
        return tableDef(m_tableName);
    return *m_def;
}

int Table::fieldIndex(const QString &fieldName) const
{
    const TableDef &def = definition();
    const int index = def.fieldIndex(fieldName);
    if (index < 0)
        def.field(fieldName); // throws the "not found" message
    return index;
}

void Table::open()
{
    if (isOpen())
        return;
    m_def = &tableDef(m_tableName);
    if (m_orderingFields.isEmpty() && !m_def->orderings.isEmpty())
        setOrdering(m_def->defaultOrdering());
    if (m_master)
        m_linkIndex = fieldIndex(m_linkField);
    m_state = State::Browse;
    m_row = fetchOne(Direction::Forward, {}, 0, false, Details::Joined);
    m_bof = true;
    m_eof = !m_row;
    emit stateChanged();
    afterMove();
}

void Table::close()
{
    if (!isOpen())
        return;
    checkBrowseMode();
    m_state = State::Inactive;
    m_row.reset();
    m_before.reset();
    emit stateChanged();
    emit currentChanged();
}

void Table::setOrdering(const QString &ordering)
{
    const TableDef &def = definition();
    const QStringList fields = ordering.isEmpty() ? QStringList() : def.orderingFields(ordering);
    if (isOpen())
        checkBrowseMode();
    m_orderingFields = fields;
    m_orderForward.clear();
    m_orderBackward.clear();
    m_orderingIndexes.clear();
    for (const QString &name : fields)
        m_orderingIndexes.append(def.fieldIndex(name));
}

void Table::setMaster(Table *master, const QString &linkField)
{
    if (m_master)
        m_master->m_details.removeAll(this);
    m_master = master;
    m_linkField = linkField;
    m_linkIndex = master ? fieldIndex(linkField) : -1;
    if (master)
        master->m_details.append(this);
    if (isOpen())
        followMaster();
}

QVariant Table::masterValue() const
{
    if (!m_master || !m_master->m_row)
        return QVariant(QMetaType::fromType<double>());
    return m_master->value(m_linkField);
}

void Table::requireOpen() const
{
    if (!isOpen())
        throw Error(QStringLiteral("Impossible d'effectuer cette opération sur un ensemble de données fermé"));
}

void Table::requireEditing() const
{
    if (!isEditing())
        throw Error(QStringLiteral("Ensemble de données non en mode édition ou insertion"));
}

void Table::flushEditors() const
{
    if (m_flushing || !isEditing())
        return;
    m_flushing = true;
    emit const_cast<Table *>(this)->flushRequested();
    m_flushing = false;
}

void Table::storeDetails()
{
    for (Table *detail : std::as_const(m_details)) {
        if (detail->isOpen()) {
            detail->checkBrowseMode();
            detail->storeDetails();
        }
    }
}

void Table::followMaster()
{
    if (!isOpen())
        return;
    checkBrowseMode();
    storeDetails();
    if (m_readWithMaster)
        m_row = *std::exchange(m_readWithMaster, std::nullopt);
    else if (masterValue().isNull()) // no row links to no value: nothing to ask the base
        m_row.reset();
    else
        m_row = fetchOne(Direction::Forward, {}, 0, false);
    m_bof = true;
    m_eof = !m_row;
    afterMove();
}

void Table::afterMove()
{
    readDetailRows();
    for (Table *detail : std::as_const(m_details))
        detail->followMaster();
    for (Table *detail : std::as_const(m_details))
        detail->m_readWithMaster.reset();
    emit currentChanged();
}

QList<Table *> Table::joinedDetails() const
{
    QList<Table *> joined;
    for (Table *detail : m_details) {
        // A pending row is stored before its table follows, so what it follows to is read after that.
        if (detail->isOpen() && !detail->isEditing() && detail->definition().perPatient
            && detail->m_linkField.compare(recordNumberField, Qt::CaseInsensitive) == 0)
            joined.append(detail);
    }
    return joined;
}

void Table::readDetailRows()
{
    const QList<Table *> joined = joinedDetails();
    if (joined.isEmpty() || !m_row)
        return;
    const bool allRead = std::all_of(joined.begin(), joined.end(), [](Table *detail) { return detail->m_readWithMaster.has_value(); });
    if (allRead || value(recordNumberField).isNull())
        return;
    const QString link = SqlDialect::quote(recordNumberField);
    const QString number = QStringLiteral("SELECT CAST(? AS %1) AS %2").arg(m_db.dialect().numberType(), link);
    QSqlQuery &query = m_db.prepared(joinedSelect(number, joined));
    query.addBindValue(value(recordNumberField));
    m_db.run(query);
    if (query.next())
        readJoined(query, 1, joined);
    query.finish();
}

QString Table::joinedSelect(const QString &select, const QList<Table *> &joined)
{
    const QString link = SqlDialect::quote(recordNumberField);
    QStringList columns{QStringLiteral("m.*")};
    QString joins;
    for (int i = 0; i < joined.size(); ++i) {
        const QString alias = QStringLiteral("d%1").arg(i);
        columns.append(alias + QLatin1Char('.') + SqlDialect::idColumn());
        for (const FieldDef &field : joined.at(i)->definition().fields)
            columns.append(alias + QLatin1Char('.') + SqlDialect::quote(field.name));
        joins += QStringLiteral(" LEFT JOIN %1 AS %2 ON %2.%3 = m.%3")
                     .arg(SqlDialect::quote(joined.at(i)->definition().name), alias, link);
    }
    return QStringLiteral("SELECT %1 FROM (%2) AS m%3").arg(columns.join(QLatin1String(", ")), select, joins);
}

void Table::readJoined(const QSqlQuery &query, int column, const QList<Table *> &joined)
{
    for (Table *detail : joined) {
        std::optional<Row> row;
        if (!query.value(column).isNull()) // no row of the detail for that patient
            row = detail->readRow(query, column);
        detail->m_readWithMaster = row;
        column += 1 + int(detail->definition().fields.size());
    }
}

void Table::setRow(std::optional<Row> row)
{
    m_row = std::move(row);
    afterMove();
}

void Table::first()
{
    requireOpen();
    checkBrowseMode();
    storeDetails();
    m_bof = true;
    m_eof = false;
    auto row = fetchOne(Direction::Forward, {}, 0, false, Details::Joined);
    m_eof = !row;
    setRow(row);
}

void Table::last()
{
    requireOpen();
    checkBrowseMode();
    storeDetails();
    m_eof = true;
    m_bof = false;
    auto row = fetchOne(Direction::Backward, {}, 0, false, Details::Joined);
    m_bof = !row;
    setRow(row);
}

void Table::next()
{
    requireOpen();
    checkBrowseMode();
    storeDetails();
    if (!m_row) {
        m_eof = true;
        return;
    }
    auto row = fetchOne(Direction::Forward, keyOf(*m_row), m_orderingFields.size() + 1, false, Details::Joined);
    if (!row) {
        m_eof = true;
        return;
    }
    m_bof = m_eof = false;
    setRow(row);
}

void Table::prior()
{
    requireOpen();
    checkBrowseMode();
    storeDetails();
    if (!m_row) {
        m_bof = true;
        return;
    }
    auto row = fetchOne(Direction::Backward, keyOf(*m_row), m_orderingFields.size() + 1, false, Details::Joined);
    if (!row) {
        m_bof = true;
        return;
    }
    m_bof = m_eof = false;
    setRow(row);
}

void Table::refreshAndStep(bool forward)
{
    requireOpen();
    checkBrowseMode();
    storeDetails();
    if (m_row) {
        // The row beyond the current one as it is stored now: where refresh then next or prior go.
        QStringList keys;
        for (const int index : std::as_const(m_orderingIndexes))
            keys.append(SqlDialect::keyColumn(m_def->fields.at(index).name));
        keys.append(SqlDialect::idColumn());
        const QString condition = QStringLiteral("(%1) %2 (SELECT %1 FROM %3 WHERE %4 = ?)")
                                      .arg(keys.join(QLatin1String(", ")), forward ? QStringLiteral(">") : QStringLiteral("<"),
                                           SqlDialect::quote(m_def->name), SqlDialect::idColumn());
        const QList<Row> rows = runSelect(condition, {m_row->id}, forward ? Direction::Forward : Direction::Backward, 1,
                                          Details::Joined);
        if (!rows.isEmpty()) {
            m_bof = m_eof = false;
            setRow(rows.first());
            return;
        }
    }
    // The current row is gone, or none lies beyond it: the two steps as they are.
    refresh();
    if (forward)
        next();
    else
        prior();
}

void Table::refresh()
{
    requireOpen();
    checkBrowseMode();
    storeDetails();
    if (!m_row) {
        auto row = fetchOne(Direction::Forward, {}, 0, false, Details::Joined);
        m_bof = true;
        m_eof = !row;
        setRow(row);
        return;
    }
    if (auto row = rowById(m_row->id, Details::Joined)) {
        setRow(row);
        return;
    }
    const Row gone = *m_row;
    moveToNeighbourOf(gone);
}

void Table::moveToNeighbourOf(const Row &gone)
{
    const QVariantList key = keyOf(gone);
    auto row = fetchOne(Direction::Forward, key, m_orderingFields.size() + 1, false, Details::Joined);
    if (!row)
        row = fetchOne(Direction::Backward, key, m_orderingFields.size() + 1, false, Details::Joined);
    m_bof = m_eof = !row;
    setRow(row);
}

bool Table::findKey(const QVariantList &values)
{
    requireOpen();
    checkBrowseMode();
    storeDetails();
    const int compared = std::min<int>(values.size(), m_orderingFields.size());
    QStringList conditions;
    QVariantList bindings;
    for (int i = 0; i < compared; ++i) {
        const int index = m_orderingIndexes.at(i);
        conditions.append(SqlDialect::keyColumn(m_def->fields.at(index).name) + QStringLiteral(" = ?"));
        bindings.append(keyValue(m_def->fields.at(index), storedValue(index, values.at(i))));
    }
    const QList<Row> rows = runSelect(conditions.join(QLatin1String(" AND ")), bindings, Direction::Forward, 1, Details::Joined);
    if (rows.isEmpty())
        return false;
    m_bof = m_eof = false;
    setRow(rows.first());
    return true;
}

void Table::findNearest(const QVariantList &values)
{
    requireOpen();
    checkBrowseMode();
    storeDetails();
    QVariantList key;
    const int compared = std::min<int>(values.size(), m_orderingFields.size());
    for (int i = 0; i < compared; ++i) {
        const int index = m_orderingIndexes.at(i);
        key.append(keyValue(m_def->fields.at(index), storedValue(index, values.at(i))));
    }
    auto row = fetchOne(Direction::Forward, key, compared, true, Details::Joined);
    if (!row) // the text sorts after every row: the last one is the nearest
        row = fetchOne(Direction::Backward, {}, 0, false, Details::Joined);
    m_bof = m_eof = false;
    setRow(row);
}

bool Table::locate(const QString &fieldName, const QVariant &value)
{
    requireOpen();
    const int index = fieldIndex(fieldName);
    const FieldDef &field = m_def->fields.at(index);
    const QVariant stored = storedValue(index, value);
    checkBrowseMode();
    storeDetails();
    QString condition;
    QVariant binding;
    if (m_def->keyedFields().contains(field.name)) {
        condition = SqlDialect::keyColumn(field.name) + QStringLiteral(" = ?");
        binding = keyValue(field, stored);
    } else if (field.isTextual()) {
        condition = QStringLiteral("lower(%1) = lower(?)").arg(SqlDialect::quote(field.name));
        binding = stored.toString();
    } else {
        condition = SqlDialect::quote(field.name) + QStringLiteral(" = ?");
        binding = stored.isNull() ? nullOf(field.type) : stored;
    }
    const QList<Row> rows = runSelect(condition, {binding}, Direction::Forward, 1, Details::Joined);
    if (rows.isEmpty())
        return false;
    m_bof = m_eof = false;
    setRow(rows.first());
    return true;
}

bool Table::gotoRowId(qint64 id)
{
    requireOpen();
    checkBrowseMode();
    storeDetails();
    auto row = rowById(id, Details::Joined);
    if (!row)
        return false;
    m_bof = m_eof = false;
    setRow(row);
    return true;
}

void Table::checkBrowseMode()
{
    if (!isEditing())
        return;
    flushEditors();
    if (m_modified)
        post();
    else
        cancel();
}

void Table::edit()
{
    requireOpen();
    if (isEditing())
        return;
    if (!m_row) {
        insert();
        return;
    }
    m_before = m_row;
    m_modified = false;
    m_changedFields.clear();
    m_state = State::Edit;
    emit stateChanged();
}

void Table::insert()
{
    requireOpen();
    checkBrowseMode();
    storeDetails();
    const TableDef &def = definition();
    Row row;
    for (const FieldDef &field : def.fields)
        row.values.append(nullOf(field.type));
    m_changedFields.clear();
    if (m_master) {
        row.values[m_linkIndex] = masterValue();
        m_changedFields.insert(m_linkIndex);
    }
    m_before = m_row;
    m_row = row;
    m_modified = false;
    m_state = State::Insert;
    emit stateChanged();
    afterMove();
}

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

Table::Row Table::rowToAppend(const QVariantList &values) const
{
    const TableDef &def = definition();
    Row row;
    for (int i = 0; i < def.fields.size(); ++i) {
        const QVariant stored = storedValue(i, values.value(i));
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
    // Within the bound values one statement may carry on either engine (SQLite's limit is the lower).
    const qsizetype perStatement = std::max<qsizetype>(1, 30000 / columns.size());
    Database::Transaction transaction(m_db);
    for (qsizetype first = 0; first < rows.size(); first += perStatement) {
        const qsizetype count = std::min(perStatement, rows.size() - first);
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
    }
    transaction.commit();
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

QVariant Table::boundValue(int fieldIndex, const QVariant &value) const
{
    const FieldDef &field = definition().fields.at(fieldIndex);
    if (value.isNull())
        return nullOf(field.type);
    if (field.type == FieldType::Date)
        return value.toDate().toString(Qt::ISODate);
    return value;
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
        bindings.append(boundValue(index, row.values.at(index)));
        if (m_keyed.at(index)) {
            if (columns)
                columns->append(SqlDialect::keyColumn(field.name));
            bindings.append(keyValue(field, row.values.at(index)));
        }
    }
}

QStringList Table::changedFieldNames() const
{
    flushEditors();
    QStringList names;
    for (const int index : changedFields())
        names.append(definition().fields.at(index).name);
    return names;
}

QList<int> Table::changedFields() const
{
    QList<int> fields = m_changedFields.values();
    std::sort(fields.begin(), fields.end());
    return fields;
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
        bindings.append(boundValue(index, m_before ? m_before->values.at(index) : QVariant()));
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

// Leaves the row pending with what was typed, now checked against what the other copy stored, and
// tells what that copy stored so the physician can take it into his text before storing again.
void Table::refuseOverwrite(const Row &stored)
{
    const TableDef &def = definition();
    // A new row was read as empty.
    const std::optional<Row> readRow = m_state == State::Insert ? std::nullopt : m_before;
    auto readValue = [&](int index) { return readRow ? readRow->values.at(index) : nullOf(def.fields.at(index).type); };
    const QList<int> changed = changedFields();
    int field = changed.value(0, 0);
    for (const int index : changed) {
        if (stored.values.at(index) != readValue(index) || stored.values.at(index).isNull() != readValue(index).isNull()) {
            field = index;
            break;
        }
    }
    const QString read = readValue(field).toString();
    QString theirs = stored.values.at(field).toString();
    if (!read.isEmpty() && theirs.startsWith(read))
        theirs = QStringLiteral("… ") + theirs.mid(read.size());
    constexpr int shownAtMost = 1500;
    if (theirs.size() > shownAtMost)
        theirs = theirs.left(shownAtMost) + QStringLiteral(" …");
    if (m_state == State::Insert) {
        m_state = State::Edit;
        m_row->id = stored.id;
        emit stateChanged();
    }
    m_before = stored;
    throw Error(QStringLiteral("Le dossier de %1 a été modifié sur un autre poste depuis que ce poste l'a lu : "
                               "« %2 » n'a pas été enregistré ici, pour ne pas effacer ce que l'autre poste y a mis.\n\n"
                               "L'autre poste a enregistré :\n%3\n\n"
                               "Votre texte reste à l'écran : reprenez-y ce qui manque, puis enregistrez de nouveau.")
                    .arg(patientName(), def.fields.at(field).name, theirs.trimmed()));
}

QString Table::patientName() const
{
    const Table &patientRow = m_master ? *m_master : *this;
    const int name = patientRow.definition().fieldIndex(QStringLiteral("NomPrénom"));
    if (patientRow.m_row && name >= 0) {
        const QString shown = patientRow.m_row->values.at(name).toString().trimmed();
        if (!shown.isEmpty())
            return shown;
    }
    if (m_row && definition().fieldIndex(recordNumberField) >= 0)
        return QStringLiteral("N° %1").arg(text(recordNumberField));
    return definition().name;
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

void Table::refuseIfStored(const Row &row)
{
    const TableDef &def = definition();
    if (!def.perPatient)
        return;
    const int link = def.fieldIndex(recordNumberField);
    const QList<Row> stored = runSelect(SqlDialect::quote(recordNumberField) + QStringLiteral(" = ?"),
                                        {boundValue(link, row.values.at(link))}, Direction::Forward, 1);
    if (!stored.isEmpty())
        refuseOverwrite(stored.first());
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

void Table::cancel()
{
    if (!isEditing())
        return;
    const bool wasInsert = m_state == State::Insert;
    m_row = m_before;
    m_before.reset();
    m_modified = false;
    m_changedFields.clear();
    m_state = State::Browse;
    emit stateChanged();
    if (wasInsert)
        afterMove();
    else
        emit currentChanged();
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

QVariant Table::value(const QString &fieldName) const
{
    const int index = fieldIndex(fieldName);
    flushEditors();
    if (!m_row)
        return nullOf(definition().fields.at(index).type);
    return m_row->values.at(index);
}

QString Table::text(const QString &fieldName) const
{
    const QVariant v = value(fieldName);
    if (v.isNull())
        return QString();
    switch (definition().field(fieldName).type) {
    case FieldType::Number: {
        const double d = v.toDouble();
        if (std::floor(d) == d && std::fabs(d) < 1e15)
            return QString::number(qint64(d));
        return QLocale().toString(d, 'g', 15);
    }
    case FieldType::Date: return shortDateText(v.toDate());
    default: return v.toString();
    }
}

double Table::number(const QString &fieldName) const
{
    return value(fieldName).toDouble();
}

QDate Table::date(const QString &fieldName) const
{
    return value(fieldName).toDate();
}

QStringList Table::lines(const QString &fieldName) const
{
    const QString all = text(fieldName);
    if (all.isEmpty())
        return {};
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return all.split(breaks);
}

QVariant Table::storedValue(int index, const QVariant &value) const
{
    const FieldDef &field = definition().fields.at(index);
    if (value.isNull())
        return QVariant();
    const bool isText = value.typeId() == QMetaType::QString;
    const QString text = value.toString();
    switch (field.type) {
    case FieldType::Number: {
        if (!isText)
            return value.toDouble();
        if (text.trimmed().isEmpty())
            return QVariant();
        bool ok = false;
        QString normal = text.trimmed();
        normal.replace(QLatin1Char(','), QLatin1Char('.'));
        const double d = normal.toDouble(&ok);
        if (!ok)
            throw Error::notFloatingPoint(text);
        return d;
    }
    case FieldType::Short:
        if (!isText)
            return value.toInt();
        if (text.trimmed().isEmpty())
            return QVariant();
        return int(toWholeNumber(text));
    case FieldType::Date:
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().isValid() ? value : QVariant();
        if (!isText && value.toDouble() == 0)
            return QVariant();
        if (text.trimmed().isEmpty())
            return QVariant();
        return parseDate(text);
    default:
        if (text.isEmpty())
            return QVariant();
        // A text field holds at most its size: a longer text is cut there, never stored whole.
        if (field.type == FieldType::Text && field.size > 0 && text.size() > field.size)
            return text.left(field.size);
        return text;
    }
}

QVariant Table::loadedValue(int index, const QVariant &value) const
{
    const FieldDef &field = definition().fields.at(index);
    if (value.isNull())
        return nullOf(field.type);
    switch (field.type) {
    case FieldType::Number: return value.toDouble();
    case FieldType::Short: return value.toInt();
    case FieldType::Date: {
        const QDate date = QDate::fromString(value.toString(), Qt::ISODate);
        return date.isValid() ? QVariant(date) : nullOf(field.type);
    }
    default: return value.toString();
    }
}

void Table::setValue(const QString &fieldName, const QVariant &value)
{
    requireOpen();
    requireEditing();
    const int index = fieldIndex(fieldName);
    QVariant stored = storedValue(index, value);
    if (stored.isNull())
        stored = nullOf(definition().fields.at(index).type);
    QVariant &current = m_row->values[index];
    if (current.isNull() == stored.isNull() && current == stored)
        return;
    current = stored;
    m_modified = true;
    m_changedFields.insert(index);
    emit fieldChanged(index);
    // A master's new link value takes its details to the rows of that value.
    if (!m_details.isEmpty()) {
        if (fieldName.compare(recordNumberField, Qt::CaseInsensitive) == 0)
            readDetailRows();
        for (Table *detail : std::as_const(m_details)) {
            if (detail->m_linkIndex >= 0 && detail->m_linkField.compare(fieldName, Qt::CaseInsensitive) == 0)
                detail->followMaster();
        }
        for (Table *detail : std::as_const(m_details))
            detail->m_readWithMaster.reset();
    }
}

void Table::setText(const QString &fieldName, const QString &text)
{
    setValue(fieldName, QVariant(text));
}

void Table::setLines(const QString &fieldName, const QStringList &lines)
{
    setValue(fieldName, QVariant(lines.join(lineBreak)));
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

std::pair<QList<Table::Row>, QList<Table::Row>> Table::neighboursAround(int count) const
{
    requireOpen();
    if (!m_row || (m_state == State::Insert && !m_before))
        return {};
    // The same rows as neighbours() on either side.
    const bool inserting = m_state == State::Insert;
    const Row &anchor = inserting || (m_state == State::Edit && m_before) ? *m_before : *m_row;
    const int compared = int(m_orderingFields.size()) + 1;
    QStringList keys;
    for (const int index : std::as_const(m_orderingIndexes))
        keys.append(SqlDialect::keyColumn(m_def->fields.at(index).name));
    const QString side = SqlDialect::quote(QStringLiteral("_side"));
    // Which side a row is on, and its keys for ordering the two sides together.
    const auto leading = [&](int sideValue) {
        QString columns = QString::number(sideValue) + QStringLiteral(" AS ") + side + QStringLiteral(", ");
        for (const QString &key : std::as_const(keys))
            columns += key + QStringLiteral(", ");
        return columns;
    };
    QVariantList values;
    const QString before = selectSql(keyCondition(Direction::Backward, compared, inserting), keyOf(anchor),
                                     Direction::Backward, count, values, leading(0));
    const QString after = selectSql(keyCondition(Direction::Forward, compared, false), keyOf(anchor),
                                    Direction::Forward, count, values, leading(1));
    const int firstColumn = 1 + int(keys.size());
    // Each side in its own order: nearest first before the row, then the rows after it.
    keys.append(SqlDialect::idColumn());
    QStringList order{side};
    for (const QString &key : std::as_const(keys))
        order.append(QStringLiteral("CASE WHEN %1 = 0 THEN %2 END DESC").arg(side, key));
    for (const QString &key : std::as_const(keys))
        order.append(QStringLiteral("CASE WHEN %1 = 1 THEN %2 END").arg(side, key));
    QSqlQuery &query = m_db.prepared(
        QStringLiteral("SELECT * FROM (SELECT * FROM (%1) AS b UNION ALL SELECT * FROM (%2) AS a) AS around ORDER BY %3")
            .arg(before, after, order.join(QLatin1String(", "))));
    for (const QVariant &value : std::as_const(values))
        query.addBindValue(value);
    m_db.run(query);
    std::pair<QList<Row>, QList<Row>> around;
    while (query.next())
        (query.value(0).toInt() == 0 ? around.first : around.second).append(readRow(query, firstColumn));
    query.finish();
    return around;
}

QList<Table::Row> Table::neighbours(int count, bool forward) const
{
    requireOpen();
    if (!m_row)
        return {};
    if (m_state == State::Insert) {
        if (!m_before)
            return {};
        return fetch(forward ? Direction::Forward : Direction::Backward, keyOf(*m_before),
                     m_orderingFields.size() + 1, !forward, count);
    }
    // While a row is edited its neighbours are those of the row as stored: a changed key would
    // bring the stored copy of the row itself among them.
    const Row &stored = m_state == State::Edit && m_before ? *m_before : *m_row;
    return fetch(forward ? Direction::Forward : Direction::Backward, keyOf(stored), m_orderingFields.size() + 1,
                 false, count);
}

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
        row.values.append(loadedValue(i, query.value(column + 1 + i)));
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
