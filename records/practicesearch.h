#pragma once

#include "records/schema.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

namespace orvane::records {

class SqlDialect;
struct TextIndexDef;

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

// The laboratory results filed from the received texts: many rows per patient, a value replaced by a
// later one of the laboratory marked so ("Remplacé" = 1), "Valeur" empty when the result is no number.
namespace resultsTable {
inline const QString name = tables::results;
inline const QString date = QStringLiteral("Date examen");
inline const QString analyte = QStringLiteral("Analyte");
inline const QString label = QStringLiteral("Libellé");
inline const QString value = QStringLiteral("Valeur");
inline const QString unit = QStringLiteral("Unité");
inline const QString replaced = QStringLiteral("Remplacé");
inline const QString comment = QStringLiteral("Commentaire");
} // namespace resultsTable

// A laboratory value of an analyte ("HBA1C") below, above or between bounds, in a period: the
// patient's last value of the analyte in the period, or any of them.
struct LabValueCriterion
{
    enum class Comparison { Below, Above, Between };
    QString analyte;
    Comparison comparison = Comparison::Above;
    double low = 0; // the bound of Below and Above, the lower one of Between
    double high = 0;
    bool lastOnly = true;
    QDate from; // invalid: no bound
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
    std::optional<LabValueCriterion> labValue;

    bool isEmpty() const;
};

// The texts the statement reads beside the patient's identity, to show what matched.
struct ShownText
{
    QString table;
    QString field;
};

constexpr int identityColumns = 6;
constexpr int resultColumns = 5;
constexpr int resultTextColumns = 2;

// The one statement of a search, its values bound in order: the patient's `N°Dossier`,
// `NomPrénom`, `Nom`, `Prénom`, `Jour`, `Mois`, `Année`, then the shown texts in order, then for a
// laboratory value the result that matched: its date, label, analyte, value and unit; then for
// words searched in the results too, the text and date of the last result that holds them.
struct SearchStatement
{
    QString sql;
    QVariantList values;
    QList<ShownText> shownTexts;
    bool showsResult = false;
    bool showsResultText = false;

    // Where the columns of the result and of the result's text begin, and how many columns in all.
    int resultAt() const;
    int resultTextAt() const;
    int columnCount() const;
};


// A pregnancy is in progress for 42 weeks from its start at most.
constexpr int pregnancyDays = 42 * 7;

// Whether the base holds the laboratory results table: a base of an earlier version has none.
bool holdsResults(const QStringList &tables);
// Why a laboratory value cannot be searched in such a base.
QString noResultsStored();

// The words are also looked for in the results' texts of `resultTexts` (see searchableResultTexts).
SearchStatement searchStatement(const SearchCriteria &criteria, const SqlDialect &dialect, const QDate &today,
                                const QList<TextIndexDef> &resultTexts = {});

} // namespace orvane::records
