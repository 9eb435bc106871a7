#include "clinical/pregnancy.h"

#include "platform/clock.h"

namespace orvane::clinical {

namespace {

constexpr qint64 daysToTerm = 287;

} // namespace

QDate noPregnancyDate()
{
    return QDate(1899, 12, 30);
}

bool isPregnancyStart(const QDate &start)
{
    return start.isValid() && start != noPregnancyDate();
}

qint64 pregnancyWeeks(const QDate &start, const QDate &today)
{
    // Whole-number rounding: a week count is never halfway, so no tie rule is needed, and no
    // floating point loses days far from today.
    const qint64 days = start.daysTo(today);
    return days >= 0 ? (days + 3) / 7 : -((-days + 3) / 7);
}

QDate pregnancyTerm(const QDate &start)
{
    return start.addDays(daysToTerm);
}

PregnancyDisplay pregnancyDisplay(const QDate &start, const QDate &today)
{
    if (!isPregnancyStart(start) || !today.isValid())
        return {};
    const QDate term = pregnancyTerm(start);
    return PregnancyDisplay{shortDateText(start), QString::number(pregnancyWeeks(start, today)),
                            term.isValid() ? shortDateText(term) : QString()};
}

bool pregnancyBoxEnabled(const QString &sex)
{
    return sex != QLatin1String("Masculin");
}

} // namespace orvane::clinical
