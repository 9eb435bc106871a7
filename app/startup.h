#pragma once

#include "app/torvane.h"

#include <QObject>
#include <chrono>
#include <memory>

namespace orvane {
class Clock;
class DialogService;
}
namespace orvane::records {
struct AliasSettings;
class BaseInUseLock;
struct AliasSettings;
class Database;
}

namespace orvane::app {

// The program from its entry to the end of its event loop: the splash while every window is
// created, the pause, then the main window, whose first showing runs the access password gate.
class Startup : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds splashPause{1000};

    Startup(DialogService &dialogs, const Clock &clock,
            std::chrono::milliseconds pause = splashPause);
    ~Startup() override;

    // Everything up to the main window shown and its gate passed or refused. False, after one
    // message naming the base, when the database cannot be opened.
    bool start();
    // start(), then the event loop; the program's exit code.
    int run();

    TOrvane *mainWindow() const { return m_main.get(); }
    bool isTerminated() const { return m_terminated; }

private:
    void createWindows(const QString &programFolder);
    void addSearchIndexes(const QString &programFolder);
    void pause();
    static void refuseEmptyBase(const QString &basePath);
    static void protectFiles(const records::AliasSettings &alias, const QString &programFolder);
    void tellOnceWhereCorrespondenceStays(const records::AliasSettings &alias, const QString &programFolder);
    void terminate();

    DialogService &m_dialogs;
    const Clock &m_clock;
    std::chrono::milliseconds m_pause;
    std::unique_ptr<records::BaseInUseLock> m_baseLock;
    std::unique_ptr<records::Database> m_database;
    std::unique_ptr<TOrvane> m_main; // after the database: its tables go first
    bool m_terminated = false;
};

} // namespace orvane::app
