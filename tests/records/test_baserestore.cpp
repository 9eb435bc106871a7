#include "records/backupfixture.h"
#include "records/backupfolder.h"
#include "records/baseinuselock.h"
#include "records/baserestore.h"
#include "records/database.h"
#include "records/sqlitefile.h"
#include "records/table.h"

#include "platform/error.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTest>
#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvane;
using namespace orvane::records;
using namespace orvane::test;

namespace {

const QDateTime restoreTime(QDate(2026, 3, 20), QTime(18, 5, 9));

} // namespace

class TestBaseRestore : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
    std::unique_ptr<BackupFolder> m_folder;

    QString restoreError(const QString &copy)
    {
        try {
            restoreBase(copy, m_base, *m_folder, restoreTime);
        } catch (const Error &error) {
            return error.message();
        }
        return QString();
    }

    void addPatients(const QString &base, int from, int to)
    {
        Database db(AliasSettings::sqliteFile(base), m_dir->path());
        Table patients(db, tables::patients);
        patients.open();
        for (int number = from; number <= to; ++number)
            addPatient(patients, number);
    }

    // Copies of the 1st and 2nd of March, then a base that went on to five patients.
    void makeHistory()
    {
        makeBase(m_base, 2);
        m_folder->writeDailyCopy(m_base, QDate(2026, 3, 1));
        addPatients(m_base, 3, 3);
        m_folder->writeDailyCopy(m_base, QDate(2026, 3, 2));
        addPatients(m_base, 4, 5);
    }

    // Where the patient table's first page begins in the file.
    static int pageOffset(const QString &copy, const QByteArray &bytes)
    {
        const int root = SqliteFile(copy, SqliteFile::Mode::ReadOnly)
                             .firstValue(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'donnees.db'"))
                             .toInt();
        const int pageSize = (quint8(bytes.at(16)) << 8) | quint8(bytes.at(17));
        return (root - 1) * pageSize;
    }

    QString damagedCopy(const QString &damage)
    {
        const QString copy = m_folder->dailyCopyPath(QDate(2026, 3, 1));
        QByteArray bytes = fileBytes(copy);
        if (damage == QLatin1String("header"))
            bytes.replace(0, 16, QByteArray(16, 'Z'));
        else if (damage == QLatin1String("page"))
            bytes.replace(pageOffset(copy, bytes), 64, QByteArray(64, '\xff'));
        else if (damage == QLatin1String("truncated"))
            bytes.truncate(bytes.size() / 2);
        QFile file(copy);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return copy;
    }

    // Runs the work in a child process and kills it (-9) once the file it writes appears in the folder.
    static bool killedWhileWriting(const std::function<void()> &work, const QString &folder, const QString &pattern)
    {
        const pid_t child = fork();
        if (child == 0) {
            try {
                work();
            } catch (...) {
            }
            _exit(0);
        }
        QDeadlineTimer deadline(20000);
        while (QDir(folder).entryList({pattern}, QDir::Files).isEmpty() && !deadline.hasExpired())
            QThread::usleep(200);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        return WIFSIGNALED(status) && !QDir(folder).entryList({pattern}, QDir::Files).isEmpty();
    }

    // Some tens of megabytes, so a copy takes long enough to be cut.
    void makeLargeBase()
    {
        makeHistory();
        Database db(AliasSettings::sqliteFile(m_base), m_dir->path());
        db.run(QStringLiteral("CREATE TABLE lest (x)"));
        db.run(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40) "
                              "INSERT INTO lest SELECT randomblob(1048576) FROM n"));
    }

private slots:
    void copiesCutByAKillLeaveNothingAfterTheNextStart()
    {
        makeLargeBase();
        const QString dataFolder = QFileInfo(m_base).absolutePath();
        const BackupFolder &folder = *m_folder;
        const QString base = m_base;
        QVERIFY(killedWhileWriting([&] { folder.writeDailyCopy(base, QDate(2026, 3, 3)); }, folder.path(), QStringLiteral("*.part")));
        QVERIFY(killedWhileWriting([&] { restoreBase(folder.dailyCopyPath(QDate(2026, 3, 1)), base, folder, restoreTime); },
                                   dataFolder, QStringLiteral("*.restauration")));

        // The journals of a copy being written, as a kill at another moment leaves them.
        for (const QString &journal : {m_folder->path() + QStringLiteral("/cut.part-journal"),
                                       dataFolder + QStringLiteral("/cut.restauration-journal")}) {
            QFile file(journal);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }

        QVERIFY(removeCutCopies(m_base, *m_folder) >= 4);
        QCOMPARE(QDir(m_folder->path()).entryList({QStringLiteral("*.part*")}, QDir::Files), QStringList());
        QCOMPARE(QDir(dataFolder).entryList({QStringLiteral("*.restauration"), QStringLiteral("*.restauration-*")}, QDir::Files),
                 QStringList());
        QCOMPARE(baseProblems(m_base), QString());
        QCOMPARE(patientCount(m_base), 5);
        QVERIFY(!m_folder->hasDailyCopy(QDate(2026, 3, 3)));
    }

    // Another running copy may be writing a part: only one untouched for 24 hours is abandoned.
    void onlyPartsUntouchedForADayAreAbandoned()
    {
        const QDateTime midnight(QDate(2026, 3, 4), QTime(0, 0));
        QDir().mkpath(m_folder->path());
        auto part = [this](const QString &name, const QDateTime &touched) {
            QFile file(m_folder->path() + QLatin1Char('/') + name);
            file.open(QIODevice::WriteOnly);
            file.setFileTime(touched, QFileDevice::FileModificationTime);
        };
        part(QStringLiteral("written-at-23h59.part"), midnight.addSecs(-60));
        part(QStringLiteral("cut-two-days-ago.part"), midnight.addDays(-2));
        part(QStringLiteral("cut-a-day-ago.part"), midnight.addSecs(-24 * 3600));
        m_folder->removeAbandonedParts(midnight);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{QStringLiteral("written-at-23h59.part")});
    }

    void safetyCopiesKeepTheLastFiveAndThoseOfTheLastThirtyDays()
    {
        QDir().mkpath(m_folder->path());
        const QStringList names = {QStringLiteral("2025-01-10-090000"), QStringLiteral("2025-06-01-090000"),
                                   QStringLiteral("2025-07-01-090000-endommagee"), QStringLiteral("2025-08-01-090000"),
                                   QStringLiteral("2025-09-01-090000"), QStringLiteral("2025-10-01-090000"),
                                   QStringLiteral("2026-02-25-090000"), QStringLiteral("2026-03-10-090000"),
                                   QStringLiteral("2026-03-10-090000-2")};
        for (const QString &name : names) {
            for (const QString &suffix : {QStringLiteral(".sqlite"), QStringLiteral(".sqlite-wal")}) {
                QFile file(m_folder->path() + QStringLiteral("/avant-restauration-") + name + suffix);
                QVERIFY(file.open(QIODevice::WriteOnly));
            }
        }
        m_folder->removeExpiredSafetyCopies(QDate(2026, 3, 20));
        QStringList kept;
        for (const BackupCopy &copy : m_folder->safetyCopies())
            kept.append(QFileInfo(copy.path).completeBaseName().mid(19));
        QCOMPARE(kept, (QStringList{QStringLiteral("2025-09-01-090000"), QStringLiteral("2025-10-01-090000"),
                                    QStringLiteral("2026-02-25-090000"), QStringLiteral("2026-03-10-090000-2"),
                                    QStringLiteral("2026-03-10-090000")}));
        QCOMPARE(QDir(m_folder->path()).entryList({QStringLiteral("*.sqlite-wal")}, QDir::Files).size(), 5);
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_base = m_dir->filePath(QStringLiteral("Data/orvane.sqlite"));
        m_folder = std::make_unique<BackupFolder>(m_dir->filePath(QStringLiteral("Sauvegardes")));
    }

    void restoreBringsBackTheChosenCopyAndKeepsASafetyCopy()
    {
        makeHistory();
        const QFile::Permissions sharedMode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
            | QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther;
        QVERIFY(QFile::setPermissions(m_base, sharedMode));
        const QString safety = restoreBase(m_folder->find(QStringLiteral("02/03/2026")), m_base, *m_folder, restoreTime);

        // Nothing of the old base is left beside the new one for the engine to replay.
        QCOMPARE(QDir(QFileInfo(m_base).absolutePath()).entryList(QDir::Files), QStringList{QStringLiteral("orvane.sqlite")});
        QCOMPARE(patientCount(m_base), 3);
        // Others lose what they could read: the base is its owner's alone.
        QCOMPARE(QFile::permissions(m_base), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QFileInfo(safety).fileName(), QStringLiteral("avant-restauration-2026-03-20-180509.sqlite"));
        QCOMPARE(patientCount(safety), 5);
        QCOMPARE(baseProblems(safety), QString());
        QCOMPARE(m_folder->dailyCopies().size(), 2);
        QCOMPARE(m_folder->safetyCopies().size(), 1);
        QCOMPARE(m_folder->safetyCopies().first().date, restoreTime.date());
        // The program opens the restored base and goes on storing in it.
        addPatients(m_base, 4, 4);
        QCOMPARE(patientCount(m_base), 4);
    }

    void aCopyNeverReplacesAFileOfTheSameName()
    {
        makeHistory();
        const QString first = restoreBase(m_folder->dailyCopyPath(QDate(2026, 3, 2)), m_base, *m_folder, restoreTime);
        const QString second = restoreBase(m_folder->dailyCopyPath(QDate(2026, 3, 1)), m_base, *m_folder, restoreTime);
        QCOMPARE(QFileInfo(second).fileName(), QStringLiteral("avant-restauration-2026-03-20-180509-2.sqlite"));
        QCOMPARE(patientCount(first), 5);
        QCOMPARE(patientCount(second), 3);
        QCOMPARE(m_folder->safetyCopies().size(), 2);

        const QString again = m_folder->writeDailyCopy(m_base, QDate(2026, 3, 2));
        QCOMPARE(QFileInfo(again).fileName(), QStringLiteral("2026-03-02-2.sqlite"));
        QCOMPARE(patientCount(m_folder->dailyCopyPath(QDate(2026, 3, 2))), 3);
        QCOMPARE(patientCount(again), 2);
    }

    void theCommandMarksDamagedCopiesAndImpossibleDates()
    {
        QProcessEnvironment home = QProcessEnvironment::systemEnvironment();
        home.insert(QStringLiteral("XDG_DATA_HOME"), m_dir->filePath(QStringLiteral("xdg")));
        home.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
        const QString programFolder = m_dir->filePath(QStringLiteral("xdg/orvane/drive_c/Orvane"));
        m_base = programFolder + QStringLiteral("/Data/orvane.sqlite");
        m_folder = std::make_unique<BackupFolder>(programFolder + QStringLiteral("/Sauvegardes"));
        makeHistory();
        damagedCopy(QStringLiteral("page"));
        const QString cutCopy = m_folder->path() + QStringLiteral("/cut.part-journal");
        QFile(cutCopy).open(QIODevice::WriteOnly);
        auto command = [&home](const QStringList &arguments) {
            QProcess process;
            process.setProcessEnvironment(home);
            process.start(QStringLiteral(ORVANE_RESTORE), arguments);
            process.waitForFinished();
            return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        };
        const QStringList listed = command({}).split(QLatin1Char('\n'));
        for (const QString &line : listed) {
            if (line.contains(QLatin1String("2026-03-01.sqlite")))
                QVERIFY2(line.contains(QStringLiteral("ENDOMMAGÉE, ne peut pas être restaurée : ")), qPrintable(line));
            if (line.contains(QLatin1String("2026-03-02.sqlite")))
                QVERIFY2(!line.contains(QStringLiteral("ENDOMMAGÉE")), qPrintable(line));
        }
        QCOMPARE(listed.filter(QStringLiteral("2026-03-0")).size(), 2);
        QVERIFY(!QFile::exists(cutCopy));
        QCOMPARE(command({QStringLiteral("--help")}).left(7), QStringLiteral("Usage :"));
        QCOMPARE(command({QStringLiteral("31/02/2026")}), QStringLiteral("« 31/02/2026 » n'est pas une date qui existe.\n"));
    }

    // A program that crashed leaves committed rows in the write-ahead log: the safety copy holds them
    // and the log is never replayed into the restored base.
    void rowsLeftInTheLogOfACrashedProgramGoIntoTheSafetyCopy()
    {
        makeHistory();
        const QString crashed = m_dir->filePath(QStringLiteral("Crash/orvane.sqlite"));
        QDir().mkpath(QFileInfo(crashed).absolutePath());
        {
            Database db(AliasSettings::sqliteFile(m_base), m_dir->path());
            Table patients(db, tables::patients);
            patients.open();
            addPatient(patients, 6);
            QVERIFY(QFile::exists(m_base + QStringLiteral("-wal")));
            for (const QString &suffix : {QString(), QStringLiteral("-wal")})
                QVERIFY(QFile::copy(m_base + suffix, crashed + suffix));
        }
        const QString safety = restoreBase(m_folder->dailyCopyPath(QDate(2026, 3, 1)), crashed, *m_folder, restoreTime);
        QCOMPARE(patientCount(safety), 6);
        QVERIFY(!QFile::exists(crashed + QStringLiteral("-wal")));
        QCOMPARE(patientCount(crashed), 2);
    }

    void aBaseTheEngineCannotReadIsKeptFileForFile()
    {
        makeHistory();
        QFile base(m_base);
        QVERIFY(base.open(QIODevice::WriteOnly));
        base.write(QByteArray(4096, 'x'));
        base.close();
        const QString safety = restoreBase(m_folder->dailyCopyPath(QDate(2026, 3, 1)), m_base, *m_folder, restoreTime);
        QCOMPARE(QFileInfo(safety).fileName(), QStringLiteral("avant-restauration-2026-03-20-180509-endommagee.sqlite"));
        QCOMPARE(fileBytes(safety), QByteArray(4096, 'x'));
        QCOMPARE(patientCount(m_base), 2);
    }

    void aDamagedCopyIsRefusedAndNothingIsTouched_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reason");
        QTest::newRow("header overwritten") << "header" << "file is not a database";
        QTest::newRow("page overwritten") << "page" << "";
        QTest::newRow("truncated") << "truncated" << "";
        QTest::newRow("not a base of the program") << "foreign" << "la table donnees.db manque";
        QTest::newRow("a table dropped") << "DROP TABLE \"CONSULT.DB\"" << "il lui manque la table CONSULT.DB";
        QTest::newRow("a column dropped") << "ALTER TABLE \"stat.DB\" DROP COLUMN \"Poids\""
                                          << "il lui manque la colonne « Poids » de la table stat.DB";
        QTest::newRow("no such file") << "missing" << "n'existe pas";
    }
    void aDamagedCopyIsRefusedAndNothingIsTouched()
    {
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        makeHistory();
        QString copy;
        if (damage == QLatin1String("foreign") || damage.contains(QLatin1Char(' '))) {
            copy = damage == QLatin1String("foreign") ? m_dir->filePath(QStringLiteral("autre.sqlite"))
                                                      : m_folder->dailyCopyPath(QDate(2026, 3, 1));
            {
                QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
                other.setDatabaseName(copy);
                QVERIFY(other.open());
                const QString statement = damage == QLatin1String("foreign") ? QStringLiteral("CREATE TABLE comptes (x)") : damage;
                QVERIFY(QSqlQuery(other).exec(statement));
                other.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("other"));
        } else if (damage == QLatin1String("missing")) {
            copy = m_folder->dailyCopyPath(QDate(2026, 1, 1));
        } else {
            copy = damagedCopy(damage);
        }
        const QByteArray baseBefore = fileBytes(m_base);

        const QString message = restoreError(copy);
        QVERIFY2(message.startsWith(QStringLiteral("La copie %1 ne peut pas être restaurée : ").arg(QDir::toNativeSeparators(copy))),
                 qPrintable(message));
        QVERIFY2(message.endsWith(QStringLiteral("Rien n'a été modifié.")), qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
        QCOMPARE(fileBytes(m_base), baseBefore);
        QVERIFY(m_folder->safetyCopies().isEmpty());
    }

    void refusedWhileTheProgramRunsOnTheBase()
    {
        makeHistory();
        const QString copy = m_folder->dailyCopyPath(QDate(2026, 3, 1));
        {
            BaseInUseLock first(m_base);
            BaseInUseLock secondCopy(m_base);
            QVERIFY(first.fileName() != secondCopy.fileName());
            QVERIFY(restoreError(copy).startsWith(QStringLiteral("Orvane 2006 est ouvert sur la base ")));
            QCOMPARE(patientCount(m_base), 5);
            QVERIFY(m_folder->safetyCopies().isEmpty());
        }
        QCOMPARE(restoreError(copy), QString());
        QCOMPARE(patientCount(m_base), 2);
    }

    // The lock of a program that crashed names a process that no longer runs.
    void theLockOfAProgramThatEndedDoesNotCount()
    {
        makeHistory();
        QProcess ended;
        ended.start(QStringLiteral("true"), {});
        QVERIFY(ended.waitForStarted());
        const qint64 endedProcess = ended.processId();
        QVERIFY(ended.waitForFinished());
        QFile lock(m_base + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(endedProcess) + "\norvane\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();
        QVERIFY(!BaseInUseLock::isHeld(m_base));
        QCOMPARE(restoreError(m_folder->dailyCopyPath(QDate(2026, 3, 1))), QString());
    }

    void copiesAreFoundByDateOrName_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("found");
        QTest::newRow("short date") << "02/03/2026" << "2026-03-02.sqlite";
        QTest::newRow("date without zeros") << "2/3/2026" << "2026-03-02.sqlite";
        QTest::newRow("ISO date") << "2026-03-01" << "2026-03-01.sqlite";
        QTest::newRow("file name") << "2026-03-01.sqlite" << "2026-03-01.sqlite";
        QTest::newRow("date without copy") << "05/03/2026" << "Il n'y a pas de copie du 05/03/2026 dans ";
        QTest::newRow("nothing like a copy") << "hier" << "Aucune copie ne correspond à « hier ».";
    }
    void copiesAreFoundByDateOrName()
    {
        QFETCH(QString, given);
        QFETCH(QString, found);
        makeHistory();
        QString result;
        try {
            result = QFileInfo(m_folder->find(given)).fileName();
        } catch (const Error &error) {
            result = error.message();
        }
        QVERIFY2(result.startsWith(found), qPrintable(result));
    }
};

QTEST_GUILESS_MAIN(TestBaseRestore)
#include "test_baserestore.moc"
