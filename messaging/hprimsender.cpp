#include "messaging/hprimsender.h"

#include "messaging/connectionstate.h"
#include "messaging/correspondencefolders.h"
#include "platform/clock.h"
#include "platform/conversions.h"
#include "platform/error.h"
#include "platform/textlines.h"

#include <QDir>

namespace orvane::messaging {

const QString apicryptServiceAddress = QStringLiteral("accuse-reception@apicrypt.invalid");

QStringList OutgoingHprim::envelopeRecipients() const
{
    return enciphered ? QStringList{apicryptServiceAddress} : parseRecipients(recipients);
}

MailMessage OutgoingHprim::mail(const QDateTime &now) const
{
    MailMessage message;
    message.from = context.senderEmail;
    message.subject = subject;
    message.to = envelopeRecipients();
    message.replyTo = context.senderEmail;
    if (readReceipt) {
        // The "Exp:" line is a name; the receipt can only come back to an address, the sender's.
        if (senderLine.contains(QLatin1Char('@'))) {
            message.receiptAddress = senderLine.trimmed();
        } else {
            message.receiptName = senderLine;
            message.receiptAddress = context.senderEmail;
        }
    }
    message.date = now;
    message.bodyLines = bodyLines();
    return message;
}

QString OutgoingHprim::copyPath(const QDate &today) const
{
    const QString name = enciphered ? context.patientKey : context.surname + QLatin1Char(' ') + context.forename;
    return context.sentFolder + QLatin1Char('/') + sentCopyFileName(name, today);
}

SmtpServer smtpServer(const MessagingSettings &settings)
{
    const qint64 port = toWholeNumber(settings.port);
    if (port < 1 || port > 65535)
        throw Error(QStringLiteral("Le port %1 n'est pas un port de messagerie possible (de 1 à 65535)").arg(port));
    return SmtpServer{settings.serveur.trimmed(), quint16(port), settings.idMessagerie, settings.motDePasse};
}

HprimSender::HprimSender(MailTransport &transport, const ConnectionState &connection, const Clock &clock)
    : m_transport(transport)
    , m_connection(connection)
    , m_clock(clock)
{
}

HprimSender::Outcome HprimSender::send(const OutgoingHprim &outgoing, const MessagingSettings &settings,
                                       const std::function<void()> &delivered)
{
    if (m_connection.knownOffline())
        return Outcome::NoConnection;
    if (outgoing.bodyLines().isEmpty())
        return Outcome::NothingToSend;
    const SmtpServer server = smtpServer(settings);
    const MailMessage message = outgoing.mail(m_clock.now());
    m_transport.deliver(server, message.from, message.to, message.toBytes());
    if (delivered)
        delivered();

    const QString copy = outgoing.copyPath(m_clock.today());
    try {
        QDir().mkpath(outgoing.context.sentFolder);
        writeWindowsTextFile(copy, outgoing.clearLines);
    } catch (const Error &error) {
        throw Error(QStringLiteral("Le message a été envoyé, mais sa copie n'a pas pu être enregistrée : %1")
                        .arg(error.message()));
    }
    return Outcome::Sent;
}

} // namespace orvane::messaging
