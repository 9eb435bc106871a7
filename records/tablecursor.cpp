#include "records/table.h"

#include "records/database.h"
#include "records/fieldvalues.h"

#include <QSqlQuery>
#include <algorithm>
#include <utility>

// The moves of the current row through the table's ordering, and the rows around it for the grids.

namespace orvane::records {

void Table::setRow(std::optional<Row> row)
{
    m_row = std::move(row);
    afterMove();
}

void Table::prepareMove()
{
    requireOpen();
    checkBrowseMode();
    storeDetails();
}

void Table::first()
{
    moveToEnd(Direction::Forward);
}

void Table::last()
{
    moveToEnd(Direction::Backward);
}

void Table::next()
{
    step(Direction::Forward);
}

void Table::prior()
{
    step(Direction::Backward);
}

void Table::moveToEnd(Direction direction)
{
    prepareMove();
    const bool forward = direction == Direction::Forward;
    auto row = fetchOne(direction, {}, 0, false, Details::Joined);
    m_bof = forward || !row;
    m_eof = !forward || !row;
    setRow(row);
}

void Table::step(Direction direction)
{
    prepareMove();
    std::optional<Row> row;
    if (m_row)
        row = fetchOne(direction, keyOf(*m_row), m_orderingFields.size() + 1, false, Details::Joined);
    if (!row) {
        (direction == Direction::Forward ? m_eof : m_bof) = true;
        return;
    }
    m_bof = m_eof = false;
    setRow(row);
}

void Table::refreshAndStep(bool forward)
{
    prepareMove();
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
    step(forward ? Direction::Forward : Direction::Backward);
}

void Table::refresh()
{
    prepareMove();
    if (!m_row) {
        moveToEnd(Direction::Forward);
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
    prepareMove();
    const int compared = std::min<int>(values.size(), m_orderingFields.size());
    QStringList conditions;
    QVariantList bindings;
    for (int i = 0; i < compared; ++i) {
        const int index = m_orderingIndexes.at(i);
        conditions.append(SqlDialect::keyColumn(m_def->fields.at(index).name) + QStringLiteral(" = ?"));
        bindings.append(keyValue(m_def->fields.at(index), storedValue(fieldAt(index), values.at(i))));
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
    prepareMove();
    QVariantList key;
    const int compared = std::min<int>(values.size(), m_orderingFields.size());
    for (int i = 0; i < compared; ++i) {
        const int index = m_orderingIndexes.at(i);
        key.append(keyValue(m_def->fields.at(index), storedValue(fieldAt(index), values.at(i))));
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
    const QVariant stored = storedValue(field, value);
    prepareMove();
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
    prepareMove();
    auto row = rowById(id, Details::Joined);
    if (!row)
        return false;
    m_bof = m_eof = false;
    setRow(row);
    return true;
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

} // namespace orvane::records
