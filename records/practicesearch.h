#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

namespace orvane::records {

class SqlDialect;

// A vaccination or a screening of the vaccination text: done or not done within a period, or its
// recall due before a date (`to`).
struct VaccinationCriterion
{
    enum class Kind { Done, NotDone, RecallDue };
    Kind kind = Kind::Done;
    QString item; // "Vaxigrip", "Mammographie"...; empty: any, for recalls only
    QDate from;
    QDate to;
};

// What the physician asks of every file of the practice; the criteria given are combined with AND.
struct SearchCriteria
{
    QString drug; // the name without its strength
    QString words; // a word or a phrase of the notes, archives, history, results
    std::optional<int> minimumAge;
    std::optional<int> maximumAge;
    QString sex; // "Masculin", "Feminin" or empty
    QString scheme; // "Type d'AM" or empty
    bool pregnant = false;
    std::optional<VaccinationCriterion> vaccination;

    bool isEmpty() const;
};

// The texts the statement reads beside the patient's identity, to show what matched.
struct ShownText
{
    QString table;
    QString field;
};

// The one statement of a search, its values bound in order: the patient's `N°Dossier`,
// `NomPrénom`, `Nom`, `Prénom`, `Jour`, `Mois`, `Année`, then the shown texts in order.
struct SearchStatement
{
    QString sql;
    QVariantList values;
    QList<ShownText> shownTexts;
};

constexpr int identityColumns = 7;

// A pregnancy is in progress for 42 weeks from its start at most.
constexpr int pregnancyDays = 42 * 7;

SearchStatement searchStatement(const SearchCriteria &criteria, const SqlDialect &dialect, const QDate &today);

} // namespace orvane::records
