#include "clinical/clearancerecord.h"

#include "clinical/labreport.h"
#include "clinical/resultrow.h"
#include "records/database.h"
#include "records/table.h"

#include <QSqlQuery>

namespace orvane::clinical {

namespace {

using records::SqlDialect;

QString column(const QString &field)
{
    return SqlDialect::quote(field);
}

QString clearancesOfPatient()
{
    return QStringLiteral("FROM %1 WHERE %2 = ? AND %3 = ? AND COALESCE(%4, 0) = 0")
        .arg(SqlDialect::quote(records::tables::results), SqlDialect::keyColumn(records::recordNumberField),
             column(QStringLiteral("Analyte")), column(QStringLiteral("Remplacé")));
}

QDate storedDate(const QVariant &value)
{
    return value.typeId() == QMetaType::QDate ? value.toDate() : QDate::fromString(value.toString().left(10), Qt::ISODate);
}

} // namespace

const QString ClearanceRecord::analyte = QStringLiteral("Clearance");
const QString ClearanceRecord::typedBy = QStringLiteral("Saisie du médecin");

ClearanceRecord::ClearanceRecord(records::Database &db)
    : m_db(db)
{
}

void ClearanceRecord::fileTyped(double recordNumber, const QString &text, const QDate &day) const
{
    const QString value = text.trimmed();
    if (value.isEmpty() || dayOf(recordNumber, value) == day)
        return;
    const std::optional<double> number = labNumber(value);
    records::Table(m_db, records::tables::results)
        .appendRows({ResultRow()
                         .set(records::recordNumberField, recordNumber)
                         .set(QStringLiteral("Date examen"), day)
                         .set(QStringLiteral("Laboratoire"), typedBy)
                         .set(QStringLiteral("Libellé"), analyte)
                         .set(QStringLiteral("Analyte"), analyte)
                         .set(QStringLiteral("Résultat"), value)
                         .set(QStringLiteral("Valeur"), number ? QVariant(*number) : QVariant())
                         .set(QStringLiteral("Unité"), number ? QStringLiteral("ml/min") : QString())
                         .set(QStringLiteral("Vu"), 1)
                         .set(QStringLiteral("Remplacé"), 0)
                         .values()});
}

bool ClearanceRecord::datedAfter(double recordNumber, const QDate &day) const
{
    QSqlQuery &query = m_db.prepared(QStringLiteral("SELECT 1 %1 AND %2 > ? LIMIT 1")
                                         .arg(clearancesOfPatient(), column(QStringLiteral("Date examen"))));
    query.addBindValue(recordNumber);
    query.addBindValue(analyte);
    query.addBindValue(day.toString(Qt::ISODate));
    m_db.run(query);
    const bool found = query.next();
    query.finish();
    return found;
}

std::optional<QDate> ClearanceRecord::dayOf(double recordNumber, const QString &text) const
{
    QSqlQuery &query = m_db.prepared(QStringLiteral("SELECT %1, %2 %3 ORDER BY %1 DESC, %4 DESC")
                                         .arg(column(QStringLiteral("Date examen")), column(QStringLiteral("Résultat")),
                                              clearancesOfPatient(), SqlDialect::idColumn()));
    query.addBindValue(recordNumber);
    query.addBindValue(analyte);
    m_db.run(query);
    std::optional<QDate> day;
    while (!day && query.next()) {
        const QDate date = storedDate(query.value(0));
        if (date.isValid() && query.value(1).toString().trimmed() == text.trimmed())
            day = date;
    }
    query.finish();
    return day;
}

} // namespace orvane::clinical
