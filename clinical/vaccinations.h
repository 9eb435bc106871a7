#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvane {
class Clock;
}

namespace orvane::clinical {

// One item of a vaccination group: the line written when it is clicked and, for most, the line of
// the next injection: its label followed by today's date plus a number of days.
struct VaccinationItem
{
    QString caption;
    QString line;
    QString recallLabel; // empty: no recall line
    int recallDays = 0;
};

struct VaccinationGroup
{
    QString objectName; // the choice group on the vaccinations tab
    QString caption;
    QList<VaccinationItem> items;
};

// The six groups of the vaccinations tab, in their order.
const QList<VaccinationGroup> &vaccinationGroups();

// The lines of an item given today: a recall date counts whole days, no month or year arithmetic.
QStringList vaccinationLines(const VaccinationItem &item, const QDate &today);

// Records an item in the vaccination text: the date block first when today is not yet there
// (never asked), then the item's lines.
void recordVaccination(QString &text, const VaccinationItem &item, const Clock &clock);

} // namespace orvane::clinical
