#include "records/table.h"

#include "records/database.h"

#include <QSqlQuery>
#include <algorithm>
#include <utility>

// A table following a master: its rows are those of the master's current link value, and the
// per-patient details of a patient's row are read with it in one statement.

namespace orvane::records {

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

} // namespace orvane::records
