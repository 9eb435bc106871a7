#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QClipboard;

namespace orvane::vidal {

class VidalHost;

// The clipboard exchange with the Vidal access program: a click sends the patient's request and
// starts the access program, then `Timer2` looks at the clipboard ten times a second until an
// answer comes or the physician leaves the prescriptions page.
class VidalExchange : public QObject
{
    Q_OBJECT

public:
    // Starts a program without parameters; the result of the start is not examined.
    using Launcher = std::function<void(const QString &program)>;

    VidalExchange(VidalHost &host, QClipboard *clipboard, QObject *parent = nullptr,
                  Launcher launcher = detachedLauncher());

    // "accesvidalcd.exe" in the program folder; the `vidal` button is enabled at start only when it exists.
    static QString accessProgram();
    static bool accessProgramInstalled();
    static Launcher detachedLauncher();

    bool isWatching() const { return m_timer.isActive(); }
    const QTimer &timer() const { return m_timer; }

public slots:
    // Puts the request on the clipboard, starts the access program and watches for its answer.
    void vidalClick();
    // One look at the clipboard while watching.
    void Timer2Timer();
    // The main window's page changed; leaving the prescriptions page ends the watch.
    void pageChanged(bool prescriptionsShown);

private:
    void takeAnswer(const QString &text, const QStringList &lines);
    void emptyClipboard();

    VidalHost &m_host;
    QClipboard *m_clipboard;
    Launcher m_launcher;
    QTimer m_timer;
};

} // namespace orvane::vidal
