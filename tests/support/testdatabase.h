#pragma once

#include "records/database.h"
#include "records/table.h"
#include "support/testenvironment.h"

#include <memory>
#include <optional>

namespace orvane::test {

// A temporary home with a fresh database in it: an SQLite file there, or, when ORVANE_TEST_PG
// names the alias file of a test server, a new database of its own on that server, dropped at the end.
class TestDatabase
{
public:
    enum class Open { Now, Later };
    // Later: the base exists but is empty, as a practice's new server base before its first start;
    // db() opens it.
    explicit TestDatabase(Open open = Open::Now);
    ~TestDatabase();

    records::Database &db();
    // Closes this connection, as a program that quits; db() opens another.
    void close() { m_db.reset(); }
    // A second connection on the same base, as a second running copy of the program has.
    std::unique_ptr<records::Database> openAnother() const;
    QString home() const { return m_home.path(); }
    const records::AliasSettings &alias() const { return m_alias; }
    // From now on every insert and update of the table fails, as on a full disk.
    void refuseWrites(const QString &table);
    // Takes the results table away with its word indexes, as a base of the release before it was added.
    void dropResultsTable();

    // The alias of the test server named by ORVANE_TEST_PG; none when the tests run on SQLite.
    static std::optional<records::AliasSettings> serverAlias();
    // The folder of the test server's files, where its "restart" script is.
    static QString serverFolder();

private:
    TemporaryHome m_home;
    records::AliasSettings m_alias;
    std::unique_ptr<records::Database> m_db;
};

// The field of every row, in the table's current ordering from its first row (the table moves).
QStringList fieldValues(records::Table &table, const QString &field);

// Writes an "alias.ini" naming the base, as a practice writes it for its workstations.
void writeAliasFile(const QString &path, const records::AliasSettings &alias);

} // namespace orvane::test
