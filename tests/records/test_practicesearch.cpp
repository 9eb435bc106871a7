#include "platform/error.h"
#include "records/criteriareading.h"
#include "records/latestresults.h"
#include "records/patientlist.h"
#include "records/practicesearch.h"
#include "records/practicesearchrun.h"
#include "records/sqldialect.h"
#include "records/table.h"
#include "records/textindex.h"
#include "support/testdatabase.h"

#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <thread>

using namespace orvane;
using namespace orvane::records;

namespace {

const QDate today(2026, 12, 9);
const QString crlf = QStringLiteral("\r\n");

QString dated(const QString &date, const QStringList &lines)
{
    return crlf + date + crlf + crlf + lines.join(crlf);
}

} // namespace

// Every criterion alone and together on a small practice, on the engine the test runs on: the
// same patients on SQLite and PostgreSQL.
class TestPracticeSearch : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;

    void addPatient(double number, const QString &nom, const QString &prenom, const QVariant &day, const QVariant &month,
                    int year, const QString &sex)
    {
        Table patients(m_base->db(), tables::patients);
        patients.appendRow({nom + QLatin1Char(' ') + prenom, nom, prenom, number, {}, {}, {}, day, month, year, {}, sex, {}});
    }
    void addRow(const QString &table, double number, const QVariantList &values)
    {
        Table rows(m_base->db(), table);
        rows.appendRow(QVariantList{number} + values);
    }
    void changeText(const QString &table, double number, const QString &field, const QString &text)
    {
        Table rows(m_base->db(), table);
        rows.open();
        QVERIFY(rows.locate(recordNumberField, number));
        rows.edit();
        rows.setText(field, text);
        rows.post();
    }

    QList<FoundPatient> search(const SearchCriteria &criteria)
    {
        const SearchStatement statement = searchStatement(criteria, m_base->db().dialect(), today,
                                                          searchableResultTexts(m_base->db()));
        QSqlQuery query(m_base->db().connection());
        if (!query.prepare(statement.sql))
            qFatal("%s", qPrintable(statement.sql));
        for (const QVariant &value : statement.values)
            query.addBindValue(value);
        if (!query.exec())
            qFatal("%s", qPrintable(query.lastError().text()));
        QList<FoundPatient> found;
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < statement.columnCount(); ++i)
                row.append(query.value(i));
            if (auto patient = foundPatient(row, statement, criteria, today))
                found.append(*patient);
        }
        return found;
    }
    QStringList names(const SearchCriteria &criteria)
    {
        QStringList found;
        for (const FoundPatient &patient : search(criteria))
            found.append(patient.name);
        found.sort();
        return found;
    }
    static SearchCriteria vaccination(VaccinationCriterion::Kind kind, const QString &item, const QDate &from, const QDate &to)
    {
        SearchCriteria criteria;
        criteria.vaccination = VaccinationCriterion{kind, item, from, to};
        return criteria;
    }
    void addResult(double number, const QDate &date, const QString &analyte, const QVariant &value, int replaced = 0,
                   const QString &comment = QString())
    {
        fileResult(m_base->db(), number, date, analyte, value, replaced, comment);
    }
    static void fileResult(Database &db, double number, const QDate &date, const QString &analyte, const QVariant &value,
                           int replaced = 0, const QString &comment = QString())
    {
        QSqlQuery &insert = db.prepared(
            QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5, %6, %7, %8, %9, %10) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(SqlDialect::quote(resultsTable::name), SqlDialect::quote(recordNumberField),
                     SqlDialect::keyColumn(recordNumberField), SqlDialect::quote(resultsTable::date),
                     SqlDialect::quote(resultsTable::label), SqlDialect::quote(resultsTable::analyte),
                     SqlDialect::quote(resultsTable::value), SqlDialect::quote(resultsTable::unit),
                     SqlDialect::quote(resultsTable::replaced), SqlDialect::quote(resultsTable::comment)));
        const QVariant day = date.isValid() ? QVariant(date.toString(Qt::ISODate)) : QVariant();
        for (const QVariant &bound : QVariantList{number, number, day, QStringLiteral("HbA1c"), analyte,
                                                  value, QStringLiteral("%"), replaced, comment})
            insert.addBindValue(bound);
        db.run(insert);
    }
    static SearchCriteria labValue(LabValueCriterion::Comparison comparison, double low, bool lastOnly, double high = 0)
    {
        SearchCriteria criteria;
        criteria.labValue = LabValueCriterion{QStringLiteral("hba1c"), comparison, low, high, lastOnly, {}, {}};
        return criteria;
    }
    void dropTextIndexes()
    {
        for (const TextIndexDef &index : textIndexes()) {
            if (m_base->alias().isSqlite()) {
                for (const char *trigger : {"_ajout", "_retrait", "_modif"})
                    m_base->db().run(QStringLiteral("DROP TRIGGER \"%1%2\"").arg(index.name, QLatin1String(trigger)));
                m_base->db().run(QStringLiteral("DROP TABLE \"%1\"").arg(index.name));
            } else {
                // The earlier version indexed the word list computed from the text, under the index's name.
                m_base->db().run(QStringLiteral("DROP INDEX \"%1\"").arg(m_base->db().dialect().textIndexName(index)));
                m_base->db().run(QStringLiteral("ALTER TABLE \"%1\" DROP COLUMN \"%2\"").arg(index.table, index.name));
                m_base->db().run(QStringLiteral("CREATE INDEX \"%1\" ON \"%2\" USING gin (to_tsvector('simple', \"%3\"))")
                                     .arg(index.name, index.table, index.field));
            }
        }
    }

    // Each patient's last HbA1c, read from the last results the engine keeps; up to a day, by
    // comparing his results one with another.
    QStringList lastValues(const QDate &to = {})
    {
        SearchCriteria criteria = labValue(LabValueCriterion::Comparison::Above, 0, true);
        criteria.labValue->to = to;
        QStringList found;
        for (const FoundPatient &patient : search(criteria))
            found.append(patient.name + QLatin1Char(' ') + patient.matched + QLatin1Char(' ') + patient.matchedDate.toString(Qt::ISODate));
        found.sort();
        return found;
    }
    void dropLatestResults()
    {
        const QString name = SqlDialect::quote(latestResults::name);
        if (m_base->alias().isSqlite()) {
            for (const char *trigger : {"_ajout", "_retrait", "_modif"})
                m_base->db().run(QStringLiteral("DROP TRIGGER \"%1%2\"").arg(latestResults::name, QLatin1String(trigger)));
        } else {
            m_base->db().run(QStringLiteral("DROP TRIGGER %1 ON %2").arg(name, SqlDialect::quote(resultsTable::name)));
            m_base->db().run(QStringLiteral("DROP FUNCTION %1()").arg(name));
        }
        m_base->db().run(QStringLiteral("DROP TABLE %1").arg(name));
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        addPatient(1, QStringLiteral("DUPONT"), QStringLiteral("Marie"), 15, 3, 1960, QStringLiteral("Feminin"));
        addPatient(2, QStringLiteral("MARTIN"), QStringLiteral("Paul"), {}, {}, 1990, QStringLiteral("Masculin"));
        addPatient(3, QStringLiteral("BERNARD"), QStringLiteral("Léa"), 10, 6, 1995, QStringLiteral("Feminin"));
        addPatient(4, QStringLiteral("PETIT"), QStringLiteral("Anne"), 10, 12, 1955, QStringLiteral("Feminin"));
        addPatient(5, QStringLiteral("LEROY"), QStringLiteral("Jean"), 1, 1, 1940, QStringLiteral("Masculin"));
        addRow(tables::treatments, 1,
               {QStringLiteral("DOLIPRANE 1000 mg\rMÉDIATOR 150 mg"),
                dated(QStringLiteral("09/01/2025"), {QStringLiteral("Mammographie"), QStringLiteral("à refaire le:10/11/2026")})});
        addRow(tables::consultations, 1,
               {{}, dated(QStringLiteral("02/02/2024"), {QStringLiteral("Fatigue chronique depuis 3 mois")})});
        addRow(tables::insurance, 1, {QStringLiteral("ALD")});
        addRow(tables::archive, 2, {QStringLiteral("MARTIN Paul"), QStringLiteral("- Mediator 150: qsp 1 mois \r\n"), {}, {}});
        addRow(tables::consultations, 2, {{}, dated(QStringLiteral("03/03/2025"), {QStringLiteral("grippe")})});
        addRow(tables::insurance, 2, {QStringLiteral("R G")});
        addRow(tables::measures, 3, {{}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, today.addDays(-30), {}});
        addRow(tables::treatments, 3,
               {{}, dated(QStringLiteral("01/10/2025"), {QStringLiteral("Vaxigrip:1 injection")})});
        addRow(tables::treatments, 4,
               {{}, dated(QStringLiteral("10/02/2018"), {QStringLiteral("Mammographie"), QStringLiteral("à refaire le:12/12/2019")})
                        + dated(QStringLiteral("05/05/2016"), {QStringLiteral("Tetavax: rappel 10 ans"),
                                                                QStringLiteral("Prochain rappel le:03/05/2026")})});
        addRow(tables::insurance, 4, {QStringLiteral("ALD")});
        // A pregnancy of long ago is none.
        addRow(tables::measures, 5, {{}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, QDate(2020, 1, 1), {}});
    }
    void cleanup() { m_base.reset(); }

    void eachCriterionAlone()
    {
        SearchCriteria drug;
        drug.drug = QStringLiteral("mediator");
        QCOMPARE(names(drug), (QStringList{"DUPONT Marie", "MARTIN Paul"}));
        drug.drug = QStringLiteral("Doliprane");
        QCOMPARE(names(drug), QStringList{"DUPONT Marie"});

        SearchCriteria words;
        words.words = QStringLiteral("FATIGUE chronique");
        QCOMPARE(names(words), QStringList{"DUPONT Marie"});
        words.words = QStringLiteral("chronique fatigue");
        QCOMPARE(names(words), QStringList());

        SearchCriteria age;
        age.minimumAge = 66;
        QCOMPARE(names(age), (QStringList{"DUPONT Marie", "LEROY Jean", "PETIT Anne"}));
        // PETIT Anne is 71 from tomorrow only.
        age.minimumAge = 60;
        age.maximumAge = 70;
        QCOMPARE(names(age), (QStringList{"DUPONT Marie", "PETIT Anne"}));
        age.maximumAge = 65;
        QCOMPARE(names(age), QStringList());

        SearchCriteria sex;
        sex.sex = QStringLiteral("Masculin");
        QCOMPARE(names(sex), (QStringList{"LEROY Jean", "MARTIN Paul"}));

        SearchCriteria scheme;
        scheme.scheme = QStringLiteral("ALD");
        QCOMPARE(names(scheme), (QStringList{"DUPONT Marie", "PETIT Anne"}));

        SearchCriteria pregnant;
        pregnant.pregnant = true;
        QCOMPARE(names(pregnant), QStringList{"BERNARD Léa"});
    }

    void vaccinationsAndRecalls()
    {
        using Kind = VaccinationCriterion::Kind;
        QCOMPARE(names(vaccination(Kind::Done, QStringLiteral("mammographie"), QDate(2024, 12, 9), today)),
                 QStringList{"DUPONT Marie"});
        SearchCriteria notDone = vaccination(Kind::NotDone, QStringLiteral("Mammographie"), QDate(2024, 12, 9), today);
        notDone.sex = QStringLiteral("Feminin");
        notDone.minimumAge = 50;
        notDone.maximumAge = 74;
        const QList<FoundPatient> reminded = search(notDone);
        QCOMPARE(reminded.size(), 1);
        QCOMPARE(reminded.first().name, QStringLiteral("PETIT Anne"));
        // The last one she had is shown.
        QCOMPARE(reminded.first().matchedDate, QDate(2018, 2, 10));
        QCOMPARE(names(vaccination(Kind::RecallDue, QString(), {}, QDate(2026, 6, 1))), QStringList{"PETIT Anne"});
        QCOMPARE(names(vaccination(Kind::RecallDue, QString(), {}, QDate(2026, 12, 31))),
                 (QStringList{"DUPONT Marie", "PETIT Anne"}));
        QCOMPARE(names(vaccination(Kind::RecallDue, QStringLiteral("Tetavax"), {}, QDate(2026, 12, 31))),
                 QStringList{"PETIT Anne"});
    }

    void criteriaCombineAndShowWhatMatched()
    {
        SearchCriteria criteria;
        criteria.drug = QStringLiteral("Médiator");
        criteria.sex = QStringLiteral("Feminin");
        criteria.minimumAge = 60;
        const QList<FoundPatient> found = search(criteria);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().name, QStringLiteral("DUPONT Marie"));
        QCOMPARE(found.first().number, 1.0);
        QCOMPARE(found.first().birthText, QStringLiteral("15/03/1960"));
        QCOMPARE(found.first().age, 66);
        QCOMPARE(found.first().matched, QStringLiteral("MÉDIATOR 150 mg"));

        SearchCriteria words;
        words.words = QStringLiteral("fatigue");
        words.scheme = QStringLiteral("ALD");
        const QList<FoundPatient> noted = search(words);
        QCOMPARE(noted.size(), 1);
        QCOMPARE(noted.first().matched, QStringLiteral("Fatigue chronique depuis 3 mois"));
        QCOMPARE(noted.first().matchedDate, QDate(2024, 2, 2));
    }

    void laboratoryValuesLastOrAny()
    {
        addResult(1, QDate(2025, 1, 10), QStringLiteral("HBA1C"), 9.1);
        addResult(1, QDate(2026, 6, 1), QStringLiteral("HBA1C"), 7.2);
        addResult(1, QDate(), QStringLiteral("HBA1C"), 9.3);
        // A value the laboratory replaced counts no more.
        addResult(2, QDate(2026, 3, 1), QStringLiteral("HBA1C"), 8.4);
        addResult(2, QDate(2026, 5, 1), QStringLiteral("HBA1C"), 7.0, 1);
        // The last result is no number: the last value is not known to be above anything.
        addResult(4, QDate(2026, 2, 1), QStringLiteral("HBA1C"), 8.8);
        addResult(4, QDate(2026, 9, 1), QStringLiteral("HBA1C"), QVariant(QMetaType::fromType<double>()));
        addResult(5, QDate(2026, 9, 1), QStringLiteral("GLY"), 9.5);

        using Comparison = LabValueCriterion::Comparison;
        const QList<FoundPatient> last = search(labValue(Comparison::Above, 8, true));
        QCOMPARE(last.size(), 1);
        QCOMPARE(last.first().name, QStringLiteral("MARTIN Paul"));
        QCOMPARE(last.first().matched, QStringLiteral("HbA1c : 8,4 %"));
        QCOMPARE(last.first().matchedDate, QDate(2026, 3, 1));
        QCOMPARE(names(labValue(Comparison::Above, 8, false)), (QStringList{"DUPONT Marie", "MARTIN Paul", "PETIT Anne"}));
        QCOMPARE(names(labValue(Comparison::Below, 8, true)), QStringList{"DUPONT Marie"});
        QCOMPARE(names(labValue(Comparison::Between, 8.4, false, 8.8)), (QStringList{"MARTIN Paul", "PETIT Anne"}));

        SearchCriteria inPeriod = labValue(Comparison::Above, 8, false);
        inPeriod.labValue->from = QDate(2026, 1, 1);
        inPeriod.sex = QStringLiteral("Feminin");
        QCOMPARE(names(inPeriod), QStringList{"PETIT Anne"});
        // The last value of the period.
        inPeriod.labValue->lastOnly = true;
        inPeriod.labValue->to = QDate(2026, 8, 31);
        QCOMPARE(names(inPeriod), QStringList{"PETIT Anne"});

        // An accented name typed without its accents is the one filed, in capitals the engine's way.
        addResult(1, QDate(2026, 6, 1), QStringLiteral("Créatinine"), 90);
        SearchCriteria creatinine = labValue(Comparison::Above, 80, true);
        creatinine.labValue->analyte = knownSpelling(QStringLiteral("CREATININE"), {QStringLiteral("Hb"), QStringLiteral("Créatinine")});
        QCOMPARE(names(creatinine), QStringList{"DUPONT Marie"});
    }

    // The last values as kept by the engine, each patient's last value as found by comparing his results.
    void theLastValueIsKeptThroughEveryStoreChangeAndRemoval()
    {
        const QDate compared(2100, 1, 1);
        addResult(1, QDate(2025, 1, 10), QStringLiteral("HBA1C"), 9.1);
        addResult(1, QDate(2026, 6, 1), QStringLiteral("HBA1C"), 7.2);
        // Of one day's results, the last filed; an undated one comes before them all.
        addResult(2, QDate(2026, 3, 1), QStringLiteral("HBA1C"), 8.4);
        addResult(2, QDate(2026, 3, 1), QStringLiteral("HBA1C"), 8.9);
        addResult(4, QDate(2026, 2, 1), QStringLiteral("HBA1C"), 8.8);
        addResult(4, QDate(), QStringLiteral("HBA1C"), 6.0);
        addResult(5, QDate(2026, 1, 1), QStringLiteral("hba1c"), 7.7);
        addResult(5, QDate(2026, 2, 1), QStringLiteral("HBA1C"), 9.9);
        QCOMPARE(lastValues({}), (QStringList{"DUPONT Marie HbA1c : 7,2 % 2026-06-01", "LEROY Jean HbA1c : 9,9 % 2026-02-01",
                                              "MARTIN Paul HbA1c : 8,9 % 2026-03-01", "PETIT Anne HbA1c : 8,8 % 2026-02-01"}));
        QCOMPARE(lastValues({}), lastValues(compared));

        const auto change = [this](const QString &set, const QString &where) {
            m_base->db().run(QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(SqlDialect::quote(resultsTable::name), set, where));
        };
        const QString valued = SqlDialect::quote(resultsTable::value) + QStringLiteral(" = %1");
        change(SqlDialect::quote(resultsTable::replaced) + QStringLiteral(" = 1"), valued.arg(7.2));
        change(QStringLiteral("%1 = 3, %2 = 3").arg(SqlDialect::quote(recordNumberField), SqlDialect::keyColumn(recordNumberField)),
               valued.arg(9.1));
        change(SqlDialect::quote(resultsTable::analyte) + QStringLiteral(" = 'GLY'"), valued.arg(9.9));
        change(SqlDialect::quote(resultsTable::date) + QStringLiteral(" = '2026-02-02'"), valued.arg(7.7));
        m_base->db().run(QStringLiteral("DELETE FROM %1 WHERE %2").arg(SqlDialect::quote(resultsTable::name), valued.arg(8.9)));
        QCOMPARE(lastValues({}), (QStringList{"BERNARD Léa HbA1c : 9,1 % 2025-01-10", "LEROY Jean HbA1c : 7,7 % 2026-02-02",
                                              "MARTIN Paul HbA1c : 8,4 % 2026-03-01", "PETIT Anne HbA1c : 8,8 % 2026-02-01"}));
        QCOMPARE(lastValues({}), lastValues(compared));
    }

    // Two rooms file a result of one patient's analyte at once: the second waits for the first, and
    // the later result is the last.
    void resultsFiledAtOnceByTwoRoomsKeepTheLaterLast()
    {
        Database::Transaction first(m_base->db(), QString(), Database::Transaction::Begin::Now);
        addResult(1, QDate(2026, 1, 1), QStringLiteral("HBA1C"), 7.0);
        QString failure;
        std::thread second([this, &failure] {
            try {
                fileResult(*m_base->openAnother(), 1, QDate(2026, 2, 1), QStringLiteral("HBA1C"), 9.0);
            } catch (const Error &error) {
                failure = error.message();
            }
        });
        QThread::msleep(500);
        first.commit();
        second.join();
        QCOMPARE(failure, QString());
        QCOMPARE(lastValues(), QStringList{"DUPONT Marie HbA1c : 9 % 2026-02-01"});
    }

    // A store of many patients' results in one transaction, as a base copied whole is written.
    void manyPatientsResultsStoredAtOnce()
    {
        const TableDef &results = tableDef(resultsTable::name);
        QList<QVariantList> rows;
        for (int number = 1; number <= 50000; ++number) {
            QVariantList row(results.fields.size());
            row[results.fieldIndex(recordNumberField)] = number;
            row[results.fieldIndex(resultsTable::date)] = QDate(2026, 1, 1);
            row[results.fieldIndex(resultsTable::analyte)] = QStringLiteral("HBA1C");
            row[results.fieldIndex(resultsTable::value)] = 9.5;
            rows.append(row);
        }
        Table(m_base->db(), resultsTable::name).appendRows(rows);
        QCOMPARE(search(labValue(LabValueCriterion::Comparison::Above, 9, true)).size(), 5);
    }

    void wordsOfTheReceivedResults()
    {
        createSearchIndexes(m_base->db());
        QVERIFY(missingSearchIndexes(m_base->db()).isEmpty());
        addResult(5, QDate(2026, 4, 2), QStringLiteral("HBA1C"), 9.0, 0, QStringLiteral("Prélèvement hémolysé"));
        SearchCriteria criteria;
        criteria.words = QStringLiteral("hemolyse");
        const QList<FoundPatient> found = search(criteria);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().name, QStringLiteral("LEROY Jean"));
        QCOMPARE(found.first().matched, QStringLiteral("HbA1c Prélèvement hémolysé"));
        QCOMPARE(found.first().matchedDate, QDate(2026, 4, 2));
        criteria.words = QStringLiteral("fatigue");
        QCOMPARE(names(criteria), QStringList{"DUPONT Marie"});
        // With a drug, each of its patients' texts is looked for on the server.
        addResult(2, QDate(2026, 4, 3), QStringLiteral("HBA1C"), 7.0, 0, QStringLiteral("Prélèvement hémolysé"));
        criteria.drug = QStringLiteral("mediator");
        criteria.words = QStringLiteral("hemolyse");
        QCOMPARE(names(criteria), QStringList{"MARTIN Paul"});
        criteria.words = QStringLiteral("fatigue");
        QCOMPARE(names(criteria), QStringList{"DUPONT Marie"});
    }

    void aTextChangedIsFoundByItsNewWordsOnly()
    {
        changeText(tables::consultations, 1, QStringLiteral("Consultation"), QStringLiteral("Asthénie marquée"));
        SearchCriteria criteria;
        criteria.words = QStringLiteral("fatigue");
        QCOMPARE(names(criteria), QStringList());
        criteria.words = QStringLiteral("asthenie");
        QCOMPARE(names(criteria), QStringList{"DUPONT Marie"});
        // A row the store removes takes its words with it.
        Table archive(m_base->db(), tables::archive);
        archive.open();
        QVERIFY(archive.locate(recordNumberField, 2));
        archive.remove();
        criteria.words = QStringLiteral("qsp");
        QCOMPARE(names(criteria), QStringList());
    }

    // Words are letters and digits, case and accents folded; a phrase is found on one line, as shown.
    void aPhraseIsFoundOnOneLine()
    {
        QCOMPARE(foldedWords(QStringLiteral("L'HbA1c : 8,4 % — Prélèvement HÉMOLYSÉ")),
                 (QStringList{"l", "hba1c", "8", "4", "prelevement", "hemolyse"}));
        changeText(tables::consultations, 2, QStringLiteral("Consultation"),
                   dated(QStringLiteral("03/03/2025"), {QStringLiteral("Toux sèche"), QStringLiteral("fébrile la nuit")}));
        SearchCriteria criteria;
        criteria.words = QStringLiteral("toux seche");
        const QList<FoundPatient> found = search(criteria);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().matchedDate, QDate(2025, 3, 3));
        criteria.words = QStringLiteral("sèche fébrile");
        QCOMPARE(names(criteria), QStringList());
    }

    void aVeryLongTextIsStoredAndFoundByItsBeginning()
    {
        QString text;
        for (int i = 0; i < 300000; ++i)
            text += QStringLiteral("mot%1 ").arg(i);
        changeText(tables::consultations, 2, QStringLiteral("Consultation"), text);
        SearchCriteria criteria;
        criteria.words = QStringLiteral("mot12");
        QCOMPARE(names(criteria), QStringList{"MARTIN Paul"});
    }

    void aBaseOfThePreviousVersionGetsItsIndexesFilled()
    {
        dropTextIndexes();
        // Its results table was made without the lookup of the laboratory values.
        const QString lookup = tableDef(tables::results).lookups.value(0).name;
        m_base->db().run(QStringLiteral("DROP INDEX %1").arg(SqlDialect::quote(lookup)));
        dropLatestResults();
        addRow(tables::consultations, 4, {{}, QStringLiteral("Lombalgie aiguë")});
        addResult(1, QDate(2025, 1, 1), QStringLiteral("HbA1c"), 7.0);
        addResult(1, QDate(2026, 6, 1), QStringLiteral("HbA1c"), 8.2);
        QStringList missing;
        for (const TextIndexDef &index : textIndexes())
            missing.append(m_base->db().dialect().textIndexName(index));
        QCOMPARE(missingSearchIndexes(m_base->db()), missing << lookup << latestResults::name);
        QList<int> progress;
        createSearchIndexes(m_base->db(), [&progress](int done, int) { progress.append(done); });
        QCOMPARE(progress.size(), textIndexes().size() + resultTextIndexes().size() + 2);
        QVERIFY(missingSearchIndexes(m_base->db()).isEmpty());
        if (!m_base->alias().isSqlite()) {
            QSqlQuery earlier(m_base->db().connection());
            QVERIFY(earlier.exec(QStringLiteral("SELECT 1 FROM pg_class WHERE relname = '%1'").arg(textIndexes().first().name)));
            QVERIFY2(!earlier.next(), "the earlier index of the word lists is gone");
        }
        QCOMPARE(names(labValue(LabValueCriterion::Comparison::Above, 8, true)), QStringList{"DUPONT Marie"});
        QCOMPARE(lastValues(), lastValues(QDate(2100, 1, 1)));
        SearchCriteria criteria;
        criteria.words = QStringLiteral("lombalgie aigue");
        QCOMPARE(names(criteria), QStringList{"PETIT Anne"});
        criteria.words = QStringLiteral("fatigue");
        QCOMPARE(names(criteria), QStringList{"DUPONT Marie"});
        // Kept up to date from then on.
        changeText(tables::consultations, 4, QStringLiteral("Consultation"), QStringLiteral("Sciatique"));
        criteria.words = QStringLiteral("lombalgie");
        QCOMPARE(names(criteria), QStringList());
    }

    void aSearchOnItsOwnThreadFindsTheSamePatients()
    {
        SearchCriteria criteria;
        criteria.sex = QStringLiteral("Feminin");
        PracticeSearchRun run(sameBase(m_base->db()), criteria, today);
        QSignalSpy ended(&run, &PracticeSearchRun::ended);
        QStringList found;
        connect(&run, &PracticeSearchRun::found, this, [&found](const QList<FoundPatient> &patients) {
            for (const FoundPatient &patient : patients)
                found.append(patient.name);
        });
        run.start();
        QVERIFY(ended.wait(10000));
        QCOMPARE(ended.first().at(0).toInt(), 3);
        QCOMPARE(ended.first().at(1).toString(), QString());
        QCoreApplication::processEvents();
        found.sort();
        QCOMPARE(found, (QStringList{"BERNARD Léa", "DUPONT Marie", "PETIT Anne"}));
        run.wait();
    }

    void typedCriteriaThatCannotBeRead()
    {
        TypedCriteria typed;
        typed.minimumAge = QStringLiteral("8,5,2");
        typed.drug = QStringLiteral("500 mg");
        typed.vaccinationKind = vaccinationKinds().at(0);
        typed.vaccinationItem = QStringLiteral("Vaxigrip");
        typed.from = QStringLiteral("31/02/2026");
        const CriteriaReading reading = readCriteria(typed, today);
        QCOMPARE(reading.problems.value(QStringLiteral("minimumAge")), QStringLiteral("« 8,5,2 » n'est pas un âge en années"));
        QCOMPARE(reading.problems.value(QStringLiteral("drug")),
                 QStringLiteral("Le nom du médicament manque (le dosage ne suffit pas)"));
        QCOMPARE(reading.problems.value(QStringLiteral("from")), QStringLiteral("« 31/02/2026 » n'est pas une date (jj/mm/aaaa)"));
        QCOMPARE(reading.problems.size(), 3);

        QCOMPARE(readCriteria(TypedCriteria(), today).problems.value(QString()), QStringLiteral("Choisissez au moins un critère"));
        typed = TypedCriteria();
        typed.drug = QStringLiteral("Doliprane 1000 mg");
        typed.vaccinationKind = vaccinationKinds().at(2);
        typed.to = QStringLiteral("01/06/2026");
        const CriteriaReading read = readCriteria(typed, today);
        QVERIFY(read.problems.isEmpty());
        QCOMPARE(read.criteria.drug, QStringLiteral("Doliprane"));
        QCOMPARE(read.criteria.vaccination->to, QDate(2026, 6, 1));
        QCOMPARE(TypedCriteria::fromMap(typed.toMap()).to, typed.to);

        TypedCriteria lab;
        lab.labAnalyte = QStringLiteral("HBA1C");
        lab.labComparison = labComparisons().last();
        lab.labValue = QStringLiteral("8,5,2");
        QCOMPARE(readCriteria(lab, today).problems.value(QStringLiteral("labValue")), QStringLiteral("« 8,5,2 » n'est pas un nombre"));
        QCOMPARE(readCriteria(lab, today).problems.value(QStringLiteral("labHighValue")), QStringLiteral("La valeur manque"));
        lab.labValue = QStringLiteral("8,5");
        lab.labHighValue = QStringLiteral("10.5");
        lab.labWhich = labWhichValues().last();
        const CriteriaReading labRead = readCriteria(TypedCriteria::fromMap(lab.toMap()), today);
        QVERIFY(labRead.problems.isEmpty());
        QCOMPARE(labRead.criteria.labValue->low, 8.5);
        QCOMPARE(labRead.criteria.labValue->high, 10.5);
        QVERIFY(!labRead.criteria.labValue->lastOnly);
    }

    // One born on 29 February is a year older on 1 March, not on 1 January.
    void ageOfOneBornOn29February()
    {
        SearchCriteria criteria;
        criteria.sex = QStringLiteral("Feminin");
        const SearchStatement statement = searchStatement(criteria, m_base->db().dialect(), today, {});
        const QVariantList row{12.0, QStringLiteral("DUPONT Zoé"), 29, 2, 2000, 12};
        QCOMPARE(foundPatient(row, statement, criteria, QDate(2026, 2, 28))->age, std::optional(25));
        QCOMPARE(foundPatient(row, statement, criteria, QDate(2026, 3, 1))->age, std::optional(26));
    }

    void theListSavedForAMailMerge()
    {
        FoundPatient patient;
        patient.name = QStringLiteral("DUPONT; Zoé");
        patient.number = 12;
        patient.birthText = QStringLiteral("1960");
        patient.age = 66;
        patient.matched = QStringLiteral("dit \"non\"");
        const QByteArray csv = patientListCsv({patient});
        QVERIFY(csv.startsWith("\xEF\xBB\xBF" "Nom et Prénom;N°Dossier;"));
        QVERIFY(csv.endsWith(QStringLiteral("\r\n\"DUPONT; Zoé\";12;1960;66;\"dit \"\"non\"\"\";\r\n").toUtf8()));
    }
};

QTEST_MAIN(TestPracticeSearch)
#include "test_practicesearch.moc"
