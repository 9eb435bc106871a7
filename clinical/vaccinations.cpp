#include "clinical/vaccinations.h"

#include "clinical/datecheck.h"
#include "platform/clock.h"
#include "platform/textlines.h"

namespace orvane::clinical {

namespace {

const QString recall = QStringLiteral("Rappel le:");
const QString nextRecall = QStringLiteral("Prochain rappel le:");

VaccinationItem once(const QString &line)
{
    return VaccinationItem{QStringLiteral("1 injection"), line, QString(), 0};
}

} // namespace

const QList<VaccinationGroup> &vaccinationGroups()
{
    static const QList<VaccinationGroup> groups{
        {QStringLiteral("Pentacoq"),
         QStringLiteral("Pentacoq"),
         {{QStringLiteral("1 ère injection"), QStringLiteral("Pentacoq: 1 ère injection (3 mois)"), recall, 30},
          {QStringLiteral("2 ème injection"), QStringLiteral("Pentacoq: 2 ème injection (4 mois)"), recall, 30},
          {QStringLiteral("3 ème injection"), QStringLiteral("Pentacoq: 3 ème injection (5 mois)"), recall, 365},
          {QStringLiteral("Rappel 1 an"), QStringLiteral("Pentacoq: rappel 1 an"), nextRecall, 1825},
          {QStringLiteral("Rappel 5 ans"), QStringLiteral("Pentacoq: rappel 5 ans"), nextRecall, 1825}}},
        {QStringLiteral("Monovax"), QStringLiteral("Monovax"), {once(QStringLiteral("MonoVax:1 injection"))}},
        {QStringLiteral("RORVax"), QStringLiteral("ROR Vax"), {once(QStringLiteral("RORVax:1 injection"))}},
        {QStringLiteral("Vaxigrip"), QStringLiteral("Vaxigrip"), {once(QStringLiteral("Vaxigrip:1 injection"))}},
        {QStringLiteral("Tetavax"),
         QStringLiteral("Tetavax"),
         {{QStringLiteral("1 ère injection"), QStringLiteral("Tetavax: 1 ère injection"), recall, 30},
          {QStringLiteral("2 ème injection"), QStringLiteral("Tetavax: 2 ème injection"), recall, 365},
          {QStringLiteral("rappel 1 an"), QStringLiteral("Tetavax: rappel 1 an"), nextRecall, 3650},
          {QStringLiteral("rappel 10 ans"), QStringLiteral("Tetavax: rappel 10 ans"), nextRecall, 3650}}},
        {QStringLiteral("mammo"),
         QStringLiteral("Mammographies"),
         {{QStringLiteral("Mammographie"), QStringLiteral("Mammographie"), QStringLiteral("à refaire le:"), 670}}},
    };
    return groups;
}

QStringList vaccinationLines(const VaccinationItem &item, const QDate &today)
{
    QStringList lines{item.line};
    if (!item.recallLabel.isEmpty())
        lines.append(item.recallLabel + shortDateText(today.addDays(item.recallDays)));
    return lines;
}

void recordVaccination(QString &text, const VaccinationItem &item, const Clock &clock)
{
    addDateBlockIfMissing(text, clock.todayText());
    appendLines(text, vaccinationLines(item, clock.today()));
}

} // namespace orvane::clinical
