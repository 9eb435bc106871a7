#pragma once

#include <QString>

namespace orvane::records {

// Puts the file `from` in the place of `to` in one step: whoever opens `to` finds either the old file
// or the new one, never a part of it. Both must be in one folder. Throws with the system's reason.
void replaceFile(const QString &from, const QString &to);

} // namespace orvane::records
