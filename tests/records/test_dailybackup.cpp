#include "records/backupfixture.h"
#include "records/backupfolder.h"
#include "records/dailybackup.h"
#include "records/database.h"
#include "records/table.h"
#include "support/fixedclock.h"
#include "support/scripteddialogservice.h"

#include "platform/error.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

using namespace orvane;
using namespace orvane::records;
using namespace orvane::test;

class TestDailyBackup : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
    QString m_folder;
    FixedClock m_clock;
    ScriptedDialogService m_dialogs;

    std::unique_ptr<QSettings> memory() const
    {
        return std::make_unique<QSettings>(m_dir->filePath(QStringLiteral("registre.ini")), QSettings::IniFormat);
    }

    // One start of the program: the backup of the day when due, waited for. Returns why it failed,
    // or nothing when no copy was due.
    std::optional<QString> startProgram()
    {
        DailyBackup backup(m_base, BackupFolder(m_folder), m_clock, m_dialogs, memory(), nullptr);
        if (!backup.isDue())
            return std::nullopt;
        QSignalSpy finished(&backup, &DailyBackup::finished);
        backup.start();
        if (!finished.wait(120000))
            return QStringLiteral("no end of the backup");
        return finished.first().first().toString();
    }

    QList<QDate> copyDates() const
    {
        QList<QDate> dates;
        for (const BackupCopy &copy : BackupFolder(m_folder).dailyCopies())
            dates.append(copy.date);
        return dates;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_base = m_dir->filePath(QStringLiteral("Data/orvane.sqlite"));
        m_folder = m_dir->filePath(QStringLiteral("Sauvegardes"));
        m_dialogs.clear();
        m_clock.set(QDate(2026, 3, 16));
    }

    void copyTakenWhileAnotherConnectionWritesHoldsEveryCommittedRow()
    {
        const int initialRows = 5000;
        {
            Database db(AliasSettings::sqliteFile(m_base), m_dir->path());
            Database::Transaction bulk(db);
            Table patients(db, tables::patients);
            patients.open();
            for (int number = 1; number <= initialRows; ++number)
                addPatient(patients, number);
            bulk.commit();
        }
        // The writer stores patients two by two in one transaction: a copy holds both or neither.
        std::atomic<int> committed{initialRows};
        std::atomic<bool> stop{false};
        QString writerFailure;
        std::thread writer([&] {
            try {
                Database db(AliasSettings::sqliteFile(m_base), m_dir->path());
                Table patients(db, tables::patients);
                patients.open();
                while (!stop) {
                    Database::Transaction pair(db);
                    addPatient(patients, committed + 1);
                    addPatient(patients, committed + 2);
                    pair.commit();
                    committed += 2;
                }
            } catch (const Error &error) {
                writerFailure = error.message();
            }
        });
        while (committed < initialRows + 20 && writerFailure.isEmpty())
            QThread::msleep(1);
        const int committedBefore = committed;
        const std::optional<QString> failure = startProgram();
        const int committedAfterCopy = committed;
        while (committed < committedAfterCopy + 20 && writerFailure.isEmpty())
            QThread::msleep(1);
        stop = true;
        writer.join();

        QCOMPARE(writerFailure, QString());
        QCOMPARE(failure, std::optional<QString>(QString()));
        const QString copy = BackupFolder(m_folder).dailyCopyPath(m_clock.today());
        QCOMPARE(baseProblems(copy), QString());
        const int copied = patientCount(copy);
        QVERIFY2(copied >= committedBefore, qPrintable(QStringLiteral("%1 < %2").arg(copied).arg(committedBefore)));
        QCOMPARE(copied % 2, 0);
        QCOMPARE(highestPatientNumber(copy), double(copied));
        QCOMPARE(patientCount(m_base), int(committed));
        QVERIFY(m_dialogs.requests().isEmpty());
    }

    // A practice open six days a week, closed three weeks in August, started twice a day.
    void twoYearsOfDailyStartsKeepWhatTheRuleNames()
    {
        makeBase(m_base, 3);
        for (QDate day(2025, 1, 1); day <= QDate(2026, 12, 31); day = day.addDays(1)) {
            const bool holiday = (day >= QDate(2025, 8, 4) && day <= QDate(2025, 8, 24))
                || (day >= QDate(2026, 8, 3) && day <= QDate(2026, 8, 23));
            if (day.dayOfWeek() == Qt::Sunday || holiday)
                continue;
            m_clock.set(QDateTime(day, QTime(8, 30)));
            QCOMPARE(startProgram(), std::optional<QString>(QString()));
            m_clock.set(QDateTime(day, QTime(14, 0)));
            QCOMPARE(startProgram(), std::nullopt);
        }
        const QList<QDate> expected = {
            QDate(2025, 1, 1),   QDate(2026, 1, 1),   QDate(2026, 2, 2),   QDate(2026, 3, 2),
            QDate(2026, 4, 1),   QDate(2026, 5, 1),   QDate(2026, 6, 1),   QDate(2026, 7, 1),
            QDate(2026, 8, 1),   QDate(2026, 9, 1),   QDate(2026, 10, 1),  QDate(2026, 11, 2),
            QDate(2026, 12, 1),  QDate(2026, 12, 24), QDate(2026, 12, 25), QDate(2026, 12, 26),
            QDate(2026, 12, 28), QDate(2026, 12, 29), QDate(2026, 12, 30), QDate(2026, 12, 31)};
        QCOMPARE(copyDates(), expected);
        QCOMPARE(patientCount(BackupFolder(m_folder).dailyCopyPath(QDate(2025, 1, 1))), 3);
        QVERIFY(m_dialogs.requests().isEmpty());
    }

    void copiesAreRemovedOnlyAfterTheNewOneIsWritten()
    {
        makeBase(m_base, 3);
        for (int day = 1; day <= 9; ++day) {
            m_clock.set(QDate(2026, 3, day));
            QCOMPARE(startProgram(), std::optional<QString>(QString()));
        }
        const QList<QDate> before = copyDates();
        QVERIFY(QFile::remove(m_base));
        QFile garbage(m_base);
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(8192, 'x'));
        garbage.close();
        m_clock.set(QDate(2026, 3, 10));
        m_dialogs.clear();
        QVERIFY(startProgram().value_or(QString()).contains(QLatin1String("not a database")));
        QCOMPARE(copyDates(), before);
        QCOMPARE(QDir(m_folder).entryList(QDir::Files).size(), before.size());
    }

    void failureIsToldOnceADayAndLeavesTheBaseAlone_data()
    {
        QTest::addColumn<bool>("folderIsAFile");
        QTest::newRow("backup folder cannot be made") << true;
        QTest::newRow("base is not a database") << false;
    }
    void failureIsToldOnceADayAndLeavesTheBaseAlone()
    {
        QFETCH(bool, folderIsAFile);
        makeBase(m_base, 3);
        QFile blocker(folderIsAFile ? m_folder : m_base);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write(QByteArray(4096, '\x01'));
        blocker.close();
        const QByteArray baseBefore = fileBytes(m_base);

        QVERIFY(!startProgram().value_or(QString()).isEmpty());
        QVERIFY(!startProgram().value_or(QString()).isEmpty());
        QCOMPARE(m_dialogs.requests().size(), 1);
        QCOMPARE(m_dialogs.requests().first().kind, QStringLiteral("message"));
        QVERIFY(m_dialogs.texts().first().startsWith(
            QStringLiteral("La copie de sauvegarde du jour n'a pas pu être écrite dans ")));
        QVERIFY(m_dialogs.texts().first().contains(QStringLiteral("n'a pas été touchée")));

        m_clock.set(m_clock.today().addDays(1));
        QVERIFY(!startProgram().value_or(QString()).isEmpty());
        QCOMPARE(m_dialogs.requests().size(), 2);
        QCOMPARE(fileBytes(m_base), baseBefore);
        if (folderIsAFile) {
            QVERIFY(blocker.remove());
            QCOMPARE(startProgram(), std::optional<QString>(QString()));
            QCOMPARE(copyDates(), QList<QDate>{m_clock.today()});
        }
    }
};

QTEST_MAIN(TestDailyBackup)
#include "test_dailybackup.moc"
