#pragma once

#include "import/importreport.h"
#include "records/alias.h"

#include <QString>

namespace orvane {
class Clock;
}

namespace orvane::import {

// Told of the import's advance, table by table.
class ImportProgress
{
public:
    virtual ~ImportProgress() = default;
    virtual void tableStarted(const QString &table, int rows) = 0;
    virtual void rowsDone(int rows) = 0;
};

struct ImportResult
{
    ImportReport report;
    QString reportPath;
    QString safetyCopy; // empty when the base was not replaced or had nothing to keep
};

// Brings the tables of the earlier Windows program found in a folder into the base the alias names,
// through the program's own table store, in one transaction: on any failure the base stays as it
// was and the message names the table, the row and the reason. A base that already holds patients
// is refused unless it is to be replaced, and then a safety copy of it is written first.
class PracticeImport
{
public:
    PracticeImport(const QString &folder, const records::AliasSettings &alias, const QString &programFolder,
                   const Clock &clock);

    // Throws with the reason, nothing changed, when the import cannot be done.
    ImportResult run(bool replace, ImportProgress *progress = nullptr);

private:
    QString m_folder;
    records::AliasSettings m_alias;
    QString m_programFolder;
    const Clock &m_clock;
};

} // namespace orvane::import
