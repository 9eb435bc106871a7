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

} // namespace orvane
