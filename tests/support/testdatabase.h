#pragma once

#include "records/database.h"
#include "support/testenvironment.h"

#include <memory>

namespace orvane::test {

// A temporary home with a fresh database in it.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();

    records::Database &db() { return *m_db; }
    // A second connection on the same base, as a second running copy of the program has.
    std::unique_ptr<records::Database> openAnother() const;
    QString home() const { return m_home.path(); }

private:
    records::AliasSettings alias() const;

    TemporaryHome m_home;
    std::unique_ptr<records::Database> m_db;
};

} // namespace orvane::test
