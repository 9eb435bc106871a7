#include "support/testdatabase.h"

#include "platform/error.h"
#include "platform/places.h"
#include "records/latestresults.h"
#include "records/schema.h"
#include "records/serveradmin.h"
#include "records/sqldialect.h"
#include "records/textindex.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QUuid>

namespace orvane::test {

namespace {

records::AliasSettings freshBase(const QString &home)
{
    const auto server = TestDatabase::serverAlias();
    if (!server)
        return records::AliasSettings::sqliteFile(home + QStringLiteral("/orvane.sqlite"));
    records::AliasSettings alias = *server;
    alias.database = QStringLiteral("orvane_test_%1_%2")
                         .arg(QCoreApplication::applicationPid())
                         .arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
    records::runOnServer(*server, QStringLiteral("CREATE DATABASE \"%1\"").arg(alias.database));
    return alias;
}

} // namespace

TestDatabase::TestDatabase(Open open)
    : m_alias(freshBase(m_home.path()))
{
    if (open == Open::Now)
        db();
}

records::Database &TestDatabase::db()
{
    if (!m_db)
        m_db = std::make_unique<records::Database>(m_alias, places::programFolder());
    return *m_db;
}

TestDatabase::~TestDatabase()
{
    m_db.reset();
    if (const auto server = serverAlias()) {
        // Connections another test object left open go with the base.
        records::runOnServer(*server, QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(m_alias.database));
    }
}

void TestDatabase::dropResultsTable()
{
    for (const QString &table : {records::tables::results, records::latestResults::name})
        db().run(QStringLiteral("DROP TABLE %1").arg(records::SqlDialect::quote(table)));
    // SQLite keeps a dropped table's word indexes, which are tables of their own.
    if (m_alias.isSqlite()) {
        for (const records::TextIndexDef &index : records::resultTextIndexes())
            db().run(QStringLiteral("DROP TABLE %1").arg(records::SqlDialect::quote(index.name)));
    }
}

void TestDatabase::refuseWrites(const QString &table)
{
    const QString quoted = records::SqlDialect::quote(table);
    if (m_alias.isSqlite()) {
        for (const char *event : {"INSERT", "UPDATE"}) {
            m_db->run(QStringLiteral("CREATE TRIGGER \"refuse %1 %2\" BEFORE %2 ON %3 "
                                     "BEGIN SELECT RAISE(ABORT, 'écriture refusée'); END")
                          .arg(table, QLatin1String(event), quoted));
        }
        return;
    }
    m_db->run(QStringLiteral("CREATE OR REPLACE FUNCTION orvane_refuse() RETURNS trigger LANGUAGE plpgsql "
                             "AS $$BEGIN RAISE EXCEPTION 'écriture refusée'; END$$"));
    m_db->run(QStringLiteral("CREATE TRIGGER \"refuse %1\" BEFORE INSERT OR UPDATE ON %2 "
                             "FOR EACH ROW EXECUTE FUNCTION orvane_refuse()")
                  .arg(table, quoted));
}

std::optional<records::AliasSettings> TestDatabase::serverAlias()
{
    const QString file = qEnvironmentVariable("ORVANE_TEST_PG");
    if (file.isEmpty())
        return std::nullopt;
    if (!QFileInfo::exists(file))
        throw Error(QStringLiteral("ORVANE_TEST_PG names %1, which does not exist").arg(file));
    return records::AliasSettings::loadFile(file);
}

QString TestDatabase::serverFolder()
{
    return QFileInfo(qEnvironmentVariable("ORVANE_TEST_PG")).absolutePath();
}

std::unique_ptr<records::Database> TestDatabase::openAnother() const
{
    return std::make_unique<records::Database>(m_alias, places::programFolder());
}

QStringList fieldValues(records::Table &table, const QString &field)
{
    QStringList values;
    table.first();
    while (!table.isEmpty()) {
        values.append(table.text(field));
        table.next();
        if (table.atEnd())
            break;
    }
    return values;
}

void writeAliasFile(const QString &path, const records::AliasSettings &alias)
{
    QSettings ini(path, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("orvane"));
    ini.setValue(QStringLiteral("Driver"), alias.driver);
    ini.setValue(QStringLiteral("Database"), alias.database);
    if (!alias.isSqlite()) {
        ini.setValue(QStringLiteral("Host"), alias.host);
        ini.setValue(QStringLiteral("Port"), alias.port);
        ini.setValue(QStringLiteral("User"), alias.user);
        ini.setValue(QStringLiteral("Password"), alias.password);
    }
    ini.endGroup();
    ini.sync();
}

} // namespace orvane::test
