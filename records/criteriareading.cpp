#include "records/criteriareading.h"

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
            {QStringLiteral("au"), to}};
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
    return typed;
}

} // namespace orvane::records
