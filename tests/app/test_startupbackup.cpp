#include "app/startup.h"
#include "platform/places.h"
#include "records/backupfolder.h"
#include "records/baseinuselock.h"
#include "records/database.h"
#include "records/table.h"
#include "records/textindex.h"
#include "support/fixedclock.h"
#include "support/scripteddialogservice.h"
#include "support/testenvironment.h"

#include <QAbstractButton>
#include <QDialog>
#include <QSqlQuery>
#include <QTest>

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

    void aBaseOfThePreviousVersionIsCopiedThenGetsItsTextIndexes()
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
            records::Table(previous, records::tables::consultations).appendRow({7, {}, QStringLiteral("Lombalgie aiguë")});
        }
        app::Startup startup(dialogs, clock, std::chrono::milliseconds(0));
        dialogs.answerModal([](QDialog &gate) { gate.findChild<QAbstractButton *>(QStringLiteral("Button1"))->click(); });
        QVERIFY(startup.start());
        const QList<records::BackupCopy> copies = records::BackupFolder::ofProgram(places::programFolder()).safetyCopies();
        QCOMPARE(copies.size(), 1);
        records::Database copy(records::AliasSettings::sqliteFile(copies.first().path), places::programFolder());
        QVERIFY(!records::missingTextIndexes(copy).isEmpty());
        records::Database upgraded(records::AliasSettings::sqliteFile(base), places::programFolder());
        QVERIFY(records::missingTextIndexes(upgraded).isEmpty());
        QSqlQuery found(upgraded.connection());
        QVERIFY(found.exec(QStringLiteral("SELECT rowid FROM mots_consultation WHERE mots_consultation MATCH 'lombalgie'")));
        QVERIFY(found.next());
    }
};

QTEST_MAIN(TestStartupBackup)
#include "test_startupbackup.moc"
