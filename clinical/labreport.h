#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvane::clinical {

// One result of a laboratory's report, as sent, with its value read as a number when it is one.
struct LabResult
{
    QString label;
    QString code;
    QString type; // N numeric, A text, C coded (HPRIM Santé: NM, ST, TX, CE)
    QString value; // as sent, without the marks around it
    std::optional<double> number; // none for a text, a censored value ("< 0.12") or an unreadable one
    QString unit;
    QString low;
    QString high;
    QString flag; // N, L, H, LL, HH
    QString status; // F validated, R not validated, C corrected
    QString value2; // the same result in a second unit
    std::optional<double> number2;
    QString unit2;
    QString low2;
    QString high2;
    QString comment;
    QDate date; // of the sample, when the result's own record gives it

    bool corrected() const { return status.compare(QLatin1String("C"), Qt::CaseInsensitive) == 0; }
};

// Whom an HPRIM Santé patient record names.
struct LabPatient
{
    QString surname;
    QString forename;
    QDate birthDate;
    bool operator==(const LabPatient &other) const
    {
        return surname == other.surname && forename == other.forename && birthDate == other.birthDate;
    }
};

// What the structured lines of an HPRIM text say: the header's date, laboratory and social security
// number, the results, and every structured line that could not be read, kept as it was.
struct LabReport
{
    QDate examDate; // header line 10; invalid when absent or no date of the calendar
    QString examDateText; // line 10 as sent
    QString laboratory; // header line 11, without its 10-character code
    QString socialSecurity; // header line 8, digits only
    QDate requestDate; // HPRIM Santé: the sampling date of the first request
    QList<LabPatient> patients; // HPRIM Santé: the patient records, in order
    QList<LabResult> results;
    QStringList unreadLines;

    // The date a result is filed under: the header's, else its own or its request's.
    QDate dateOf(const LabResult &result) const;
};

// Reads the results of an HPRIM text, both HPRIM Net ("RES|" and "TEX|" lines, after "****LAB****"
// or mixed with the text) and HPRIM Santé 2.x records (after their "H" record, with the delimiters
// it declares).
LabReport readLabReport(const QStringList &lines);

// A value as laboratories write it: blanks, a decimal comma, marks ("*12.9*", "85*") taken away;
// nothing when it is not one plain number (a censored "< 0.12" is not).
std::optional<double> labNumber(const QString &value);

} // namespace orvane::clinical
