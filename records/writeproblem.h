#pragma once

#include <QString>
#include <optional>

namespace orvane {
class Error;
}

namespace orvane::records {

// Why nothing typed could be stored in a base, and what the physician (or whoever looks after the
// computer) can do about it.
struct WriteProblem
{
    QString reason;
    QString remedy;

    // The SQLite base at that path: its file or its folder read-only, or its disk full.
    static std::optional<WriteProblem> ofSqliteFile(const QString &basePath);

    // The failure the start-up ends with: the base, the reason, what to do.
    Error startFailure(const QString &describedBase) const;
};

} // namespace orvane::records
