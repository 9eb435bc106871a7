#pragma once

#include "messaging/messagingsettings.h"

#include <QString>

namespace orvane::app {

// The values of the registry key "Orvane 32" as the program uses them, each with the default that
// stays in force while the key does not hold a value of its own. Plain values, readable from any
// folder of the program.

// The prescriber's letterhead, printed on prescriptions and certificates.
struct Letterhead
{
    // Until the prescriber fills in his own, each line says what it is for: a prescription must
    // never go out under a name that looks like a real prescriber's.
    QString identifiant = QStringLiteral("Nom du médecin à compléter");
    QString diplome = QStringLiteral("Qualification à compléter");
    QString securite = QStringLiteral("N° RPPS à compléter");
    QString libre1 = QStringLiteral("Sur Rendez-vous");
    QString libre2 = QStringLiteral("Fermé le Jeudi Après-Midi");
    QString ville = QStringLiteral("Code postal et ville à compléter");
    QString residence = QStringLiteral("Adresse à compléter");
    QString telephone = QStringLiteral("Tél. : à compléter");
    // Member of an approved management association: 0 yes, 1 no, -1 neither.
    int aga = 0;

    bool operator==(const Letterhead &other) const
    {
        return identifiant == other.identifiant && diplome == other.diplome && securite == other.securite
            && libre1 == other.libre1 && libre2 == other.libre2 && ville == other.ville
            && residence == other.residence && telephone == other.telephone && aga == other.aga;
    }
};

// Printer margins in printer units, and the two spacings in percent of the normal layout.
struct PrintMargins
{
    int left = 150;
    int right = 150;
    int bottom = 50;
    int horizontalSpacing = 100;
    int lineSpacing = 100;

    bool operator==(const PrintMargins &other) const
    {
        return left == other.left && right == other.right && bottom == other.bottom
            && horizontalSpacing == other.horizontalSpacing && lineSpacing == other.lineSpacing;
    }
};

struct MessagingSettings
{
    QString email;
    QString accountId;
    QString accountPassword;
    QString server;
    QString port;
    // "oui" when messages are enciphered with Apicrypt, "non" otherwise; empty when never set.
    QString encipher;
    QString apicryptId;
    messaging::IncomingServer incoming;
    QString apicryptAcknowledgement;

    bool operator==(const MessagingSettings &other) const
    {
        return email == other.email && accountId == other.accountId
            && accountPassword == other.accountPassword && server == other.server && port == other.port
            && encipher == other.encipher && apicryptId == other.apicryptId && incoming == other.incoming
            && apicryptAcknowledgement == other.apicryptAcknowledgement;
    }
};

// The messaging windows' view of the stored messaging values, and back.
inline messaging::MessagingSettings toMessagingWindows(const MessagingSettings &stored)
{
    return {stored.accountId, stored.accountPassword, stored.server, stored.port,
            stored.encipher,  stored.apicryptId,      stored.email, stored.incoming,
            stored.apicryptAcknowledgement};
}

inline MessagingSettings fromMessagingWindows(const messaging::MessagingSettings &edited)
{
    return {edited.email, edited.idMessagerie, edited.motDePasse, edited.serveur, edited.port,
            edited.cryptage, edited.apicrypt, edited.incoming, edited.acknowledgement};
}

// The working folders inside the program folder; derived at start, never stored.
struct CorrespondenceFolders
{
    QString receivedLetters;
    QString receivedResults;
    QString sentLetters;
};

struct Settings
{
    Letterhead letterhead;
    PrintMargins margins;
    MessagingSettings messaging;
    // The enciphered access password; empty while none has been chosen.
    QString accessPassword;
    CorrespondenceFolders folders;
};

} // namespace orvane::app
