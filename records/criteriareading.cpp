#include "records/criteriareading.h"

#include "platform/conversions.h"
#include "records/schema.h"
#include "records/textindex.h"

#include <QRegularExpression>

namespace orvane::records {

namespace {

std::optional<int> readAge(const QString &text, const QString &name, CriteriaReading &reading)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int age = trimmed.toInt(&ok);
    if (!ok || age < 0 || age > 150) {
        reading.problems.insert(name, QStringLiteral("« %1 » n'est pas un âge en années").arg(trimmed));
        return std::nullopt;
    }
    return age;
}

QDate readDate(const QString &text, const QString &name, const QDate &whenEmpty, CriteriaReading &reading)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return whenEmpty;
    const QDate date = QDate::fromString(trimmed, QStringLiteral("d/M/yyyy"));
    if (!date.isValid())
        reading.problems.insert(name, QStringLiteral("« %1 » n'est pas une date (jj/mm/aaaa)").arg(trimmed));
    return date;
}

// A number as typed in France ("8,5") or as a laboratory prints it ("8.5").
std::optional<double> readNumber(const QString &text, const QString &name, CriteriaReading &reading)
{
    const std::optional<double> number = parseDecimalNumber(text);
    if (!number) {
        const QString trimmed = text.trimmed();
        reading.problems.insert(name, trimmed.isEmpty() ? QStringLiteral("La valeur manque")
                                                        : QStringLiteral("« %1 » n'est pas un nombre").arg(trimmed));
    }
    return number;
}

void readLabValue(const TypedCriteria &typed, CriteriaReading &reading)
{
    const QDate from = readDate(typed.labFrom, QStringLiteral("labFrom"), QDate(), reading);
    const QDate to = readDate(typed.labTo, QStringLiteral("labTo"), QDate(), reading);
    const bool between = typed.labComparison == labComparisons().last();
    if (typed.labAnalyte.trimmed().isEmpty()) {
        if (!typed.labValue.trimmed().isEmpty() || (between && !typed.labHighValue.trimmed().isEmpty()))
            reading.problems.insert(QStringLiteral("labAnalyte"), QStringLiteral("Choisissez l'analyse"));
        return;
    }
    LabValueCriterion criterion;
    criterion.analyte = typed.labAnalyte.trimmed();
    criterion.comparison = LabValueCriterion::Comparison(std::max<qsizetype>(0, labComparisons().indexOf(typed.labComparison)));
    criterion.lastOnly = typed.labWhich != labWhichValues().last();
    criterion.from = from;
    criterion.to = to;
    const auto low = readNumber(typed.labValue, QStringLiteral("labValue"), reading);
    criterion.low = low.value_or(0);
    if (between) {
        const auto high = readNumber(typed.labHighValue, QStringLiteral("labHighValue"), reading);
        criterion.high = high.value_or(0);
        if (low && high && *low > *high)
            reading.problems.insert(QStringLiteral("labHighValue"), QStringLiteral("La seconde valeur est plus petite que la première"));
    }
    if (from.isValid() && to.isValid() && from > to)
        reading.problems.insert(QStringLiteral("labTo"), QStringLiteral("La fin de la période précède son début"));
    reading.criteria.labValue = criterion;
}

void readVaccination(const TypedCriteria &typed, const QDate &today, CriteriaReading &reading)
{
    // A date typed is read even without a vaccination chosen: a date that does not exist is said.
    const QDate from = readDate(typed.from, QStringLiteral("from"), QDate(1900, 1, 1), reading);
    const QDate to = readDate(typed.to, QStringLiteral("to"), today, reading);
    const int kind = int(vaccinationKinds().indexOf(typed.vaccinationKind));
    if (kind < 0)
        return;
    VaccinationCriterion criterion{VaccinationCriterion::Kind(kind), typed.vaccinationItem.trimmed(), from, to};
    if (criterion.kind != VaccinationCriterion::Kind::RecallDue) {
        if (foldedWords(criterion.item).isEmpty())
            reading.problems.insert(QStringLiteral("vaccinationItem"), QStringLiteral("Choisissez le vaccin ou le dépistage"));
        if (from.isValid() && to.isValid() && from > to)
            reading.problems.insert(QStringLiteral("to"), QStringLiteral("La fin de la période précède son début"));
    }
    reading.criteria.vaccination = criterion;
}

} // namespace

const QStringList &vaccinationKinds()
{
    static const QStringList kinds = {QStringLiteral("fait entre le"), QStringLiteral("non fait entre le"),
                                      QStringLiteral("rappel dû avant le")};
    return kinds;
}

const QStringList &labComparisons()
{
    static const QStringList comparisons = {QStringLiteral("<"), QStringLiteral(">"), QStringLiteral("entre")};
    return comparisons;
}

const QStringList &labWhichValues()
{
    static const QStringList which = {QStringLiteral("dernière valeur"), QStringLiteral("toute valeur")};
    return which;
}

QString drugNameWithoutStrength(const QString &typed)
{
    static const QRegularExpression strength(QStringLiteral("(^|\\s)\\d.*$"));
    return QString(typed).remove(strength).trimmed();
}

CriteriaReading readCriteria(const TypedCriteria &typed, const QDate &today)
{
    CriteriaReading reading;
    SearchCriteria &criteria = reading.criteria;
    if (!typed.drug.trimmed().isEmpty()) {
        criteria.drug = drugNameWithoutStrength(typed.drug);
        if (foldedWords(criteria.drug).isEmpty())
            reading.problems.insert(QStringLiteral("drug"), QStringLiteral("Le nom du médicament manque (le dosage ne suffit pas)"));
    }
    if (!typed.words.trimmed().isEmpty()) {
        criteria.words = typed.words.trimmed();
        if (foldedWords(criteria.words).isEmpty())
            reading.problems.insert(QStringLiteral("words"), QStringLiteral("Le texte cherché ne contient aucun mot"));
    }
    criteria.minimumAge = readAge(typed.minimumAge, QStringLiteral("minimumAge"), reading);
    criteria.maximumAge = readAge(typed.maximumAge, QStringLiteral("maximumAge"), reading);
    if (criteria.minimumAge && criteria.maximumAge && *criteria.minimumAge > *criteria.maximumAge)
        reading.problems.insert(QStringLiteral("maximumAge"), QStringLiteral("L'âge maximum est plus petit que l'âge minimum"));
    criteria.sex = typed.sex;
    criteria.scheme = typed.scheme;
    criteria.pregnant = typed.pregnant;
    readVaccination(typed, today, reading);
    readLabValue(typed, reading);
    if (reading.problems.isEmpty() && criteria.isEmpty())
        reading.problems.insert(QString(), QStringLiteral("Choisissez au moins un critère"));
    return reading;
}

QVariantMap TypedCriteria::toMap() const
{
    return {{QStringLiteral("medicament"), drug},      {QStringLiteral("mots"), words},
            {QStringLiteral("ageMin"), minimumAge},    {QStringLiteral("ageMax"), maximumAge},
            {QStringLiteral("sexe"), sex},             {QStringLiteral("regime"), scheme},
            {QStringLiteral("grossesse"), pregnant},   {QStringLiteral("vaccination"), vaccinationKind},
            {QStringLiteral("vaccin"), vaccinationItem}, {QStringLiteral("du"), from},
            {QStringLiteral("au"), to},
            {QStringLiteral("analyse"), labAnalyte},   {QStringLiteral("comparaison"), labComparison},
            {QStringLiteral("valeur"), labValue},      {QStringLiteral("valeurHaute"), labHighValue},
            {QStringLiteral("quelleValeur"), labWhich}, {QStringLiteral("analyseDu"), labFrom},
            {QStringLiteral("analyseAu"), labTo}};
}

TypedCriteria TypedCriteria::fromMap(const QVariantMap &map)
{
    TypedCriteria typed;
    typed.drug = map.value(QStringLiteral("medicament")).toString();
    typed.words = map.value(QStringLiteral("mots")).toString();
    typed.minimumAge = map.value(QStringLiteral("ageMin")).toString();
    typed.maximumAge = map.value(QStringLiteral("ageMax")).toString();
    typed.sex = map.value(QStringLiteral("sexe")).toString();
    typed.scheme = map.value(QStringLiteral("regime")).toString();
    typed.pregnant = map.value(QStringLiteral("grossesse")).toBool();
    typed.vaccinationKind = map.value(QStringLiteral("vaccination")).toString();
    typed.vaccinationItem = map.value(QStringLiteral("vaccin")).toString();
    typed.from = map.value(QStringLiteral("du")).toString();
    typed.to = map.value(QStringLiteral("au")).toString();
    typed.labAnalyte = map.value(QStringLiteral("analyse")).toString();
    typed.labComparison = map.value(QStringLiteral("comparaison")).toString();
    typed.labValue = map.value(QStringLiteral("valeur")).toString();
    typed.labHighValue = map.value(QStringLiteral("valeurHaute")).toString();
    typed.labWhich = map.value(QStringLiteral("quelleValeur")).toString();
    typed.labFrom = map.value(QStringLiteral("analyseDu")).toString();
    typed.labTo = map.value(QStringLiteral("analyseAu")).toString();
    return typed;
}

QString knownSpelling(const QString &typed, const QStringList &spellings)
{
    const QString key = sortKey(typed.trimmed());
    for (const QString &spelling : spellings) {
        if (sortKey(spelling) == key)
            return spelling;
    }
    return typed;
}

} // namespace orvane::records
