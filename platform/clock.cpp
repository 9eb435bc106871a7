#include "platform/clock.h"

#include <QLocale>

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

} // namespace orvane
