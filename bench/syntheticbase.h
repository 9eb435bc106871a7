#pragma once

#include <QString>

class QRandomGenerator;

namespace orvane::records {
class Database;
}

namespace orvane::bench {

// Fills an empty base with patients of French-looking names (accents, many namesakes), a counter
// at the highest number, clinical rows for about a third of them and long notes for some.
void makeSyntheticBase(records::Database &db, int patients);

// Laboratory results for a third of the patients, in a base that holds none yet: HbA1c four times
// over two years (some replaced by the laboratory, some no number), a creatinine.
void addSyntheticResults(records::Database &db, int patients);

// The names and notes of those patients.
QString randomSurname(QRandomGenerator &random);
QString randomForename(QRandomGenerator &random);
// Notes of a patient seen for years: a few hundred dated consultations.
QString longNotes(QRandomGenerator &random);

} // namespace orvane::bench
