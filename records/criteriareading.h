#pragma once

#include "records/practicesearch.h"

#include <QMap>
#include <QString>
#include <QVariantMap>

namespace orvane::records {

// The criteria as typed in the window, each text as it stands; an empty one is not used.
struct TypedCriteria
{
    QString drug;
    QString words;
    QString minimumAge;
    QString maximumAge;
    QString sex;
    QString scheme;
    bool pregnant = false;
    QString vaccinationKind; // one of vaccinationKinds(), or empty
    QString vaccinationItem;
    QString from;
    QString to;
    QString labAnalyte;
    QString labComparison; // one of labComparisons()
    QString labValue;
    QString labHighValue; // the upper bound of "entre"
    QString labWhich; // one of labWhichValues()
    QString labFrom;
    QString labTo;

    QVariantMap toMap() const;
    static TypedCriteria fromMap(const QVariantMap &map);
};

// The choices of the vaccination criterion, as the window offers them.
const QStringList &vaccinationKinds();

// The choices of the laboratory criterion, as the window offers them, in the order of
// LabValueCriterion::Comparison, and last value first.
const QStringList &labComparisons();
const QStringList &labWhichValues();

// The criteria read, or for each text that cannot be read the French message said beside it,
// under the name of that criterion ("drug", "minimumAge", "from"...; "" for the search as a whole).
struct CriteriaReading
{
    SearchCriteria criteria;
    QMap<QString, QString> problems;
};

CriteriaReading readCriteria(const TypedCriteria &typed, const QDate &today);

// The spelling of the list whose letters are those typed, case and accents aside ("creatinine" is
// "Créatinine"); else the text typed.
QString knownSpelling(const QString &typed, const QStringList &spellings);

// A drug's name without its strength: "Doliprane 1000 mg" is "Doliprane".
QString drugNameWithoutStrength(const QString &typed);

} // namespace orvane::records
