#include "app/startup.h"
#include "platform/places.h"
#include "prescribing/prescriptionlayout.h"
#include "prescribing/printcontext.h"
#include "prescribing/qprintersurface.h"
#include "records/backupfolder.h"
#include "records/baseinuselock.h"
#include "records/baserestore.h"
#include "records/database.h"
#include "records/sqldialect.h"
#include "records/table.h"
#include "records/textindex.h"
#include "support/fixedclock.h"
#include "support/sampleprintsettings.h"
#include "support/scripteddialogservice.h"
#include "support/testenvironment.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDirIterator>
#include <QSqlQuery>
#include <QTest>
#include <sys/stat.h>

using namespace orvane;

// The start-up holds the base for as long as the program runs and writes the day's copy once the
// window has shown.
class TestStartupBackup : public QObject
{
    Q_OBJECT

private slots:
    void startHoldsTheBaseAndWritesTheDaysCopy()
    {
        test::TemporaryHome home;
        test::ScriptedDialogService dialogs;
        test::FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(8, 0)));
        const QString base = places::inProgramFolder(QStringLiteral("Data/orvane.sqlite"));
        const records::BackupFolder folder = records::BackupFolder::ofProgram(places::programFolder());
        {
            app::Startup startup(dialogs, clock, std::chrono::milliseconds(0));
            dialogs.answerModal([](QDialog &gate) {
                gate.findChild<QAbstractButton *>(QStringLiteral("Button1"))->click();
            });
            QVERIFY(startup.start());
            QVERIFY(records::BaseInUseLock::isHeld(base));
            QTRY_VERIFY_WITH_TIMEOUT(folder.hasDailyCopy(clock.today()), 60000);
            QCOMPARE(records::baseProblems(folder.dailyCopyPath(clock.today())), QString());
        }
        QVERIFY(!records::BaseInUseLock::isHeld(base));
        QCOMPARE(dialogs.pendingAnswers(), 0);
    }

    void aBaseOfThePreviousVersionIsCopiedThenGetsItsSearchIndexes()
    {
        test::TemporaryHome home;
        test::ScriptedDialogService dialogs;
        test::FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(8, 0)));
        const QString base = places::inProgramFolder(QStringLiteral("Data/orvane.sqlite"));
        {
            records::Database previous(records::AliasSettings::sqliteFile(base), places::programFolder());
            for (const records::TextIndexDef &index : records::textIndexes()) {
                for (const char *trigger : {"_ajout", "_retrait", "_modif"})
                    previous.run(QStringLiteral("DROP TRIGGER \"%1%2\"").arg(index.name, QLatin1String(trigger)));
                previous.run(QStringLiteral("DROP TABLE \"%1\"").arg(index.name));
            }
            // Its results table was made without the lookup of the laboratory values.
            previous.run(QStringLiteral("DROP INDEX %1").arg(
                records::SqlDialect::quote(records::tableDef(records::tables::results).lookups.value(0).name)));
            records::Table(previous, records::tables::consultations).appendRow({7, {}, QStringLiteral("Lombalgie aiguë")});
            previous.run(QStringLiteral("INSERT INTO \"RESULTATS.DB\" (\"N°Dossier\", \"Analyte\", \"Valeur\") VALUES (7, 'HbA1c', 8.2)"));
        }
        // Copies of earlier upgrades, a year old: the rule keeps the last five.
        const records::BackupFolder folder = records::BackupFolder::ofProgram(places::programFolder());
        QVERIFY(QDir().mkpath(folder.path()));
        for (int day = 1; day <= 5; ++day)
            QFile(folder.path() + QStringLiteral("/avant-mise-a-jour-2025-12-0%1-080000.sqlite").arg(day)).open(QIODevice::WriteOnly);
        app::Startup startup(dialogs, clock, std::chrono::milliseconds(0));
        dialogs.answerModal([](QDialog &gate) { gate.findChild<QAbstractButton *>(QStringLiteral("Button1"))->click(); });
        QVERIFY(startup.start());
        const QList<records::BackupCopy> copies = folder.safetyCopies();
        QCOMPARE(copies.size(), 5);
        QVERIFY(!QFileInfo::exists(folder.path() + QStringLiteral("/avant-mise-a-jour-2025-12-01-080000.sqlite")));
        QCOMPARE(QFileInfo(copies.last().path).fileName(), QStringLiteral("avant-mise-a-jour-2026-12-09-080000.sqlite"));
        records::Database copy(records::AliasSettings::sqliteFile(copies.last().path), places::programFolder());
        QCOMPARE(records::missingSearchIndexes(copy).size(), records::textIndexes().size() + 1);
        records::Database upgraded(records::AliasSettings::sqliteFile(base), places::programFolder());
        QVERIFY(records::missingSearchIndexes(upgraded).isEmpty());
        QSqlQuery result(upgraded.connection());
        QVERIFY(result.exec(QStringLiteral("SELECT \"N°Dossier\", \"Analyte\", \"Valeur\" FROM \"RESULTATS.DB\"")));
        QVERIFY(result.next());
        QCOMPARE((QVariantList{result.value(0), result.value(1), result.value(2)}), (QVariantList{7.0, "HbA1c", 8.2}));
        QVERIFY(!result.next());
        QSqlQuery found(upgraded.connection());
        QVERIFY(found.exec(QStringLiteral("SELECT rowid FROM mots_consultation WHERE mots_consultation MATCH 'lombalgie'")));
        QVERIFY(found.next());
    }

    // Nothing the program writes, nor what an earlier version left open, can be read by another user
    // of the machine: files 600, folders 700.
    void everythingWrittenIsTheUsersAlone()
    {
        test::TemporaryHome home;
        test::ScriptedDialogService dialogs;
        test::FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(8, 0)));
        const QString letters = places::inProgramFolder(QStringLiteral("courrier"));
        QVERIFY(QDir().mkpath(letters));
        QFile letter(letters + QStringLiteral("/MARTIN Paul-lettre.txt"));
        QVERIFY(letter.open(QIODevice::WriteOnly));
        letter.close();
        QVERIFY(::chmod(QFile::encodeName(letter.fileName()).constData(), 0644) == 0);
        QVERIFY(::chmod(QFile::encodeName(letters).constData(), 0755) == 0);
        const QString base = places::inProgramFolder(QStringLiteral("Data/orvane.sqlite"));
        const records::BackupFolder folder = records::BackupFolder::ofProgram(places::programFolder());
        {
            app::Startup startup(dialogs, clock, std::chrono::milliseconds(0));
            // A password chosen: the settings file is written.
            dialogs.answerModal([](QDialog &gate) {
                for (int box = 0; box < 2; ++box) {
                    QTest::keyClicks(gate.focusWidget(), QStringLiteral("secret"));
                    QTest::keyClick(gate.focusWidget(), Qt::Key_Return);
                }
                QTest::keyClick(gate.focusWidget(), Qt::Key_Return);
            });
            QVERIFY(startup.start());
            QTRY_VERIFY_WITH_TIMEOUT(folder.hasDailyCopy(clock.today()), 60000);
            prescribing::QPrinterSurface printer(dialogs, clock);
            printer.printer().setOutputFormat(QPrinter::PdfFormat);
            prescribing::printPlainPrescription(
                prescribing::PrintContext(printer, test::samplePrintSettings(100, 100), QStringLiteral("09/12/2026")),
                {QStringLiteral("MARTIN Paul"), {QStringLiteral("AMOXICILLINE 1 g")}, QString()});
        }
        records::restoreBase(folder.dailyCopyPath(clock.today()), base, folder, clock.now());

        QStringList open;
        QDirIterator entries(home.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        int files = 0;
        while (entries.hasNext()) {
            const QString path = entries.next();
            struct stat status;
            QVERIFY(::stat(QFile::encodeName(path).constData(), &status) == 0);
            files += S_ISREG(status.st_mode) ? 1 : 0;
            if ((status.st_mode & 077) != 0)
                open.append(QStringLiteral("%1 %2").arg(status.st_mode & 0777, 0, 8).arg(path.mid(home.path().size())));
        }
        QCOMPARE(open, QStringList());
        // The base, the daily and safety copies, the print, the settings, the letter.
        QVERIFY2(files >= 6, qPrintable(QString::number(files)));
        QVERIFY(!folder.safetyCopies().isEmpty());
    }
};

QTEST_MAIN(TestStartupBackup)
#include "test_startupbackup.moc"
