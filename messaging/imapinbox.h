#pragma once

#include "messaging/messagingsettings.h"

#include <QByteArray>
#include <QList>
#include <functional>
#include <optional>

namespace orvane::messaging {

// The inbox of the incoming server, reached with libcurl's IMAP support over TLS or STARTTLS.
// Every call blocks until the server has answered or a time limit has passed, so it runs away
// from the windows' thread; a failure throws the program's message.
class ImapInbox
{
public:
    struct Limits
    {
        long connectSeconds = 20;
        // A server that sends nothing for this long is given up.
        long silentSeconds = 60;
        qint64 largestMessage = 64 * 1024 * 1024;
    };

    // cancelled is asked while a transfer runs: true ends it at once (the program is closing).
    ImapInbox(const IncomingServer &server, const Limits &limits, std::function<bool()> cancelled = {});
    ~ImapInbox();
    ImapInbox(const ImapInbox &) = delete;
    ImapInbox &operator=(const ImapInbox &) = delete;

    // Certificates of this file are trusted as well as the system's (a practice's own server).
    void trustCertificates(const QString &pemFile);

    QList<quint32> unreadMessages();
    // The whole message, left unread on the server; nothing when it is larger than the limit
    // (it then stays on the server).
    std::optional<QByteArray> message(quint32 uid);
    void markRead(quint32 uid);

private:
    // The server's answer; nothing when it was larger than the limit.
    std::optional<QByteArray> perform(const QString &path, const QString &command);
    QString portText() const;

    IncomingServer m_server;
    Limits m_limits;
    std::function<bool()> m_cancelled;
    QString m_certificates;
    void *m_curl;
};

} // namespace orvane::messaging
