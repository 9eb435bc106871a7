#pragma once

#include <QString>

namespace orvane::records {
class Database;
}

namespace orvane::bench {

// Fills an empty base with patients of French-looking names (accents, many namesakes), a counter
// at the highest number, clinical rows for about a third of them and long notes for some.
void makeSyntheticBase(records::Database &db, int patients);

} // namespace orvane::bench
