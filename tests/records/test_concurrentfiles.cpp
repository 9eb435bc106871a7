#include "records/currentpatient.h"
#include "records/database.h"
#include "records/schema.h"
#include "records/table.h"
#include "support/testdatabase.h"

#include <QMap>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace orvane;
using namespace orvane::records;

namespace {

constexpr int copies = 4;
constexpr int filesPerCopy = 500;

struct Reported
{
    QMap<int, QString> patients; // number: "NOM Prénom"
    QMap<QPair<int, QString>, QStringList> measureLines; // (number, field): lines in order
};

QVariantList firstRow(Database &db, const QString &sql)
{
    QSqlQuery query(db.connection());
    if (!query.exec(sql) || !query.next())
        return {};
    QVariantList values;
    for (int i = 0; i < query.record().count(); ++i)
        values.append(query.value(i));
    return values;
}

} // namespace

class TestConcurrentFiles : public QObject
{
    Q_OBJECT

private:
    // Starts the copies at once on the base of the alias file and collects what they report.
    void runCopies(const QString &aliasFile, int files, Reported &reported)
    {
        QList<QProcess *> running;
        for (int copy = 0; copy < copies; ++copy) {
            auto *process = new QProcess(this);
            process->start(QStringLiteral(ORVANE_CONCURRENT_FILES),
                           {aliasFile, QString::number(copy), QString::number(files)});
            running.append(process);
        }
        for (QProcess *process : std::as_const(running)) {
            QVERIFY2(process->waitForStarted(), qPrintable(process->errorString()));
            QVERIFY(process->waitForFinished(280000));
            QVERIFY2(process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0,
                     process->readAllStandardError().constData());
            const QStringList lines = QString::fromUtf8(process->readAllStandardOutput()).split(QLatin1Char('\n'),
                                                                                                  Qt::SkipEmptyParts);
            for (const QString &line : lines) {
                const QStringList parts = line.split(QLatin1Char(' '));
                QCOMPARE(parts.size(), 4);
                if (parts.at(0) == QLatin1String("patient")) {
                    QVERIFY2(!reported.patients.contains(parts.at(1).toInt()), qPrintable(line));
                    reported.patients.insert(parts.at(1).toInt(), parts.at(2) + QLatin1Char(' ') + parts.at(3));
                } else {
                    reported.measureLines[{parts.at(1).toInt(), parts.at(2)}].append(parts.at(3));
                }
            }
        }
        qDeleteAll(running);
    }

    QProcess *appendNotes(const QString &aliasFile, double number, const QString &text)
    {
        auto *process = new QProcess(this);
        process->start(QStringLiteral(ORVANE_CONCURRENT_FILES),
                       {aliasFile, QStringLiteral("notes"), QString::number(number), text});
        return process;
    }

private slots:
    void aCopyNeverOverwritesNotesAnotherCopyStoredSinceItRead()
    {
        test::TestDatabase base;
        const QString aliasFile = base.home() + QStringLiteral("/alias.ini");
        test::writeAliasFile(aliasFile, base.alias());
        CurrentPatient patient(base.db());
        patient.open();
        patient.beginNewFile();
        patient.patients().setText(QStringLiteral("Nom"), QStringLiteral("MARTIN"));
        patient.patients().setText(QStringLiteral("Prénom"), QStringLiteral("Paul"));
        patient.patients().setValue(QStringLiteral("Année"), 1950);
        patient.composeName();
        patient.validate();
        const double number = patient.patients().number(recordNumberField);
        patient.consultations().edit();
        patient.consultations().setText(QStringLiteral("Consultation"), QStringLiteral("Toux"));
        patient.storeClinicalRows();

        std::unique_ptr<QProcess> later(appendNotes(aliasFile, number, QStringLiteral(" NOTE-B")));
        QVERIFY(later->waitForReadyRead(30000));
        QCOMPARE(later->readLine(), QByteArray("read\n"));
        std::unique_ptr<QProcess> first(appendNotes(aliasFile, number, QStringLiteral(" NOTE-A")));
        first->write("\n");
        QVERIFY(first->waitForFinished(30000));
        QCOMPARE(first->readAllStandardOutput(), QByteArray("read\nstored\n"));
        later->write("\n");
        QVERIFY(later->waitForFinished(30000));
        const QString told = QString::fromUtf8(later->readAllStandardOutput());
        QVERIFY2(told.startsWith(QLatin1String("refused\n")) && told.endsWith(QLatin1String("kept\nstored\n")), qPrintable(told));
        for (const QString &named : {QStringLiteral("MARTIN Paul"), QStringLiteral("« Consultation »"), QStringLiteral("NOTE-A")})
            QVERIFY2(told.contains(named), qPrintable(told));

        // The store after the refusal keeps both texts, the other copy's first.
        patient.consultations().refresh();
        const QString stored = patient.consultations().text(QStringLiteral("Consultation"));
        QVERIFY2(stored.startsWith(QStringLiteral("Toux NOTE-A\r\n---- Ajouté sur ce poste le "))
                     && stored.endsWith(QLatin1String(" ----\r\n NOTE-B")),
                 qPrintable(stored));
    }

    void copiesOpeningANewBaseTogetherMakeItsTablesOnce()
    {
        test::TestDatabase base(test::TestDatabase::Open::Later);
        const QString aliasFile = base.home() + QStringLiteral("/alias.ini");
        test::writeAliasFile(aliasFile, base.alias());
        Reported reported;
        runCopies(aliasFile, 3, reported);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(reported.patients.size(), copies * 3);
        Table patients(base.db(), tables::patients);
        patients.open();
        for (const int number : reported.patients.keys())
            QVERIFY(patients.locate(recordNumberField, number));
    }

    void fourCopiesCreatingFilesAtOnceNeverShareANumberNorLoseARow()
    {
        test::TestDatabase base;
        const QString aliasFile = base.home() + QStringLiteral("/alias.ini");
        test::writeAliasFile(aliasFile, base.alias());
        Reported reported;
        runCopies(aliasFile, filesPerCopy, reported);
        if (QTest::currentTestFailed())
            return;
        constexpr int total = copies * filesPerCopy;
        QCOMPARE(reported.patients.size(), total);

        Database &db = base.db();
        const QString number = SqlDialect::quote(recordNumberField);
        const QVariantList patients = firstRow(
            db, QStringLiteral("SELECT count(*), count(DISTINCT %1), max(%1) FROM %2").arg(number, SqlDialect::quote(tables::patients)));
        QCOMPARE(patients.value(0).toInt(), total);
        QCOMPARE(patients.value(1).toInt(), total);
        QCOMPARE(patients.value(2).toInt(), total);
        const QVariantList counter = firstRow(
            db, QStringLiteral("SELECT count(*), max(%1) FROM %2").arg(number, SqlDialect::quote(tables::counter)));
        QCOMPARE(counter.value(0).toInt(), 1);
        QCOMPARE(counter.value(1).toInt(), total);

        for (const TableDef &table : schema()) {
            if (!table.perPatient)
                continue;
            const QVariantList twice = firstRow(db, QStringLiteral("SELECT %1 FROM %2 GROUP BY %1 HAVING count(*) > 1")
                                                        .arg(number, SqlDialect::quote(table.name)));
            QVERIFY2(twice.isEmpty(), qPrintable(table.name + QStringLiteral(": two rows for ") + twice.value(0).toString()));
        }

        Table patientRows(db, tables::patients);
        patientRows.open();
        for (auto it = reported.patients.cbegin(); it != reported.patients.cend(); ++it) {
            QVERIFY(patientRows.locate(recordNumberField, it.key()));
            QCOMPARE(patientRows.text(QStringLiteral("NomPrénom")), it.value());
        }
        Table measures(db, tables::measures);
        measures.open();
        QVERIFY(!reported.measureLines.isEmpty());
        for (auto it = reported.measureLines.cbegin(); it != reported.measureLines.cend(); ++it) {
            QVERIFY(measures.locate(recordNumberField, it.key().first));
            QCOMPARE(measures.lines(it.key().second), it.value());
        }
    }
};

QTEST_GUILESS_MAIN(TestConcurrentFiles)
#include "test_concurrentfiles.moc"
