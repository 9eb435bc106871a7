#include "platform/clock.h"

#include <QLocale>
#include <algorithm>

namespace orvane {

QString Clock::todayText() const
{
    return shortDateText(today());
}

QString shortDateText(const QDate &date)
{
    // The short format of the French system has four-digit years (dd/MM/yyyy).
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return QLocale().toString(date, format);
}

int ageOn(int birthDay, int birthMonth, int birthYear, const QDate &day)
{
    // Read at once: the practice search asks this of half a million patients.
    int year = 0;
    int month = 0;
    int dayOfMonth = 0;
    day.getDate(&year, &month, &dayOfMonth);
    const int monthOfBirth = std::clamp(birthMonth, 1, 12);
    const int lastDayOfMonth = birthDay > 28 ? std::max(1, QDate(birthYear, monthOfBirth, 1).daysInMonth()) : 28;
    const int birthDayOfMonth = std::clamp(birthDay, 1, lastDayOfMonth);
    int age = year - birthYear;
    if (month < monthOfBirth || (month == monthOfBirth && dayOfMonth < birthDayOfMonth))
        --age;
    return age;
}

} // namespace orvane
