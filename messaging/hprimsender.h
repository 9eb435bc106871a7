#pragma once

#include "messaging/mailmessage.h"
#include "messaging/mailtransport.h"
#include "messaging/messagecontext.h"
#include "messaging/messagingsettings.h"

#include <QStringList>
#include <functional>

namespace orvane {
class Clock;
}

namespace orvane::messaging {

class ConnectionState;

// What the editor holds at the moment "&Envoyer" is pressed.
struct OutgoingHprim
{
    bool enciphered = false;
    QStringList clearLines;      // the HPRIM text
    QStringList encipheredLines; // the Apicrypt output
    // The Apicrypt service's acknowledgement address, where an enciphered message goes.
    QString acknowledgementAddress = placeholderAcknowledgementAddress;
    QString recipients;          // the "A:" text
    QString subject;
    bool readReceipt = false;
    QString senderLine;          // the "Exp:" text
    MessageContext context;

    const QStringList &bodyLines() const { return enciphered ? encipheredLines : clearLines; }
    // Why nothing can be sent, for a message whose text is empty.
    QString nothingToSendReason() const;
    QStringList envelopeRecipients() const;
    MailMessage mail(const QDateTime &now) const;
    // The copy of the clear text in the sent-letters folder.
    QString copyPath(const QDate &today) const;
};

// The host, the port as a whole number and the account of the settings; a port that is not a
// whole number or not a port throws the program's message.
SmtpServer smtpServer(const MessagingSettings &settings);

// Sends an HPRIM message and files its clear copy: nothing is sent when the system says it is
// offline or there is nothing to send, and no copy is written unless the server took the message.
class HprimSender
{
public:
    enum class Outcome { NoConnection, NothingToSend, Sent };

    HprimSender(MailTransport &transport, const ConnectionState &connection, const Clock &clock);

    // delivered runs as soon as the server took the message, before its copy is written: a copy
    // that cannot be written must not let the same message be sent twice.
    Outcome send(const OutgoingHprim &outgoing, const MessagingSettings &settings,
                 const std::function<void()> &delivered = {});

private:
    MailTransport &m_transport;
    const ConnectionState &m_connection;
    const Clock &m_clock;
};

} // namespace orvane::messaging
