#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvane::messaging {

struct SmtpServer
{
    QString host;
    quint16 port = 25;
    QString user;
    QString password;
};

// Hands one message to an outgoing mail server. A failure throws the program's message carrying
// the server's reply or the network error; nothing has then been delivered.
class MailTransport
{
public:
    virtual ~MailTransport() = default;
    virtual void deliver(const SmtpServer &server, const QString &sender, const QStringList &recipients,
                         const QByteArray &message) = 0;
};

} // namespace orvane::messaging
