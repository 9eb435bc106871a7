#include "records/table.h"

#include "platform/error.h"
#include "platform/textlines.h"
#include "records/fieldvalues.h"

#include <algorithm>
#include <utility>

// The table object itself: which table it opens in which ordering, its editing state, and the
// fields of its current row. Its moves, reads, posts and bulk writes have files of their own.

namespace orvane::records {

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
    prepareMove();
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
    return fieldText(definition().field(fieldName), value(fieldName));
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
    // Each line given to setLines comes back, an empty last one included.
    return splitLines(text(fieldName), FinalBreak::OpensEmptyLine);
}

void Table::setValue(const QString &fieldName, const QVariant &value)
{
    requireOpen();
    requireEditing();
    const int index = fieldIndex(fieldName);
    QVariant stored = storedValue(fieldAt(index), value);
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
    setValue(fieldName, QVariant(joinLines(lines)));
}

} // namespace orvane::records
