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
    const QDate birth(birthYear, std::clamp(birthMonth, 1, 12), 1);
    const int birthDayOfMonth = std::clamp(birthDay, 1, birth.daysInMonth());
    int age = day.year() - birthYear;
    if (day.month() < birth.month() || (day.month() == birth.month() && day.day() < birthDayOfMonth))
        --age;
    return age;
}

} // namespace orvane
