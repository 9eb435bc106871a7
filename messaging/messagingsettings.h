#pragma once

#include <QString>

namespace orvane::messaging {

// The seven messaging values of the settings key, as the messaging windows read and change them;
// the settings store of the program loads and writes them.
struct MessagingSettings
{
    QString idMessagerie;
    QString motDePasse;
    QString serveur;
    QString port;
    QString cryptage; // "oui" or "non"; empty when never set
    QString apicrypt;
    QString email;

    bool enciphering() const { return cryptage == QLatin1String("oui"); }
};

} // namespace orvane::messaging
