#pragma once

#include "messaging/messagecontext.h"

#include <QDate>
#include <QStringList>
#include <optional>

namespace orvane::messaging {

// Whom a received HPRIM text is about, as its header says.
struct HprimIdentity
{
    QString surname;
    QString forename;
    QDate birthDate;
    QString socialSecurity; // line 8, its digits; empty when the sender gave none
};

// A patient's file that a received text may go to.
struct PatientMatch
{
    QString key; // NomPrénom
    double number = 0; // N°Dossier
    QString socialSecurity; // as the file holds it
};

// Whether a social security number sent differs from the file's. Only the 13 characters of the
// number count (the key may be left out), and a number missing on either side differs from none.
bool socialSecurityDiffers(const QString &sent, const QString &filed);

// The HPRIM text sent to a correspondent: a fixed header of seventeen lines about the patient,
// the sender and the recipient, the pasted prescription, then the two end markers.
class HprimText
{
public:
    static const QString endOfMessage;
    static const QString endOfFile;

    HprimText(const MessageContext &context, const QDate &today, const QString &recipientAddress,
              const QString &senderLine);

    QStringList headerLines() const;
    // The header, the pasted text's lines and the end markers, each marker on a line of its own.
    QStringList lines(const QString &pastedText) const;

    // The patient of a received text: surname, forename and birth date (lines 2, 3 and 7 of the
    // twelve lines of its header) and social security number (line 8); nothing when the text has
    // no such header.
    static std::optional<HprimIdentity> identityOf(const QStringList &lines);

    // "." and ten blanks, then the part of the address before its first "@", a to z upper-cased.
    static QString addressCode(const QString &address);
    // The birth date as readers of HPRIM expect it, DD/MM/YYYY, from the day, month and year as
    // typed joined by "/" ("5/3/1948" gives 05/03/1948); empty when nothing was typed.
    static QString birthDateLine(const QString &birthDate);
    // The social security number's digits (and the letter of a Corsican department), without the
    // separators of its edit mask.
    static QString socialSecurityLine(const QString &number);
    // The short date with its 7th and 8th characters taken out: 15/03/2006 gives 15/03/06.
    static QString shortYearDate(const QDate &date);

private:
    MessageContext m_context;
    QDate m_today;
    QString m_recipientAddress;
    QString m_senderLine;
};

} // namespace orvane::messaging
