#include "records/practicesearch.h"

#include "records/latestresults.h"
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

// A valid result of the analyte in the period, on the row `alias`. A value the laboratory replaced
// is no longer the patient's.
QString resultOfAnalyte(const QString &alias, const LabValueCriterion &lab, QVariantList &values)
{
    // The engine puts both sides in capitals, its own way: SQLite's leaves "é" as it is.
    QStringList conditions = {QStringLiteral("upper(%1) = upper(?)").arg(SqlDialect::column(alias, resultsTable::analyte)),
                              QStringLiteral("COALESCE(%1, 0) <> 1").arg(SqlDialect::column(alias, resultsTable::replaced))};
    values.append(lab.analyte.trimmed());
    if (lab.from.isValid()) {
        conditions.append(SqlDialect::column(alias, resultsTable::date) + QStringLiteral(" >= ?"));
        values.append(lab.from.toString(Qt::ISODate));
    }
    if (lab.to.isValid()) {
        conditions.append(SqlDialect::column(alias, resultsTable::date) + QStringLiteral(" <= ?"));
        values.append(lab.to.toString(Qt::ISODate));
    }
    return conditions.join(QLatin1String(" AND "));
}

// A result that is no number ("Valeur" empty) meets no comparison.
QString valueCompared(const QString &alias, const LabValueCriterion &lab, QVariantList &values)
{
    const QString value = SqlDialect::column(alias, resultsTable::value);
    values.append(lab.low);
    switch (lab.comparison) {
    case LabValueCriterion::Comparison::Below: return value + QStringLiteral(" < ?");
    case LabValueCriterion::Comparison::Above: return value + QStringLiteral(" > ?");
    case LabValueCriterion::Comparison::Between: break;
    }
    values.append(lab.high);
    return value + QStringLiteral(" BETWEEN ? AND ?");
}

// The patient's last value of the analyte when it meets the comparison, read from the table of last
// results. With a start only, the last value of the period is the last one if dated since.
QString lastResultJoin(const LabValueCriterion &lab, QVariantList &values)
{
    QString join = QStringLiteral(" JOIN %1 r ON r.%2 = p.%2 AND r.%3 = upper(?) AND ")
                       .arg(SqlDialect::quote(latestResults::name), SqlDialect::keyColumn(recordNumberField),
                            SqlDialect::quote(latestResults::analyteKey));
    values.append(lab.analyte.trimmed());
    join += valueCompared(QStringLiteral("r"), lab, values);
    if (lab.from.isValid()) {
        join += QStringLiteral(" AND %1 >= ?").arg(SqlDialect::column(QStringLiteral("r"), resultsTable::date));
        values.append(lab.from.toString(Qt::ISODate));
    }
    return join;
}

// One row per patient at most: of the results of the analyte in the period, the last one when it
// meets the comparison (last value only), or the last of those that meet it (any value).
QString resultJoin(const LabValueCriterion &lab, QVariantList &values)
{
    if (lab.lastOnly && !lab.to.isValid())
        return lastResultJoin(lab, values);
    const QString table = SqlDialect::quote(resultsTable::name);
    const QString key = SqlDialect::keyColumn(recordNumberField);
    const QString date = SqlDialect::quote(resultsTable::date);
    const QString id = SqlDialect::idColumn();
    // In the order of the statement's marks: each call binds its values.
    const QString ofAnalyte = resultOfAnalyte(QStringLiteral("r"), lab, values);
    const QString compared = valueCompared(QStringLiteral("r"), lab, values);
    const QString join = QStringLiteral(" JOIN %1 r ON r.%2 = p.%2 AND %3 AND %4").arg(table, key, ofAnalyte, compared);
    QString later = resultOfAnalyte(QStringLiteral("y"), lab, values);
    if (!lab.lastOnly)
        later += QStringLiteral(" AND ") + valueCompared(QStringLiteral("y"), lab, values);
    // An undated result comes before the dated ones, as in the table of last results: compared as
    // it is, it would be neither earlier nor later, and its patient listed twice.
    return join + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM %1 y WHERE y.%2 = r.%2 AND %3 AND "
                                 "(COALESCE(y.%4, ''), y.%5) > (COALESCE(r.%4, ''), r.%5))")
                      .arg(table, key, later, date, id);
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

    // The patients one of whose texts holds the phrase; narrowed only, the phrase then checked in
    // the lines read. Gathered from the whole index, or looked for in each patient's texts when
    // another criterion has narrowed the patients first.
    enum class Phrase { Matched, Narrowed };
    enum class Reading { Gathered, PerPatient };
    void phraseIn(const QList<TextIndexDef> &indexes, const QString &typed, Phrase phrase = Phrase::Matched,
                  Reading reading = Reading::Gathered)
    {
        const QString key = SqlDialect::keyColumn(recordNumberField);
        QStringList texts;
        for (const TextIndexDef &index : indexes) {
            const QString table = SqlDialect::quote(index.table);
            const QString holds = phrase == Phrase::Matched ? m_dialect.textMatches(index, QStringLiteral("x"))
                                                            : m_dialect.textNarrowedTo(index, QStringLiteral("x"));
            texts.append(reading == Reading::Gathered
                             ? QStringLiteral("SELECT x.%1 FROM %2 x WHERE %3")
                                   .arg(SqlDialect::quote(recordNumberField), table, holds)
                             : QStringLiteral("EXISTS (SELECT 1 FROM %1 x WHERE x.%2 = p.%2 AND %3)").arg(table, key, holds));
            m_values.append(m_dialect.phraseValue(typed));
        }
        m_conditions.append(reading == Reading::Gathered
                                ? QStringLiteral("p.%1 IN (%2)").arg(key, texts.join(QLatin1String(" UNION ")))
                                : QLatin1Char('(') + texts.join(QLatin1String(" OR ")) + QLatin1Char(')'));
    }

    void condition(const QString &sql, const QVariantList &values)
    {
        m_conditions.append(sql);
        m_values += values;
    }

    // The last result whose texts may hold the phrase, as two columns: its texts and its date.
    void showResultText(const QList<TextIndexDef> &indexes, const QString &typed)
    {
        QStringList matches;
        for (const TextIndexDef &index : indexes)
            matches.append(m_dialect.textNarrowedTo(index, QStringLiteral("x")));
        const QString last = QStringLiteral(" FROM %1 x WHERE x.%2 = p.%2 AND (%3) ORDER BY x.%4 DESC, x.%5 DESC LIMIT 1")
                                 .arg(SqlDialect::quote(resultsTable::name), SqlDialect::keyColumn(recordNumberField),
                                      matches.join(QLatin1String(" OR ")), SqlDialect::quote(resultsTable::date),
                                      SqlDialect::idColumn());
        m_resultTextColumns = {QStringLiteral("(SELECT COALESCE(%1, '') || ' ' || COALESCE(%2, '')")
                                       .arg(SqlDialect::column(QStringLiteral("x"), resultsTable::label),
                                            SqlDialect::column(QStringLiteral("x"), resultsTable::comment))
                                   + last + QLatin1Char(')'),
                               QStringLiteral("(SELECT %1").arg(SqlDialect::column(QStringLiteral("x"), resultsTable::date))
                                   + last
                                   + QLatin1Char(')')};
        for (int i = 0; i < resultTextColumns * indexes.size(); ++i)
            m_columnValues.append(m_dialect.phraseValue(typed));
    }

    void matchResult(const LabValueCriterion &lab)
    {
        m_resultJoin = resultJoin(lab, m_joinValues);
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
        // The identity, as foundPatient reads it: number, name, birth day, month and year, row.
        QStringList columns;
        for (const char *field : {"N°Dossier", "NomPrénom", "Jour", "Mois", "Année"})
            columns.append(QStringLiteral("p.") + SqlDialect::quote(QString::fromUtf8(field)));
        columns.append(QStringLiteral("p.") + SqlDialect::idColumn());
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
        const bool showsResult = !m_resultJoin.isEmpty();
        if (showsResult) {
            for (const QString &field : {resultsTable::date, resultsTable::label, resultsTable::analyte,
                                         resultsTable::value, resultsTable::unit})
                columns.append(SqlDialect::column(QStringLiteral("r"), field));
        }
        columns += m_resultTextColumns;
        return {QStringLiteral("SELECT %1 FROM %2 p%3%4 WHERE %5")
                    .arg(columns.join(QLatin1String(", ")), SqlDialect::quote(tables::patients), m_resultJoin, joins,
                         m_conditions.isEmpty() ? QStringLiteral("1 = 1") : m_conditions.join(QLatin1String(" AND "))),
                m_columnValues + m_joinValues + m_values, m_shown, showsResult, !m_resultTextColumns.isEmpty()};
    }

private:
    static int joinIndex(const QStringList &joined, const QString &table)
    {
        const int found = joined.indexOf(table);
        return found >= 0 ? found : joined.size();
    }

    const SqlDialect &m_dialect;
    QStringList m_conditions;
    QString m_resultJoin;
    QStringList m_resultTextColumns;
    // Bound in the order the statement names them: columns, joins, conditions.
    QVariantList m_columnValues;
    QVariantList m_joinValues;
    QVariantList m_values;
    QList<ShownText> m_shown;
};

} // namespace

bool SearchCriteria::isEmpty() const
{
    return drug.isEmpty() && words.isEmpty() && !minimumAge && !maximumAge && sex.isEmpty() && scheme.isEmpty()
        && !pregnant && !vaccination && !labValue;
}

int SearchStatement::resultAt() const
{
    return identityColumns + int(shownTexts.size());
}

int SearchStatement::resultTextAt() const
{
    return resultAt() + (showsResult ? resultColumns : 0);
}

int SearchStatement::columnCount() const
{
    return resultTextAt() + (showsResultText ? resultTextColumns : 0);
}

bool holdsResults(const QStringList &tables)
{
    return tables.contains(resultsTable::name);
}

QString noResultsStored()
{
    return QStringLiteral("Aucun résultat d'analyse n'est encore enregistré dans les dossiers");
}

SearchStatement searchStatement(const SearchCriteria &criteria, const SqlDialect &dialect, const QDate &today,
                                const QList<TextIndexDef> &resultTexts)
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
        // Checked in the lines of the texts shown (see foundPatient): a phrase is found on one line.
        // A drug is taken by few patients: their texts are then looked for one by one, where a word
        // of most notes would otherwise gather most of the practice first.
        const bool fewPatients = !criteria.drug.isEmpty() && dialect.looksForTextsPerPatient();
        builder.phraseIn(textIndexes() + resultTexts, criteria.words, StatementBuilder::Phrase::Narrowed,
                         fewPatients ? StatementBuilder::Reading::PerPatient : StatementBuilder::Reading::Gathered);
        for (const TextIndexDef &index : textIndexes())
            builder.show(index);
        if (!resultTexts.isEmpty())
            builder.showResultText(resultTexts, criteria.words);
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
    if (criteria.labValue)
        builder.matchResult(*criteria.labValue);
    return builder.statement();
}

} // namespace orvane::records
