#include "records/backupretention.h"

#include <QMap>
#include <algorithm>

namespace orvane::records {

namespace {

constexpr int dailyCopies = 7;
constexpr int monthlyCopies = 12;

int monthNumber(const QDate &date)
{
    return date.year() * 12 + date.month() - 1;
}

} // namespace

QSet<QDate> backupsToKeep(const QList<QDate> &copies, const QDate &today)
{
    QList<QDate> past;
    QSet<QDate> keep;
    for (const QDate &date : copies) {
        if (!date.isValid())
            continue;
        if (date > today)
            keep.insert(date);
        else
            past.append(date);
    }
    std::sort(past.begin(), past.end());
    past.erase(std::unique(past.begin(), past.end()), past.end());

    for (int i = std::max<int>(0, int(past.size()) - dailyCopies); i < past.size(); ++i)
        keep.insert(past.at(i));

    QMap<int, QDate> firstOfMonth;
    QMap<int, QDate> firstOfYear;
    for (const QDate &date : past) {
        if (!firstOfMonth.contains(monthNumber(date)))
            firstOfMonth.insert(monthNumber(date), date);
        if (!firstOfYear.contains(date.year()))
            firstOfYear.insert(date.year(), date);
    }
    const int oldestKeptMonth = monthNumber(today) - (monthlyCopies - 1);
    for (auto it = firstOfMonth.cbegin(); it != firstOfMonth.cend(); ++it) {
        if (it.key() >= oldestKeptMonth)
            keep.insert(it.value());
    }
    for (const QDate &date : firstOfYear)
        keep.insert(date);
    return keep;
}

QList<bool> safetyCopiesToKeep(const QList<QDate> &copies, const QDate &today)
{
    constexpr int lastKept = 5;
    constexpr int daysKept = 30;
    QList<bool> keep;
    for (int i = 0; i < copies.size(); ++i)
        keep.append(i >= copies.size() - lastKept || copies.at(i).daysTo(today) < daysKept);
    return keep;
}

} // namespace orvane::records
