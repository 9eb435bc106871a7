// Measures the file operations of the program on synthetic bases of growing size, through the
// program's own classes and windows (offscreen), beside the bare indexed seek they rest on.
// Then, up to 100,000 patients, the import of a practice's files of the earlier program.
// On PostgreSQL, the tests' throw-away server is reached through a relay that delays it as a
// network would, and each operation's round trips are counted there.
// Usage: orvane-bench [--engine sqlite|postgresql] [--rtt MS]... [--searches | --search TEXT | --results]
//        [patients...]
//        (default: SQLite; 10000 100000 1000000; on PostgreSQL, round trips of 0, 2 and 20 ms;
//        --searches: the start and the searches across the practice only; --search TEXT: those whose
//        line holds TEXT; --results: the start and the laboratory results only)

#include "app/foundpatientsmodel.h"
#include "app/startup.h"
#include "app/torvane.h"
#include "prescribing/qprintersurface.h"
#include "bench/delayingproxy.h"
#include "bench/syntheticbase.h"
#include "bench/syntheticpractice.h"
#include "clinical/analytes.h"
#include "clinical/labresultswindow.h"
#include "import/practiceimport.h"
#include "messaging/patientfinder.h"
#include "messaging/receivedresults.h"
#include "messaging/resultfiler.h"
#include "platform/clock.h"
#include "platform/dialogservice.h"
#include "platform/error.h"
#include "platform/places.h"
#include "platform/textcodec.h"
#include "platform/textlines.h"
#include "records/currentpatient.h"
#include "records/database.h"
#include "records/patientfilecommands.h"
#include "records/practicesearchrun.h"
#include "records/schema.h"
#include "records/serveradmin.h"
#include "records/sqldialect.h"
#include "records/table.h"
#include "records/textindex.h"
#include "records/trechercher.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QMetaObject>
#include <QProcess>
#include <QSettings>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

using namespace orvane;

namespace {

// The lines measured: all of them, or the start and those of one work only.
enum class Lines { All, Searches, Results };
Lines measured = Lines::All;
// With --search: only the searches across the practice whose line holds this text.
QString searchesNamed;

// Says yes, and closes the program's own windows with their OK button.
class AnsweringDialogs final : public DialogService
{
public:
    bool askYesNo(QWidget *, const QString &, Icon) override { return true; }
    void showMessage(QWidget *, const QString &) override {}
    void showError(const QString &text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    std::optional<QString> askText(QWidget *, const QString &, const QString &, const QString &) override
    {
        return m_text;
    }
    QString chooseFileToOpen(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFileToSave(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QFont> chooseFont(QWidget *, const QFont &) override { return std::nullopt; }
    bool setUpPrinter(QWidget *, QPrinter &) override { return false; }
    int execModal(QDialog &dialog) override
    {
        dialog.show();
        for (const char *ok : {"Button1Click", "BitBtn1Click"}) {
            if (dialog.metaObject()->indexOfSlot(QByteArray(ok) + "()") >= 0)
                QMetaObject::invokeMethod(&dialog, ok);
        }
        if (dialog.isVisible())
            dialog.accept();
        return dialog.result();
    }
    QString m_text;
};

struct Figures
{
    double median = 0;
    double p95 = 0;
    // Counted at the relay to the server; none on SQLite.
    std::optional<qint64> roundTrips;
    qint64 mostRoundTrips = 0;
};

// Times operations; behind a relay, also counts their round trips.
class Measure
{
public:
    explicit Measure(const bench::DelayingProxy *proxy)
        : m_proxy(proxy)
    {
    }

    bool countsRoundTrips() const { return m_proxy; }

    // Fewer repetitions behind a relay: each may wait for many round trips.
    Figures operator()(int repetitions, const std::function<void()> &prepare,
                       const std::function<void()> &operation) const
    {
        if (m_proxy)
            repetitions = std::max(5, repetitions / 4);
        QList<double> times;
        QList<qint64> trips;
        QElapsedTimer timer;
        for (int i = 0; i < repetitions; ++i) {
            prepare();
            const qint64 tripsBefore = m_proxy ? m_proxy->roundTrips() : 0;
            timer.start();
            operation();
            times.append(timer.nsecsElapsed() / 1e6);
            if (m_proxy)
                trips.append(m_proxy->roundTrips() - tripsBefore);
        }
        std::sort(times.begin(), times.end());
        Figures figures;
        figures.median = times.at(times.size() / 2);
        figures.p95 = times.at(std::min<qsizetype>(times.size() - 1, times.size() * 95 / 100));
        if (m_proxy) {
            std::sort(trips.begin(), trips.end());
            figures.roundTrips = trips.at(trips.size() / 2);
            figures.mostRoundTrips = trips.last();
        }
        return figures;
    }

private:
    const bench::DelayingProxy *m_proxy;
};

// The tests' throw-away PostgreSQL server, started for the run and stopped after it.
class BenchServer
{
public:
    explicit BenchServer(const QString &stateFolder)
        : m_state(stateFolder)
    {
        control(QStringLiteral("start"));
        m_alias = records::AliasSettings::loadFile(m_state + QStringLiteral("/alias.ini"));
    }
    ~BenchServer()
    {
        try {
            control(QStringLiteral("stop"));
        } catch (const Error &error) {
            std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        }
    }
    BenchServer(const BenchServer &) = delete;
    BenchServer &operator=(const BenchServer &) = delete;

    quint16 port() const { return quint16(m_alias.port); }

    // A new, empty base of that name on the server, reached straight.
    records::AliasSettings newBase(const QString &name)
    {
        records::runOnServer(m_alias, QStringLiteral("DROP DATABASE IF EXISTS \"%1\"").arg(name));
        records::runOnServer(m_alias, QStringLiteral("CREATE DATABASE \"%1\"").arg(name));
        return at(name, port());
    }
    // The base of that name, reached at that port of this machine.
    records::AliasSettings at(const QString &name, quint16 port) const
    {
        records::AliasSettings alias = m_alias;
        alias.database = name;
        alias.port = port;
        return alias;
    }

private:
    void control(const QString &command)
    {
        QProcess script;
        script.setProcessChannelMode(QProcess::ForwardedChannels);
        script.start(QStringLiteral("bash"), {QStringLiteral(ORVANE_PGCLUSTER_SCRIPT), command, m_state});
        if (!script.waitForFinished(900000) || script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0)
            throw Error(QStringLiteral("pgcluster.sh %1 a échoué").arg(command));
    }

    QString m_state;
    records::AliasSettings m_alias;
};

long peakMemoryMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void printRow(QTextStream &out, const QString &what, const Figures &figures, const Figures *bare = nullptr)
{
    out << QStringLiteral("| %1 | %2 | %3 | %4 |")
               .arg(what, -44)
               .arg(figures.median, 8, 'f', 3)
               .arg(figures.p95, 8, 'f', 3)
               .arg(bare ? QString::number(figures.median / std::max(bare->median, 1e-6), 'f', 1) : QStringLiteral("-"), 6);
    if (figures.roundTrips) {
        out << QStringLiteral(" %1 |").arg(figures.mostRoundTrips == *figures.roundTrips
                                               ? QString::number(*figures.roundTrips)
                                               : QStringLiteral("%1 (≤ %2)").arg(*figures.roundTrips).arg(figures.mostRoundTrips),
                                           -11);
    }
    out << "\n";
}

// Points the program's settings and data at a folder of the benchmark's.
QString useHome(const QString &name)
{
    const QString home = QDir::current().absoluteFilePath(QStringLiteral("bench-data/") + name);
    QDir().mkpath(home + QStringLiteral("/config"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/config")));
    return home;
}

// The SQLite base of that size in the program folder, made once.
QString sqliteBase(int size, QTextStream &out)
{
    useHome(QString::number(size));
    const QString base = places::inProgramFolder(QStringLiteral("Data/orvane.sqlite"));
    if (!QFileInfo::exists(base)) {
        out << "Making a base of " << size << " patients in " << base << "...\n";
        out.flush();
        // Made under another name and renamed when whole, so an interrupted run never leaves half a base.
        const QString making = base + QStringLiteral(".making");
        for (const QString &leftover : {making, making + QStringLiteral("-wal"), making + QStringLiteral("-shm")})
            QFile::remove(leftover);
        {
            records::Database db(records::AliasSettings::sqliteFile(making), places::programFolder());
            bench::makeSyntheticBase(db, size);
        }
        QFile::rename(making, base);
    }
    {
        // A base made before the results were filed gets them once.
        records::Database db(records::AliasSettings::sqliteFile(base), places::programFolder());
        bench::addSyntheticResults(db, size);
        // And what a later version searches by, as the program's start gives it.
        records::createSearchIndexes(db);
    }
    return QStringLiteral("%1 patients (%2 MB base)").arg(size).arg(QFileInfo(base).size() / (1024 * 1024));
}

// The searches across the practice as the window runs them: a connection of their own on a thread,
// the rows in batches into the window's list. Timed to the end of the last row listed, and apart to
// the first batch listed.
void runPracticeSearches(records::Database &db, const Measure &measure, QTextStream &out)
{
    using Kind = records::VaccinationCriterion::Kind;
    const QDate today = QDate::currentDate();
    const auto criteria = [](const std::function<void(records::SearchCriteria &)> &fill) {
        records::SearchCriteria made;
        fill(made);
        return made;
    };
    const auto womenToRemind = criteria([&](records::SearchCriteria &c) {
        c.sex = QStringLiteral("Feminin");
        c.minimumAge = 50;
        c.maximumAge = 74;
        c.vaccination = records::VaccinationCriterion{Kind::NotDone, QStringLiteral("Mammographie"), today.addYears(-2), today};
    });
    const QList<QPair<QString, records::SearchCriteria>> searches = {
        {QStringLiteral("drug taken (MEDIATOR)"), criteria([](auto &c) { c.drug = QStringLiteral("Médiator"); })},
        {QStringLiteral("words of the notes (\"toux fébrile\")"), criteria([](auto &c) { c.words = QStringLiteral("toux fébrile"); })},
        {QStringLiteral("age from 50 to 74"), criteria([](auto &c) { c.minimumAge = 50; c.maximumAge = 74; })},
        {QStringLiteral("sex"), criteria([](auto &c) { c.sex = QStringLiteral("Feminin"); })},
        {QStringLiteral("insurance scheme ALD"), criteria([](auto &c) { c.scheme = QStringLiteral("ALD"); })},
        {QStringLiteral("pregnancy in progress"), criteria([](auto &c) { c.pregnant = true; })},
        // A word of nearly every note: the engines' word indexes answer for most texts.
        {QStringLiteral("drug, a word of most notes (\"angine\")"), criteria([](auto &c) {
             c.drug = QStringLiteral("Médiator");
             c.words = QStringLiteral("angine");
         })},
        {QStringLiteral("Tetavax recall due"), criteria([&](auto &c) {
             c.vaccination = records::VaccinationCriterion{Kind::RecallDue, QStringLiteral("Tetavax"), {}, today};
         })},
        {QStringLiteral("women 50-74, no mammography in 2 years"), womenToRemind},
        {QStringLiteral("last HbA1c above 8"), criteria([](auto &c) {
             c.labValue = records::LabValueCriterion{QStringLiteral("HBA1C"), records::LabValueCriterion::Comparison::Above,
                                                     8, 0, true, {}, {}};
         })},
        {QStringLiteral("any HbA1c from 7 to 7.5 in a year"), criteria([&](auto &c) {
             c.labValue = records::LabValueCriterion{QStringLiteral("HBA1C"), records::LabValueCriterion::Comparison::Between,
                                                     7, 7.5, false, today.addYears(-1), today};
         })},
    };
    for (const auto &[what, search] : searches) {
        if (!what.contains(searchesNamed))
            continue;
        QList<double> firstRows;
        int found = 0;
        const Figures whole = measure(10, [] {}, [&, search = search] {
            records::PracticeSearchRun run(records::sameBase(db), search, today);
            app::FoundPatientsModel list;
            QEventLoop loop;
            QElapsedTimer sinceStart;
            sinceStart.start();
            bool first = true;
            QObject::connect(&run, &records::PracticeSearchRun::found, &loop, [&](const QList<records::FoundPatient> &patients) {
                list.add(patients);
                if (std::exchange(first, false))
                    firstRows.append(sinceStart.nsecsElapsed() / 1e6);
            });
            QString failure;
            QObject::connect(&run, &records::PracticeSearchRun::ended, &loop, [&](int count, const QString &why) {
                found = count;
                failure = why;
                loop.quit();
            });
            run.start();
            loop.exec();
            run.wait();
            if (!failure.isEmpty())
                throw Error(failure);
        });
        printRow(out, QStringLiteral("search: %1, %2 found").arg(what).arg(found), whole);
        std::sort(firstRows.begin(), firstRows.end());
        if (!firstRows.isEmpty()) {
            Figures first;
            first.median = firstRows.at(firstRows.size() / 2);
            first.p95 = firstRows.at(std::min<qsizetype>(firstRows.size() - 1, firstRows.size() * 95 / 100));
            printRow(out, QStringLiteral("  its first rows shown"), first);
        }
    }
}

// A patient of the benchmark's own, added to the base once: his results are not mixed with the
// synthetic patients', and his name is found at once.
double benchPatient(records::Database &db, double number, const QString &surname)
{
    records::Table patients(db, records::tables::patients);
    patients.setOrdering(records::recordNumberField);
    patients.open();
    if (!patients.findKey({number})) {
        patients.appendRow({surname + QStringLiteral(" Jean"), surname, QStringLiteral("Jean"), number, {}, {}, {}, 3, 5,
                            1948, {}, QStringLiteral("Masculin"), QStringLiteral("1480375123456-78")});
        records::Table(db, records::tables::measures).appendRow({number, {}, {}, {}, {}, {}, {}, {}, {}, {},
                                                                  QStringLiteral("01/01/2006\r72\r")});
    }
    return number;
}

// A laboratory's message about that patient: 200 results of one exam, the first ones of the
// analytes the value lists stand for.
QByteArray resultsMessage(const QString &surname, const QDate &exam)
{
    QStringList lines{QString(), surname, QStringLiteral("Jean"), QString(), QString(), QString(),
                      QStringLiteral("03/05/1948"), QStringLiteral("1480375123456"), QString(),
                      exam.toString(QStringLiteral("dd/MM/yyyy")), QStringLiteral("Laboratoire du banc d'essai"),
                      QStringLiteral("DOCTEUR"), QStringLiteral("****LAB****"),
                      QStringLiteral("RES|HEMOGLOBINE|HB|N|13.5|g/dL|13.0|17.0|N|F|135|g/l|130|170"),
                      QStringLiteral("RES|LEUCOCYTES|GB|N|7.2|G/L|4.0|10.0|N|F|7200|/mm3|4000|10000"),
                      QStringLiteral("RES|CREATININE|CREA|N|85|µmol/l|62|106|N|F|9.6|mg/l|7|12")};
    for (int i = int(lines.size()) - 12; i < 200; ++i)
        lines.append(QStringLiteral("RES|ANALYSE %1|A%1|N|%2|mg/l|1|100|N|F").arg(i).arg(10 + i % 50));
    lines.append(QStringLiteral("****FIN****"));
    return "From: labo@bio.fr\r\nTo: docteur@cab.fr\r\nSubject: Resultats\r\nMIME-Version: 1.0\r\n"
           "Content-Type: text/plain; charset=windows-1252\r\n\r\n"
        + windowsTextBytes(lines);
}

// 5,000 results over 20 years: 25 analytes on 200 exam days.
void fillResults(records::Database &db, double number)
{
    QSqlQuery count(db.connection());
    count.exec(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = %3")
                   .arg(records::SqlDialect::quote(records::tables::results),
                        records::SqlDialect::keyColumn(records::recordNumberField))
                   .arg(QString::number(number, 'f', 0)));
    if (count.next() && count.value(0).toInt() >= 5000)
        return;
    const records::TableDef &def = records::tableDef(records::tables::results);
    QList<QVariantList> rows;
    for (int day = 0; day < 200; ++day) {
        for (int analyte = 0; analyte < 25; ++analyte) {
            QVariantList row(def.fields.size());
            const auto set = [&](const QString &field, const QVariant &value) { row[def.fieldIndex(field)] = value; };
            const double value = 50 + (day * 7 + analyte * 13) % 100;
            set(records::recordNumberField, number);
            set(QStringLiteral("Date examen"), QDate(2006, 12, 1).addDays(-36 * day));
            set(QStringLiteral("Laboratoire"), QStringLiteral("Laboratoire du banc d'essai"));
            set(QStringLiteral("Code"), QStringLiteral("A%1").arg(analyte));
            set(QStringLiteral("Libellé"), QStringLiteral("ANALYSE %1").arg(analyte));
            set(QStringLiteral("Résultat"), QString::number(value));
            set(QStringLiteral("Valeur"), value);
            set(QStringLiteral("Unité"), QStringLiteral("mg/l"));
            set(QStringLiteral("Normale basse"), QStringLiteral("60"));
            set(QStringLiteral("Normale haute"), QStringLiteral("140"));
            set(QStringLiteral("Vu"), day < 2 ? 0 : 1);
            set(QStringLiteral("Remplacé"), 0);
            rows.append(row);
        }
    }
    records::Table(db, records::tables::results).appendRows(rows);
}

// Filing a received message into the patient's results, and opening his results view.
void runResults(app::TOrvane &window, DialogService &dialogs, const Measure &measure, QTextStream &out)
{
    records::Database &db = window.patient().database();
    const QString filing = QStringLiteral("BANCFILING");
    // The files are named anew each run: the rows of a former run would make them read already.
    const double filed = benchPatient(db, 9999999, filing);
    db.run(QStringLiteral("DELETE FROM %1 WHERE %2 = %3")
               .arg(records::SqlDialect::quote(records::tables::results),
                    records::SqlDialect::keyColumn(records::recordNumberField))
               .arg(QString::number(filed, 'f', 0)));
    const double viewed = benchPatient(db, 9999998, QStringLiteral("BANCRESULTATS"));
    fillResults(db, viewed);
    const QString folder = places::inProgramFolder(QStringLiteral("bench-examens"));
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    SystemClock clock;
    messaging::PatientFinder finder(db);
    const messaging::ReceivedResults results(db, folder, QString());
    const messaging::ResultFiler filer(
        folder, [&](const messaging::HprimIdentity &identity) { return finder.matchesOf(identity); },
        [](const QString &) { return std::nullopt; }, clock,
        [&](const messaging::PatientMatch &patient, const QString &path) { results.read(patient.number, path); });
    // Each message is of another exam day, so that each adds its 200 rows.
    QDate exam(1990, 1, 1);
    QByteArray message;
    const Figures filing200 = measure(
        20, [&] { message = resultsMessage(filing, exam = exam.addDays(1)); }, [&] { filer.file(message); });
    printRow(out, QStringLiteral("message of 200 results filed"), filing200);

    const clinical::AnalyteCatalogue catalogue = clinical::AnalyteCatalogue::standard(QString());
    clinical::LabResultsWindow view(
        db, window.printerSurface(), dialogs, [&]() -> const clinical::AnalyteCatalogue & { return catalogue; },
        [](const QString &, const QString &) {});
    const Figures opened = measure(
        20, [&] { view.hide(); },
        [&] {
            view.load({viewed, QStringLiteral("BANCRESULTATS Jean"), QString(), {}});
            view.show();
        });
    view.hide();
    printRow(out, QStringLiteral("results view of 5,000 results opened"), opened);
}

void runOperations(int size, const QString &title, const Measure &measure, QTextStream &out)
{
    AnsweringDialogs dialogs;
    SystemClock clock;
    QRandomGenerator random(42);
    out << "\n" << title << "\n";
    out << "| operation                                    | median ms |  p95 ms | ratio |";
    out << (measure.countsRoundTrips() ? " round trips |\n" : "\n");
    out << "|----------------------------------------------|-----------|---------|-------|";
    out << (measure.countsRoundTrips() ? "-------------|\n" : "\n");

    std::unique_ptr<app::Startup> startup;
    const Figures start = measure(
        10, [&] { startup.reset(); },
        [&] {
            startup = std::make_unique<app::Startup>(dialogs, clock, std::chrono::milliseconds(0));
            startup->start();
        });
    printRow(out, QStringLiteral("start to main window shown"), start);

    app::TOrvane &window = *startup->mainWindow();
    if (measured == Lines::Searches) {
        runPracticeSearches(window.patient().database(), measure, out);
        return;
    }
    if (measured == Lines::Results) {
        runResults(window, dialogs, measure, out);
        return;
    }
    records::CurrentPatient &patient = window.patient();
    records::PatientFileCommands &commands = window.fileCommands();
    records::TRechercher &search = *window.windows().rechercher;
    const auto randomName = [&] {
        return QString(QChar(u'A' + random.bounded(26))) + QChar(u'A' + random.bounded(26));
    };

    const Figures opening = measure(50, [&] { search.hide(); }, [&] { search.show(); });
    printRow(out, QStringLiteral("search window opened"), opening);
    const Figures letter = measure(200, [] {}, [&] { search.RechercheChange(randomName()); });
    search.hide();

    // The bare seek reads the same columns of the same row as the store does.
    QStringList columns{records::SqlDialect::idColumn()};
    for (const records::FieldDef &field : records::tableDef(records::tables::patients).fields)
        columns.append(records::SqlDialect::quote(field.name));
    const QString allColumns = columns.join(QLatin1String(", "));
    QSqlQuery &seekByName = patient.database().prepared(
        QStringLiteral("SELECT %4 FROM %2 WHERE %3 >= ? ORDER BY %3, %1 LIMIT 1")
            .arg(records::SqlDialect::idColumn(), records::SqlDialect::quote(records::tables::patients),
                 records::SqlDialect::keyColumn(QStringLiteral("NomPrénom")), allColumns));
    const Figures bareName = measure(200, [] {}, [&] {
        seekByName.addBindValue(records::sortKey(randomName()));
        seekByName.exec();
        if (seekByName.next()) {
            for (int i = 0; i < columns.size(); ++i)
                seekByName.value(i);
        }
        seekByName.finish();
    });
    printRow(out, QStringLiteral("typed letter to highlighted row"), letter, &bareName);

    const Figures moves = measure(
        200, [&] { patient.findByName(randomName()); },
        [&] { random.bounded(2) ? commands.nextFile() : commands.previousFile(); });
    printRow(out, QStringLiteral("previous / next file with its four stores"), moves, &bareName);

    QSqlQuery &seekByNumber = patient.database().prepared(
        QStringLiteral("SELECT %4 FROM %2 WHERE %3 = ? ORDER BY %3, %1 LIMIT 1")
            .arg(records::SqlDialect::idColumn(), records::SqlDialect::quote(records::tables::patients),
                 records::SqlDialect::keyColumn(records::recordNumberField), allColumns));
    const Figures bareNumber = measure(200, [] {}, [&] {
        seekByNumber.addBindValue(double(random.bounded(1, size)));
        seekByNumber.exec();
        if (seekByNumber.next()) {
            for (int i = 0; i < columns.size(); ++i)
                seekByNumber.value(i);
        }
        seekByNumber.finish();
    });
    const Figures byNumber = measure(200, [] {}, [&] {
        patient.findByNumber(QString::number(random.bounded(1, size)));
    });
    printRow(out, QStringLiteral("search by number"), byNumber, &bareNumber);
    const Figures byName = measure(200, [] {}, [&] { patient.findByName(randomName()); });
    printRow(out, QStringLiteral("search by name"), byName, &bareName);
    // The table store alone, without the detail tables and the windows following it.
    records::Table alone(patient.database(), records::tables::patients);
    alone.setOrdering(records::CurrentPatient::nameOrdering);
    alone.open();
    const Figures storeNearest = measure(200, [] {}, [&] { alone.findNearest({randomName()}); });
    printRow(out, QStringLiteral("table store: nearest search"), storeNearest, &bareName);
    const Figures storeNext = measure(200, [] {}, [&] { random.bounded(2) ? alone.next() : alone.prior(); });
    printRow(out, QStringLiteral("table store: next / prior row"), storeNext, &bareName);
    printRow(out, QStringLiteral("bare indexed seek by name"), bareName);
    printRow(out, QStringLiteral("bare indexed seek by number"), bareNumber);

    const Figures newFile = measure(50, [&] { patient.patients().cancel(); }, [&] { commands.newFile(); });
    patient.patients().cancel();
    printRow(out, QStringLiteral("new file to focus in EditNom"), newFile);
    const Figures validate = measure(
        50,
        [&] {
            commands.newFile();
            records::Table &patients = patient.patients();
            patients.setText(QStringLiteral("Nom"), QStringLiteral("BENCH"));
            patients.setText(QStringLiteral("Prénom"), QStringLiteral("Marée"));
            patients.setValue(QStringLiteral("Année"), 1970);
            patient.composeName();
        },
        [&] { commands.validate(); });
    printRow(out, QStringLiteral("validate"), validate);
    runResults(window, dialogs, measure, out);
    runPracticeSearches(patient.database(), measure, out);
    out << "peak memory (RSS): " << peakMemoryMegabytes() << " MB\n";
    out.flush();
    startup.reset();
}

void runSqlite(int size, QTextStream &out)
{
    const QString title = sqliteBase(size, out);
    runOperations(size, title, Measure(nullptr), out);
}

// The base is made anew on the throw-away server, straight and quickly; the program then reaches
// it through the relay, at each distance in turn.
void runServer(int size, const QList<int> &roundTrips, BenchServer &server, QTextStream &out)
{
    useHome(QStringLiteral("pg-%1").arg(size));
    const QString name = QStringLiteral("orvane_bench_%1").arg(size);
    out << "\nMaking a base of " << size << " patients on the PostgreSQL server...";
    out.flush();
    QElapsedTimer filling;
    filling.start();
    {
        records::Database db(server.newBase(name), places::programFolder());
        bench::makeSyntheticBase(db, size);
        bench::addSyntheticResults(db, size);
        // Vacuumed as a base in use is: the server does not do it in the background while measured.
        db.run(QStringLiteral("VACUUM ANALYZE"));
    }
    // The system writes the new base out meanwhile otherwise, and the first searches measured
    // took up to three quarters longer.
    ::sync();
    out << " " << QString::number(filling.elapsed() / 1000.0, 'f', 1) << " s\n";
    bench::DelayingProxy proxy(server.port());
    const records::AliasSettings alias = server.at(name, proxy.port());
    QSettings ini(places::inProgramFolder(QStringLiteral("alias.ini")), QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("orvane"));
    for (const auto &[key, value] : std::initializer_list<std::pair<const char *, QVariant>>{
             {"Driver", alias.driver}, {"Host", alias.host}, {"Port", alias.port}, {"Database", alias.database},
             {"User", alias.user}, {"Password", alias.password}})
        ini.setValue(QLatin1String(key), value);
    ini.endGroup();
    ini.sync();
    for (const int roundTrip : roundTrips) {
        proxy.setRoundTrip(std::chrono::milliseconds(roundTrip));
        runOperations(size, QStringLiteral("%1 patients on PostgreSQL, behind a round trip of %2 ms")
                                .arg(size).arg(roundTrip),
                      Measure(&proxy), out);
    }
}

qint64 folderBytes(const QString &folder)
{
    qint64 bytes = 0;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files))
        bytes += file.size();
    return bytes;
}

// The earlier program's tables of a practice, written once, imported into a new base each run.
void runImport(int size, QTextStream &out)
{
    const QString home = QDir::current().absoluteFilePath(QStringLiteral("bench-data/import-%1").arg(size));
    const QString folder = home + QStringLiteral("/paradox");
    if (!QFileInfo::exists(folder)) {
        out << "\nWriting the Paradox tables of a practice of " << size << " patients in " << folder << "...\n";
        out.flush();
        const QString making = folder + QStringLiteral(".making");
        QDir(making).removeRecursively();
        bench::makeSyntheticPractice(making, size);
        QDir().rename(making, folder);
    }
    const QString target = home + QStringLiteral("/base");
    QDir(target).removeRecursively();
    QDir().mkpath(target);
    SystemClock clock;
    QElapsedTimer timer;
    timer.start();
    const import::ImportResult result =
        import::PracticeImport(folder, records::AliasSettings::sqliteFile(target + QStringLiteral("/orvane.sqlite")), target, clock)
            .run(false);
    const double seconds = timer.nsecsElapsed() / 1e9;
    int rows = 0;
    for (const import::ImportReport::Counts &counts : result.report.tables())
        rows += counts.imported;
    out << "\nimport of a practice's Paradox files (" << size << " patients, " << rows << " rows, "
        << folderBytes(folder) / (1024 * 1024) << " MB): " << QString::number(seconds, 'f', 1) << " s, "
        << qint64(rows / seconds) << " rows/s, base " << QFileInfo(target + QStringLiteral("/orvane.sqlite")).size() / (1024 * 1024)
        << " MB, peak memory (RSS) " << peakMemoryMegabytes() << " MB\n";
    out.flush();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QApplication application(argc, argv);
    QList<int> sizes;
    QList<int> roundTrips;
    bool server = false;
    const QStringList arguments = application.arguments().mid(1);
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--engine") && i + 1 < arguments.size()) {
            server = arguments.at(++i).compare(QLatin1String("postgresql"), Qt::CaseInsensitive) == 0;
        } else if (argument == QLatin1String("--rtt") && i + 1 < arguments.size()) {
            roundTrips.append(arguments.at(++i).toInt());
        } else if (argument == QLatin1String("--searches")) {
            measured = Lines::Searches;
        } else if (argument == QLatin1String("--search") && i + 1 < arguments.size()) {
            measured = Lines::Searches;
            searchesNamed = arguments.at(++i);
        } else if (argument == QLatin1String("--results")) {
            measured = Lines::Results;
        } else if (argument.toInt() > 0) {
            sizes.append(argument.toInt());
        } else {
            std::fprintf(stderr, "usage: orvane-bench [--engine sqlite|postgresql] [--rtt MS]... [--searches | --search TEXT | "
                                 "--results] [patients...]\n");
            return 2;
        }
    }
    if (sizes.isEmpty())
        sizes = {10000, 100000, 1000000};
    if (roundTrips.isEmpty())
        roundTrips = {0, 2, 20};
    QTextStream out(stdout);
    out << "Orvane 2006 benchmark, " << QSysInfo::prettyProductName() << ", " << QThread::idealThreadCount() << " cores\n";
    try {
        if (server) {
            BenchServer postgresql(QDir::current().absoluteFilePath(QStringLiteral("bench-data/pgcluster")));
            for (const int size : std::as_const(sizes))
                runServer(size, roundTrips, postgresql, out);
            return 0;
        }
        for (const int size : std::as_const(sizes)) {
            runSqlite(size, out);
            if (size <= 100000 && measured == Lines::All)
                runImport(size, out);
        }
    } catch (const Error &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
