#pragma once

#include <QString>

namespace orvane::bench {

// Writes into `folder` the Paradox tables an earlier program's practice of that many patients
// would leave: the counter, the patients, their six per-patient rows each with notes of realistic
// size (a few visits for most, years of visits for one in a hundred), and the four lists.
void makeSyntheticPractice(const QString &folder, int patients);

} // namespace orvane::bench
