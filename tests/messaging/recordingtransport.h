#pragma once

#include "messaging/connectionstate.h"
#include "messaging/mailtransport.h"
#include "platform/error.h"

#include <QList>

namespace orvane::test {

// Keeps every message it is given instead of sending it, or fails with the message it was told.
class RecordingTransport final : public messaging::MailTransport
{
public:
    struct Delivery
    {
        messaging::SmtpServer server;
        QString sender;
        QStringList recipients;
        QByteArray message;
    };

    QList<Delivery> deliveries;
    QString failure;

    void deliver(const messaging::SmtpServer &server, const QString &sender, const QStringList &recipients,
                 const QByteArray &message) override
    {
        if (!failure.isEmpty())
            throw Error(failure);
        deliveries.append({server, sender, recipients, message});
    }
};

class FixedConnectionState final : public messaging::ConnectionState
{
public:
    bool offline = false;
    bool knownOffline() const override { return offline; }
};

} // namespace orvane::test
