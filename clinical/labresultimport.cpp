#include "clinical/labresultimport.h"

#include "clinical/clearance.h"
#include "clinical/clearancerecord.h"
#include "clinical/resultrow.h"
#include "clinical/valuelist.h"
#include "platform/clock.h"
#include "records/database.h"
#include "records/table.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>

namespace orvane::clinical {

namespace {

using records::SqlDialect;

QString column(const QString &field)
{
    return SqlDialect::quote(field);
}

const QString resultsTable = SqlDialect::quote(records::tables::results);
const QString patientKey = SqlDialect::keyColumn(records::recordNumberField);

// A value stored for the patient that a result sent again may replace.
struct StoredResult
{
    qint64 id = 0;
    QString value;
    QString unit;
    QVariant number;
    QString analyte;
};

// Results are the same analysis of one exam of one laboratory when these agree.
QString sameResultKey(const QString &code, const QString &label, const QString &date, const QString &laboratory)
{
    const QString name = code.isEmpty() ? records::sortKey(label) : records::sortKey(code);
    return name + QChar(0) + date + QChar(0) + records::sortKey(laboratory);
}

QString isoDate(const QDate &date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

// What one report gives one value list on one day.
struct ListEntry
{
    const Analyte *analyte = nullptr;
    QDate date;
    std::optional<double> value;
    std::optional<double> former; // the value a corrected one replaces
    QList<int> rows; // the report's rows about it
    bool disagree = false;
};

} // namespace

const QString LabResultImport::computedBy = QStringLiteral("Calcul Orvane");
const QString LabResultImport::creatinineAnalyte = QStringLiteral("Créatinine");
const QString LabResultImport::ckdEpiAnalyte = QStringLiteral("DFG CKD-EPI");

LabResultImport::LabResultImport(records::Database &db, const AnalyteCatalogue &catalogue)
    : m_db(db)
    , m_catalogue(catalogue)
{
}

bool LabResultImport::hasRead(double recordNumber, const QString &fileName) const
{
    QSqlQuery &query = m_db.prepared(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? AND %3 = ? LIMIT 1")
                                         .arg(resultsTable, patientKey, column(QStringLiteral("Fichier"))));
    query.addBindValue(recordNumber);
    query.addBindValue(fileName);
    m_db.run(query);
    const bool found = query.next();
    query.finish();
    return found;
}

namespace {

class ImportRun
{
public:
    ImportRun(records::Database &db, const AnalyteCatalogue &catalogue, double recordNumber, const QString &fileName,
              const LabReport &report)
        : m_db(db)
        , m_catalogue(catalogue)
        , m_number(recordNumber)
        , m_fileName(fileName)
        , m_report(report)
    {
    }

    LabResultImport::Outcome run()
    {
        m_outcome.unreadLines = m_report.unreadLines;
        readStored();
        for (int i = 0; i < m_report.results.size(); ++i)
            addResult(i);
        checkLists();
        records::Table(m_db, records::tables::results).appendRows(rowValues());
        markReplaced();
        fileIntoLists();
        return m_outcome;
    }

private:
    void readStored()
    {
        QSet<QString> dates;
        for (const LabResult &result : m_report.results)
            dates.insert(isoDate(m_report.dateOf(result)));
        for (const QString &date : std::as_const(dates)) {
            QSqlQuery &query = m_db.prepared(
                QStringLiteral("SELECT %1, %2, %3, %4, %5, %6, %7, %8 FROM %9 WHERE %10 = ? AND %11 = 0 AND %12 = ?")
                    .arg(SqlDialect::idColumn(), column(QStringLiteral("Code")), column(QStringLiteral("Libellé")),
                         column(QStringLiteral("Laboratoire")), column(QStringLiteral("Résultat")),
                         column(QStringLiteral("Unité")), column(QStringLiteral("Valeur")),
                         column(QStringLiteral("Analyte")), resultsTable, patientKey,
                         QStringLiteral("COALESCE(%1, 0)").arg(column(QStringLiteral("Remplacé"))),
                         QStringLiteral("COALESCE(%1, '')").arg(column(QStringLiteral("Date examen")))));
            query.addBindValue(m_number);
            query.addBindValue(date);
            m_db.run(query);
            while (query.next()) {
                const QString key = sameResultKey(query.value(1).toString(), query.value(2).toString(), date,
                                                  query.value(3).toString());
                m_stored.insert(key, StoredResult{query.value(0).toLongLong(), query.value(4).toString(),
                                                  query.value(5).toString(), query.value(6), query.value(7).toString()});
            }
            query.finish();
        }
    }

    void addResult(int index)
    {
        const LabResult &result = m_report.results.at(index);
        const QDate date = m_report.dateOf(result);
        const QString key = sameResultKey(result.code, result.label, isoDate(date), m_report.laboratory);
        std::optional<StoredResult> former;
        if (const auto stored = m_stored.constFind(key); stored != m_stored.constEnd()) {
            // Sent again as it was: nothing new.
            if (stored->value == result.value && stored->unit == result.unit)
                return;
            former = *stored;
            m_replaced.append(stored->id);
        }
        m_stored.insert(key, StoredResult{0, result.value, result.unit, QVariant(), QString()});
        const Analyte *analyte = m_catalogue.analyteOf(result);
        ResultRow row;
        row.set(records::recordNumberField, m_number)
            .set(QStringLiteral("Date examen"), date)
            .set(QStringLiteral("Laboratoire"), m_report.laboratory)
            .set(QStringLiteral("Code"), result.code)
            .set(QStringLiteral("Libellé"), result.label)
            .set(QStringLiteral("Analyte"), analyte ? analyte->name : QString())
            .set(QStringLiteral("Résultat"), result.value)
            .set(QStringLiteral("Valeur"), result.number ? QVariant(*result.number) : QVariant())
            .set(QStringLiteral("Unité"), result.unit)
            .set(QStringLiteral("Normale basse"), result.low)
            .set(QStringLiteral("Normale haute"), result.high)
            .set(QStringLiteral("Indicateur"), result.flag)
            .set(QStringLiteral("Statut"), result.status)
            .set(QStringLiteral("Résultat 2"), result.value2)
            .set(QStringLiteral("Unité 2"), result.unit2)
            .set(QStringLiteral("Normale basse 2"), result.low2)
            .set(QStringLiteral("Normale haute 2"), result.high2)
            .set(QStringLiteral("Commentaire"), result.comment)
            .set(QStringLiteral("Fichier"), m_fileName)
            .set(QStringLiteral("Vu"), 0)
            .set(QStringLiteral("Remplacé"), 0);
        m_rows.append(row);
        if (former)
            ++m_outcome.replaced;
        else
            ++m_outcome.added;
        if (!analyte)
            return;
        const ListValue listValue = listValueOf(*analyte, result);
        if (!listValue.alert.isEmpty())
            alert(int(m_rows.size() - 1), listValue.alert);
        if (analyte->valueList.isEmpty() && analyte->name != LabResultImport::creatinineAnalyte)
            return;
        // A list holds dated values: one of an exam whose date cannot be read stays in the results only.
        if (!date.isValid()) {
            if (listValue.value)
                alert(int(m_rows.size() - 1), undatedAlert());
            return;
        }
        ListEntry &entry = m_entries[analyte->name + QChar(0) + isoDate(date)];
        entry.analyte = analyte;
        entry.date = date;
        entry.rows.append(int(m_rows.size() - 1));
        if (!listValue.value)
            return;
        // Two results of one analyte on one day (a second unit on a line of its own) must agree.
        if (entry.value && !agree(*entry.value, *listValue.value))
            entry.disagree = true;
        else if (!entry.value) {
            entry.value = listValue.value;
            if (former && former->number.isValid() && !former->number.isNull())
                entry.former = analyte->converted(former->number.toDouble(), former->unit);
        }
    }

    QString undatedAlert() const
    {
        const QString sent = m_report.examDateText.trimmed();
        return QStringLiteral("Pas de date d'examen lisible%1 : valeur non reportée")
            .arg(sent.isEmpty() ? QString() : QStringLiteral(" (« %1 »)").arg(sent));
    }

    void alert(int row, const QString &text)
    {
        m_rows[row].set(QStringLiteral("Alerte"), text);
        m_outcome.alerts.append(text);
    }

    void checkLists()
    {
        for (ListEntry &entry : m_entries) {
            if (!entry.disagree)
                continue;
            entry.value.reset();
            for (int row : std::as_const(entry.rows))
                alert(row, QStringLiteral("Valeurs de %1 en désaccord entre elles : rien n'est reporté").arg(entry.analyte->name));
        }
    }

    QList<QVariantList> rowValues() const
    {
        QList<QVariantList> values;
        values.reserve(m_rows.size());
        for (const ResultRow &row : m_rows)
            values.append(row.values());
        return values;
    }

    void markReplaced()
    {
        for (qint64 id : std::as_const(m_replaced)) {
            QSqlQuery &update = m_db.prepared(QStringLiteral("UPDATE %1 SET %2 = 1 WHERE %3 = ?")
                                                  .arg(resultsTable, column(QStringLiteral("Remplacé")),
                                                       SqlDialect::idColumn()));
            update.addBindValue(id);
            m_db.run(update);
        }
    }

    void fileIntoLists()
    {
        records::Table measures(m_db, records::tables::measures);
        measures.open();
        const bool stored = measures.findKey({m_number});
        const QString weights = stored ? measures.text(QStringLiteral("Poids")) : QString();
        bool editing = false;
        auto edit = [&] {
            if (editing)
                return;
            editing = true;
            if (stored) {
                measures.edit();
            } else {
                measures.insert();
                measures.setValue(records::recordNumberField, m_number);
            }
        };
        const Analyte *creatinine = nullptr;
        ListEntry latestCreatinine;
        for (const ListEntry &entry : std::as_const(m_entries)) {
            if (!entry.value)
                continue;
            if (entry.analyte->name == LabResultImport::creatinineAnalyte) {
                if (!creatinine || entry.date > latestCreatinine.date) {
                    creatinine = entry.analyte;
                    latestCreatinine = entry;
                }
                continue;
            }
            edit();
            const QString list = entry.analyte->valueList;
            const QString date = shortDateText(entry.date);
            const QString text = entry.analyte->listText(*entry.value);
            QString values = measures.text(list);
            if (entry.former && replaceValueEntry(values, date, entry.analyte->listText(*entry.former), text)) {
                measures.setText(list, values);
                continue;
            }
            if (!holdsValueEntry(values, date, text))
                appendValueEntry(measures, list, date, text);
        }
        if (creatinine)
            fileClearance(latestCreatinine, weights, measures, edit);
        if (editing)
            measures.post();
    }

    template<typename Edit>
    void fileClearance(const ListEntry &creatinine, const QString &weightList, records::Table &measures, Edit edit)
    {
        records::Table patients(m_db, records::tables::patients);
        patients.setOrdering(records::recordNumberField);
        patients.open();
        if (!patients.findKey({m_number}))
            return;
        const auto male = isMale(patients.text(QStringLiteral("Sexe")));
        const ValueListReading weights = readValueList(weightList);
        if (!male || weights.entries.isEmpty() || *creatinine.value <= 0) {
            m_outcome.alerts.append(QStringLiteral("Clearance non calculée : le poids ou le sexe du patient manque"));
            return;
        }
        const int age = ageOn(int(patients.number(QStringLiteral("Jour"))), int(patients.number(QStringLiteral("Mois"))),
                              int(patients.number(QStringLiteral("Année"))), creatinine.date);
        const double clearance = cockcroftGault(age, weights.entries.last().value, *creatinine.value, *male);
        const double estimate = ckdEpi2021(age, *creatinine.value, *male);
        QList<QVariantList> rows;
        for (const auto &[analyte, value, unit] :
             {std::tuple{ClearanceRecord::analyte, clearance, QStringLiteral("ml/min")},
              std::tuple{LabResultImport::ckdEpiAnalyte, estimate, QStringLiteral("ml/min/1,73 m²")}}) {
            const QString text = QString::number(value, 'f', 0);
            rows.append(ResultRow()
                            .set(records::recordNumberField, m_number)
                            .set(QStringLiteral("Date examen"), creatinine.date)
                            .set(QStringLiteral("Laboratoire"), LabResultImport::computedBy)
                            .set(QStringLiteral("Libellé"), analyte)
                            .set(QStringLiteral("Analyte"), analyte)
                            .set(QStringLiteral("Résultat"), text)
                            .set(QStringLiteral("Valeur"), text.toDouble())
                            .set(QStringLiteral("Unité"), unit)
                            .set(QStringLiteral("Fichier"), m_fileName)
                            .set(QStringLiteral("Vu"), 0)
                            .set(QStringLiteral("Remplacé"), 0)
                            .values());
        }
        const bool latest = !ClearanceRecord(m_db).datedAfter(m_number, creatinine.date);
        records::Table(m_db, records::tables::results).appendRows(rows);
        if (!latest)
            return;
        edit();
        measures.setText(QStringLiteral("Clearance"), QString::number(clearance, 'f', 0));
    }

    records::Database &m_db;
    const AnalyteCatalogue &m_catalogue;
    double m_number;
    QString m_fileName;
    const LabReport &m_report;
    LabResultImport::Outcome m_outcome;
    QHash<QString, StoredResult> m_stored;
    QList<ResultRow> m_rows;
    QList<qint64> m_replaced;
    QHash<QString, ListEntry> m_entries;
};

} // namespace

LabResultImport::Outcome LabResultImport::import(double recordNumber, const QString &fileName,
                                                 const LabReport &report) const
{
    if (hasRead(recordNumber, fileName))
        return {};
    records::Database::Transaction transaction(m_db);
    const Outcome outcome = ImportRun(m_db, m_catalogue, recordNumber, fileName, report).run();
    transaction.commit();
    return outcome;
}

} // namespace orvane::clinical
