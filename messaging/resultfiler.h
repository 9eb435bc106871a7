#pragma once

#include "messaging/hprimtext.h"

#include <QByteArray>
#include <QStringList>
#include <functional>
#include <optional>

namespace orvane {
class Clock;
}

namespace orvane::messaging {

struct ReceivedMail;

// Files the HPRIM results of a received message: each text whose header names one patient goes
// into the received-results folder under that patient's name; the others wait in "A classer",
// the whole message as a ".eml" file when no text of it can be read.
class ResultFiler
{
public:
    // The files matching a header.
    using PatientLookup = std::function<QList<PatientMatch>(const HprimIdentity &)>;
    // Told of each text filed for a patient, by the filer or by the physician's choice.
    using Filed = std::function<void(const PatientMatch &patient, const QString &path)>;
    // The clear text of an enciphered one; nothing while no deciphering is possible.
    using Decipher = std::function<std::optional<QString>(const QString &)>;

    struct Outcome
    {
        QStringList filed; // in the received-results folder
        QStringList waiting; // in "A classer"
    };

    // An entry of "A classer": whom its header names (nothing known for a kept message) and why it waits.
    struct Waiting
    {
        QString path;
        std::optional<HprimIdentity> identity;
        QString reason;
    };

    static const QString noPatient;
    static const QString severalPatients;
    static const QString noHprimText;
    static const QString encipheredWithoutLibrary;
    static const QString unreadable;
    static const QString otherSocialSecurity;

    ResultFiler(const QString &resultsFolder, PatientLookup lookup, Decipher decipher, const Clock &clock,
                Filed filed = {});

    // Throws when a file cannot be written: the message must then stay unread on the server.
    Outcome file(const QByteArray &raw) const;

    QString pendingFolder() const;
    QList<Waiting> waitingEntries() const;
    Waiting waiting(const QString &path) const;
    // Moves an entry of "A classer" into the received-results folder under the patient's name;
    // returns its new path.
    QString assign(const QString &path, const PatientMatch &patient) const;

private:
    struct Found
    {
        QString text;
        HprimIdentity identity;
    };
    // The HPRIM texts of a message; encipheredLeft tells whether a text could not be deciphered.
    QList<Found> hprimTexts(const ReceivedMail &mail, bool &encipheredLeft) const;
    // The one file the header names, when there is one and nothing in the header denies it.
    std::optional<PatientMatch> patientOf(const HprimIdentity &identity, QString &reason) const;
    QString reasonFor(const HprimIdentity &identity) const;
    void tell(const PatientMatch &patient, const QString &path) const;

    QString m_resultsFolder;
    PatientLookup m_lookup;
    Decipher m_decipher;
    const Clock &m_clock;
    Filed m_filed;
};

} // namespace orvane::messaging
