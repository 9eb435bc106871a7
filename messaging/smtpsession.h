#pragma once

#include "messaging/mailtransport.h"

namespace orvane::messaging {

// The SMTP client: one connection per message (greeting, EHLO or HELO, STARTTLS when offered,
// AUTH LOGIN when offered and a user name is set, one transaction, QUIT). It waits for each reply
// in a local event loop that lets no user input through, and gives up after the time-out.
class SmtpSession final : public MailTransport
{
public:
    explicit SmtpSession(int replyTimeoutMs = 30000, QString helloName = QString());

    void deliver(const SmtpServer &server, const QString &sender, const QStringList &recipients,
                 const QByteArray &message) override;

    // The message's lines with a second "." before each line that begins with one, then the
    // terminating line ".".
    static QByteArray dataBlock(const QByteArray &message);

private:
    int m_replyTimeoutMs;
    QString m_helloName;
};

} // namespace orvane::messaging
