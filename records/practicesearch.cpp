#include "records/practicesearch.h"

#include "records/schema.h"
#include "records/sqldialect.h"
#include "records/textindex.h"

namespace orvane::records {

namespace {

const QString treatmentField = QStringLiteral("Traitement général");
const QString vaccinationField = QStringLiteral("Vaccinations");

// The birth date as the number yyyymmdd; an unknown day or month counts as the first.
const QString birthNumber = QStringLiteral("(p.%1 * 10000 + COALESCE(p.%2, 1) * 100 + COALESCE(p.%3, 1))")
                                .arg(SqlDialect::quote(QStringLiteral("Année")), SqlDialect::quote(QStringLiteral("Mois")),
                                     SqlDialect::quote(QStringLiteral("Jour")));

double dateNumber(const QDate &date)
{
    return date.year() * 10000.0 + date.month() * 100.0 + date.day();
}

class StatementBuilder
{
public:
    StatementBuilder(const SqlDialect &dialect)
        : m_dialect(dialect)
    {
    }

    // The patients with a row of `table` that meets `condition` (on the row `x`).
    void patientsWith(const QString &table, const QString &condition, const QVariantList &values)
    {
        m_conditions.append(QStringLiteral("p.%1 IN (SELECT x.%2 FROM %3 x WHERE %4)")
                                .arg(SqlDialect::keyColumn(recordNumberField), SqlDialect::quote(recordNumberField),
                                     SqlDialect::quote(table), condition));
        m_values += values;
    }

    // The patients one of whose texts holds the phrase.
    void phraseIn(const QList<TextIndexDef> &indexes, const QString &typed)
    {
        QStringList selects;
        for (const TextIndexDef &index : indexes) {
            selects.append(QStringLiteral("SELECT x.%1 FROM %2 x WHERE %3")
                               .arg(SqlDialect::quote(recordNumberField), SqlDialect::quote(index.table),
                                    m_dialect.textMatches(index, QStringLiteral("x"))));
            m_values.append(m_dialect.phraseValue(typed));
        }
        m_conditions.append(QStringLiteral("p.%1 IN (%2)")
                                .arg(SqlDialect::keyColumn(recordNumberField), selects.join(QLatin1String(" UNION "))));
    }

    void condition(const QString &sql, const QVariantList &values)
    {
        m_conditions.append(sql);
        m_values += values;
    }

    void show(const TextIndexDef &index)
    {
        for (const ShownText &shown : std::as_const(m_shown)) {
            if (shown.table == index.table && shown.field == index.field)
                return;
        }
        m_shown.append({index.table, index.field});
    }

    SearchStatement statement() const
    {
        QStringList columns;
        for (const char *field : {"N°Dossier", "NomPrénom", "Nom", "Prénom", "Jour", "Mois", "Année"})
            columns.append(QStringLiteral("p.") + SqlDialect::quote(QString::fromUtf8(field)));
        QStringList joined;
        QString joins;
        for (const ShownText &shown : m_shown) {
            const QString alias = QStringLiteral("t%1").arg(joinIndex(joined, shown.table));
            if (!joined.contains(shown.table)) {
                joined.append(shown.table);
                joins += QStringLiteral(" LEFT JOIN %1 %2 ON %2.%3 = p.%3")
                             .arg(SqlDialect::quote(shown.table), alias, SqlDialect::quote(recordNumberField));
            }
            columns.append(alias + QLatin1Char('.') + SqlDialect::quote(shown.field));
        }
        return {QStringLiteral("SELECT %1 FROM %2 p%3 WHERE %4")
                    .arg(columns.join(QLatin1String(", ")), SqlDialect::quote(tables::patients), joins,
                         m_conditions.isEmpty() ? QStringLiteral("1 = 1") : m_conditions.join(QLatin1String(" AND "))),
                m_values, m_shown};
    }

private:
    static int joinIndex(const QStringList &joined, const QString &table)
    {
        const int found = joined.indexOf(table);
        return found >= 0 ? found : joined.size();
    }

    const SqlDialect &m_dialect;
    QStringList m_conditions;
    QVariantList m_values;
    QList<ShownText> m_shown;
};

} // namespace

bool SearchCriteria::isEmpty() const
{
    return drug.isEmpty() && words.isEmpty() && !minimumAge && !maximumAge && sex.isEmpty() && scheme.isEmpty()
        && !pregnant && !vaccination;
}

SearchStatement searchStatement(const SearchCriteria &criteria, const SqlDialect &dialect, const QDate &today)
{
    StatementBuilder builder(dialect);
    if (!criteria.drug.isEmpty()) {
        const QList<TextIndexDef> drugTexts = {textIndex(tables::treatments, treatmentField),
                                               textIndex(tables::archive, QStringLiteral("Prescription"))};
        builder.phraseIn(drugTexts, criteria.drug);
        for (const TextIndexDef &index : drugTexts)
            builder.show(index);
    }
    if (!criteria.words.isEmpty()) {
        builder.phraseIn(textIndexes(), criteria.words);
        for (const TextIndexDef &index : textIndexes())
            builder.show(index);
    }
    if (criteria.minimumAge)
        builder.condition(birthNumber + QStringLiteral(" <= ?"), {dateNumber(today.addYears(-*criteria.minimumAge))});
    if (criteria.maximumAge)
        builder.condition(birthNumber + QStringLiteral(" > ?"), {dateNumber(today.addYears(-*criteria.maximumAge - 1))});
    if (!criteria.sex.isEmpty())
        builder.condition(QStringLiteral("p.%1 = ?").arg(SqlDialect::quote(QStringLiteral("Sexe"))), {criteria.sex});
    if (!criteria.scheme.isEmpty())
        builder.patientsWith(tables::insurance, QStringLiteral("x.%1 = ?").arg(SqlDialect::quote(QStringLiteral("Type d'AM"))),
                             {criteria.scheme});
    if (criteria.pregnant) {
        const QString start = QStringLiteral("x.") + SqlDialect::quote(QStringLiteral("Début grossesse"));
        builder.patientsWith(tables::measures, QStringLiteral("%1 > ? AND %1 <= ?").arg(start),
                             {today.addDays(-pregnancyDays).toString(Qt::ISODate), today.toString(Qt::ISODate)});
    }
    if (criteria.vaccination) {
        const TextIndexDef &vaccinations = textIndex(tables::treatments, vaccinationField);
        // Which entries fall in the period is read from the text itself; the index only narrows to
        // the files that name the item.
        if (criteria.vaccination->kind != VaccinationCriterion::Kind::NotDone && !criteria.vaccination->item.isEmpty())
            builder.phraseIn({vaccinations}, criteria.vaccination->item);
        builder.show(vaccinations);
    }
    return builder.statement();
}

} // namespace orvane::records
