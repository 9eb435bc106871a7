#pragma once

#include "records/practicesearch.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace orvane::records {

// A line of a patient's text and the date it is filed under (the last date line above it; none
// when the text has no date there).
struct MatchedLine
{
    QString text;
    QDate date;
};

// The last line of the texts whose words hold the phrase's words in a row (case and accents ignored).
std::optional<MatchedLine> lastLineWith(const QStringList &texts, const QString &phrase);

// An entry of the vaccination text: its line, the date block it is written under, and the recall
// date of the line that follows it ("Rappel le:", "Prochain rappel le:", "à refaire le:").
struct VaccinationEntry
{
    QString line;
    QDate date;
    QDate recall;
};

QList<VaccinationEntry> vaccinationEntries(const QString &text);

// Whether a vaccination text meets the criterion, and the line that shows why.
struct VaccinationAnswer
{
    bool met = false;
    std::optional<MatchedLine> shown;
};

VaccinationAnswer checkVaccination(const QString &text, const VaccinationCriterion &criterion);

} // namespace orvane::records
