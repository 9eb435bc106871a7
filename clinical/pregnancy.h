#pragma once

#include <QDate>
#include <QString>

namespace orvane::clinical {

// The stored start of a pregnancy: day count 0 of the day-count calendar (30/12/1899) or an empty
// date means there is none. "annuler" stores that day.
QDate noPregnancyDate();
bool isPregnancyStart(const QDate &start);

// Weeks from the start to today, rounded to the nearest whole number; negative for a start to come.
qint64 pregnancyWeeks(const QDate &start, const QDate &today);
// The expected term: 287 days after the start; invalid beyond the calendar's end.
QDate pregnancyTerm(const QDate &start);

// The three texts of the pregnancy box, all empty without a pregnancy.
struct PregnancyDisplay
{
    QString start;
    QString weeks;
    QString term;
};
PregnancyDisplay pregnancyDisplay(const QDate &start, const QDate &today);

// The pregnancy box is offered unless the patient's sex is "Masculin" (also when none is chosen).
bool pregnancyBoxEnabled(const QString &sex);

} // namespace orvane::clinical
