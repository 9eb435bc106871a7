#pragma once

#include "records/backupfolder.h"

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QSettings;
class QThread;
class QWidget;

namespace orvane {
class Clock;
class DialogService;
}

namespace orvane::records {

struct AliasSettings;

// The day's copy of the SQLite base, taken at the first start of the day on a thread of its own so
// the window never waits for it. A copy that cannot be written is told once a day at most; the day
// of the last such message is kept in the registry key, the one place still writable when the
// backup folder is not.
class DailyBackup : public QObject
{
    Q_OBJECT

public:
    // The call of the start-up, once the main window is shown: nothing on a PostgreSQL base or when
    // today's copy exists; otherwise the copy starts and this returns at once.
    static void startIfDue(const AliasSettings &alias, const QString &programFolder, const Clock &clock,
                           DialogService &dialogs, QWidget *window);

    // `memory` is where the day of the last failure message is kept; the clock outlives the backup.
    DailyBackup(const QString &basePath, const BackupFolder &folder, const Clock &clock, DialogService &dialogs,
                std::unique_ptr<QSettings> memory, QWidget *window);
    ~DailyBackup() override;

    bool isDue() const;
    void start();

signals:
    // On the window's thread once the copy is written, or with the reason it could not be.
    void finished(const QString &failure);

private:
    void report();
    QString failureMessage() const;

    QString m_basePath;
    BackupFolder m_folder;
    const Clock &m_clock;
    QDate m_day;
    DialogService &m_dialogs;
    std::unique_ptr<QSettings> m_memory;
    QPointer<QWidget> m_window;
    std::unique_ptr<QThread> m_thread;
    QString m_failure;
};

} // namespace orvane::records
