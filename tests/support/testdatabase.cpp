#include "support/testdatabase.h"

#include "platform/places.h"

namespace orvane::test {

TestDatabase::TestDatabase()
    : m_db(std::make_unique<records::Database>(alias(), places::programFolder()))
{
}

TestDatabase::~TestDatabase() = default;

records::AliasSettings TestDatabase::alias() const
{
    return records::AliasSettings::sqliteFile(m_home.path() + QStringLiteral("/orvane.sqlite"));
}

std::unique_ptr<records::Database> TestDatabase::openAnother() const
{
    return std::make_unique<records::Database>(alias(), places::programFolder());
}

} // namespace orvane::test
