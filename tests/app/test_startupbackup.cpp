#include "app/startup.h"
#include "platform/places.h"
#include "records/backupfolder.h"
#include "records/baseinuselock.h"
#include "support/fixedclock.h"
#include "support/scripteddialogservice.h"
#include "support/testenvironment.h"

#include <QAbstractButton>
#include <QDialog>
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
};

QTEST_MAIN(TestStartupBackup)
#include "test_startupbackup.moc"
