#pragma once

#include <QString>

namespace orvane::records {

// The edit masks of the schema are written in the notation of the program's first toolkit
// ("0" required digit, "9" optional digit, "c" optional character, ...); this gives the
// QLineEdit::setInputMask mask that accepts the same texts.
QString qtInputMask(const QString &mask);

} // namespace orvane::records
