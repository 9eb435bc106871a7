#pragma once

#include <QDate>
#include <QDateTime>

namespace orvane {

// "Today" and "now" for the whole program; tests hand in a clock they set.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
    // Today's date in the system's short date format, as the texts and printouts show it.
    QString todayText() const;
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// Dates as the program writes them into texts: the system's short format.
QString shortDateText(const QDate &date);

// Whole years of age on a day, from the birth date as the patient's file holds it (a missing
// day or month counts as the first; one born on 29 February is a year older on 1 March).
int ageOn(int birthDay, int birthMonth, int birthYear, const QDate &day);

} // namespace orvane
