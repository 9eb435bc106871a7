#pragma once

#include "messaging/imapinbox.h"
#include "messaging/resultfiler.h"

#include <QObject>
#include <atomic>
#include <thread>

namespace orvane::messaging {

// One fetch of the new messages at a time: the exchange with the server runs on a thread of its
// own, so the window in front of the physician stays usable; each message is filed on the
// windows' thread and marked read on the server only once its files are written.
class MailFetch : public QObject
{
    Q_OBJECT

public:
    using FileMessage = std::function<ResultFiler::Outcome(const QByteArray &raw)>;

    struct Report
    {
        int messages = 0; // filed and marked read
        int filed = 0;
        int waiting = 0;
        QStringList problems; // messages left unread on the server
        QString failure; // the exchange with the server stopped
    };

    explicit MailFetch(FileMessage fileMessage, QObject *parent = nullptr);
    // A fetch under way is stopped at once; what it filed stays filed.
    ~MailFetch() override;

    void setLimits(const ImapInbox::Limits &limits) { m_limits = limits; }
    void trustCertificates(const QString &pemFile) { m_certificates = pemFile; }

    // False, and nothing started, while a fetch is under way.
    bool start(const IncomingServer &server);
    bool isRunning() const { return m_running; }

    // What the physician is told of a fetch.
    static QString summary(const Report &report);

signals:
    // A message's files are written; it is not yet marked read.
    void messageFiled();
    void finished(const orvane::messaging::MailFetch::Report &report);

private:
    void run(const IncomingServer &server, const ImapInbox::Limits &limits, const QString &certificates);
    // Files one message on the windows' thread; the problem's text when it could not be filed.
    std::optional<QString> fileOnWindowsThread(const QByteArray &raw, Report &report);

    FileMessage m_fileMessage;
    ImapInbox::Limits m_limits;
    QString m_certificates;
    std::thread m_worker;
    std::atomic<bool> m_cancelled{false};
    bool m_running = false;
};

} // namespace orvane::messaging
