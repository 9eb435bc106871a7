#pragma once

#include <QString>

namespace orvane::messaging {

// What the main window hands the HPRIM editor each time it opens it: the current patient, the
// sender and the folder of sent letters, as they were at that moment.
struct MessageContext
{
    QString surname;
    QString forename;
    QString patientKey;     // surname and forename joined by one blank
    QString birthDate;      // day, month and year as typed, joined by "/"
    QString socialSecurity;
    QString addressLine1;
    QString addressLine2;
    QString senderEmail;
    QString sentFolder;

    // "Jour", "Mois", "Année" as the identity page shows them, no leading zeros added.
    static QString birthDateText(const QString &day, const QString &month, const QString &year);
    // The n-th line (from 0) of the patient's address memo, empty when it has fewer lines.
    static QString addressLine(const QString &address, int index);
};

} // namespace orvane::messaging
