#pragma once

#include "records/alias.h"

namespace orvane::records {

// Runs one statement on the base the alias names, on a connection of its own closed after, as
// a server's administrator does (making or dropping a base). Throws the statement and the
// server's words on failure.
void runOnServer(const AliasSettings &server, const QString &sql);

} // namespace orvane::records
