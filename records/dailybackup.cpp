#include "records/dailybackup.h"

#include "platform/clock.h"
#include "platform/dialogservice.h"
#include "platform/error.h"
#include "platform/places.h"
#include "records/alias.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QThread>
#include <QWidget>

namespace orvane::records {

namespace {

const QString lastWarningKey = QStringLiteral("Sauvegardes/Dernier avertissement");

} // namespace

void DailyBackup::startIfDue(const AliasSettings &alias, const QString &programFolder, const Clock &clock,
                             DialogService &dialogs, QWidget *window)
{
    if (!alias.isSqlite())
        return;
    auto *backup = new DailyBackup(alias.sqlitePath(programFolder), BackupFolder::ofProgram(programFolder),
                                   clock, dialogs, places::registryKey(QStringLiteral("Orvane 32")), window);
    if (!backup->isDue()) {
        delete backup;
        return;
    }
    connect(backup, &DailyBackup::finished, backup, &QObject::deleteLater);
    backup->start();
}

DailyBackup::DailyBackup(const QString &basePath, const BackupFolder &folder, const Clock &clock,
                         DialogService &dialogs, std::unique_ptr<QSettings> memory, QWidget *window)
    : QObject(window ? static_cast<QObject *>(window) : QCoreApplication::instance())
    , m_basePath(basePath)
    , m_folder(folder)
    , m_clock(clock)
    , m_dialogs(dialogs)
    , m_memory(std::move(memory))
    , m_window(window)
{
}

DailyBackup::~DailyBackup()
{
    // The program may end while a copy is being written: it waits for the copy rather than cut it.
    if (m_thread)
        m_thread->wait();
}

bool DailyBackup::isDue() const
{
    return QFileInfo::exists(m_basePath) && !m_folder.hasDailyCopy(m_clock.today());
}

void DailyBackup::start()
{
    m_failure.clear();
    m_day = m_clock.today();
    m_thread.reset(QThread::create([this] {
        try {
            m_folder.writeDailyCopy(m_basePath, m_day);
        } catch (const Error &error) {
            m_failure = error.message();
        } catch (const std::exception &error) {
            m_failure = QString::fromLocal8Bit(error.what());
        }
    }));
    connect(m_thread.get(), &QThread::finished, this, &DailyBackup::report);
    m_thread->start(QThread::LowPriority);
}

void DailyBackup::report()
{
    m_thread->wait();
    m_thread.reset();
    if (!m_failure.isEmpty() && QDate::fromString(m_memory->value(lastWarningKey).toString(), Qt::ISODate) != m_day) {
        m_memory->setValue(lastWarningKey, m_day.toString(Qt::ISODate));
        m_memory->sync();
        m_dialogs.showMessage(m_window, failureMessage());
    }
    emit finished(m_failure);
}

QString DailyBackup::failureMessage() const
{
    return QStringLiteral("La copie de sauvegarde du jour n'a pas pu être écrite dans %1 :\n%2\n\n"
                          "La base de données elle-même n'a pas été touchée. La copie sera tentée de nouveau "
                          "au prochain démarrage.")
        .arg(QDir::toNativeSeparators(m_folder.path()), m_failure);
}

} // namespace orvane::records
