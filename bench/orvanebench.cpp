// Measures the file operations of the program on synthetic bases of growing size, through the
// program's own classes and windows (offscreen), beside the bare indexed seek they rest on.
// Then, up to 100,000 patients, the import of a practice's files of the earlier program.
// Usage: orvane-bench [patients...]   (default: 10000 100000 1000000)

#include "app/startup.h"
#include "app/torvane.h"
#include "bench/syntheticbase.h"
#include "bench/syntheticpractice.h"
#include "import/practiceimport.h"
#include "platform/clock.h"
#include "platform/dialogservice.h"
#include "platform/places.h"
#include "records/currentpatient.h"
#include "records/database.h"
#include "records/patientfilecommands.h"
#include "records/schema.h"
#include "records/sqldialect.h"
#include "records/table.h"
#include "records/trechercher.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMetaObject>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

using namespace orvane;

namespace {

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
};

Figures measure(int repetitions, const std::function<void()> &prepare, const std::function<void()> &operation)
{
    QList<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < repetitions; ++i) {
        prepare();
        timer.start();
        operation();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return Figures{times.at(times.size() / 2), times.at(std::min<qsizetype>(times.size() - 1, times.size() * 95 / 100))};
}

long peakMemoryMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void printRow(QTextStream &out, const QString &what, const Figures &figures, const Figures *bare = nullptr)
{
    out << QStringLiteral("| %1 | %2 | %3 | %4 |\n")
               .arg(what, -44)
               .arg(figures.median, 8, 'f', 3)
               .arg(figures.p95, 8, 'f', 3)
               .arg(bare ? QString::number(figures.median / std::max(bare->median, 1e-6), 'f', 1) : QStringLiteral("-"), 6);
}

void run(int size, QTextStream &out)
{
    const QString home = QDir::current().absoluteFilePath(QStringLiteral("bench-data/%1").arg(size));
    QDir().mkpath(home + QStringLiteral("/config"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/config")));
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

    AnsweringDialogs dialogs;
    SystemClock clock;
    QRandomGenerator random(42);
    out << "\n" << size << " patients (" << QFileInfo(base).size() / (1024 * 1024) << " MB base)\n";
    out << "| operation                                    | median ms |  p95 ms | ratio |\n";
    out << "|----------------------------------------------|-----------|---------|-------|\n";

    std::unique_ptr<app::Startup> startup;
    const Figures start = measure(
        10, [&] { startup.reset(); },
        [&] {
            startup = std::make_unique<app::Startup>(dialogs, clock, std::chrono::milliseconds(0));
            startup->start();
        });
    printRow(out, QStringLiteral("start to main window shown"), start);

    app::TOrvane &window = *startup->mainWindow();
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
    out << "peak memory (RSS): " << peakMemoryMegabytes() << " MB\n";
    out.flush();
    startup.reset();
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
    for (int i = 1; i < argc; ++i)
        sizes.append(QString::fromLocal8Bit(argv[i]).toInt());
    if (sizes.isEmpty())
        sizes = {10000, 100000, 1000000};
    QTextStream out(stdout);
    out << "Orvane 2006 benchmark, " << QSysInfo::prettyProductName() << ", " << QThread::idealThreadCount() << " cores\n";
    for (const int size : std::as_const(sizes)) {
        run(size, out);
        if (size <= 100000)
            runImport(size, out);
    }
    return 0;
}
