#pragma once

#include <QString>

namespace orvane::messaging {

// Deletes a file when it is there; throws when it is there and cannot be deleted.
void removeFileIfPresent(const QString &path);

} // namespace orvane::messaging
