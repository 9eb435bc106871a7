#pragma once

#include <QString>

namespace orvane::messaging {

// The server from which received results are fetched (IMAP), stored with the other messaging values.
struct IncomingServer
{
    QString host;
    QString port; // a decimal number; empty for the security's usual port
    QString security; // "TLS" (a secure connection from the start) or "STARTTLS"
    QString user;
    QString password;
    QString everyTenMinutes; // "oui" when the program fetches by itself every 10 minutes

    static const QString tls;
    static const QString startTls;

    bool fetchesByItself() const { return everyTenMinutes == QLatin1String("oui"); }
    bool operator==(const IncomingServer &other) const
    {
        return host == other.host && port == other.port && security == other.security && user == other.user
            && password == other.password && everyTenMinutes == other.everyTenMinutes;
    }
};

inline const QString IncomingServer::tls = QStringLiteral("TLS");
inline const QString IncomingServer::startTls = QStringLiteral("STARTTLS");

// Where enciphered messages go while the physician has not set the Apicrypt service's
// acknowledgement address: a placeholder that reaches nobody (".invalid").
inline const QString placeholderAcknowledgementAddress = QStringLiteral("accuse-reception@apicrypt.invalid");

// The messaging values of the settings key, as the messaging windows read and change them; the
// settings store of the program loads and writes them.
struct MessagingSettings
{
    QString idMessagerie;
    QString motDePasse;
    QString serveur;
    QString port;
    QString cryptage; // "oui" or "non"; empty when never set
    QString apicrypt; // the Apicrypt user, with which messages are enciphered and deciphered
    QString email;
    IncomingServer incoming;
    QString acknowledgement; // the Apicrypt service's acknowledgement address; empty while not set

    bool enciphering() const { return cryptage == QLatin1String("oui"); }
    bool acknowledgementIsPlaceholder() const { return acknowledgement.trimmed().isEmpty(); }
    QString acknowledgementAddress() const
    {
        return acknowledgementIsPlaceholder() ? placeholderAcknowledgementAddress : acknowledgement.trimmed();
    }
};

} // namespace orvane::messaging
