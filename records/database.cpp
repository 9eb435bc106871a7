#include "records/database.h"

#include "platform/error.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>

namespace orvane::records {

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("orvane-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

Database::Database(const AliasSettings &alias, const QString &programFolder)
    : m_alias(alias)
    , m_description(alias.describe(programFolder))
    , m_connectionName(nextConnectionName())
    , m_dialect(SqlDialect::forDriver(alias.driver))
{
    if (!QSqlDatabase::isDriverAvailable(m_dialect->driver()))
        fail(QStringLiteral("le pilote %1 n'est pas installé").arg(m_dialect->driver()));
    QSqlDatabase db = QSqlDatabase::addDatabase(m_dialect->driver(), m_connectionName);
    if (alias.isSqlite()) {
        const QString path = alias.sqlitePath(programFolder);
        QDir().mkpath(QFileInfo(path).absolutePath());
        db.setDatabaseName(path);
        // A second running copy waits for the other's write instead of failing at once.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    } else {
        db.setDatabaseName(alias.database);
        db.setHostName(alias.host);
        if (alias.port > 0)
            db.setPort(alias.port);
        db.setUserName(alias.user);
        db.setPassword(alias.password);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    }
    if (!db.open())
        fail(db.lastError().text());
    try {
        for (const QString &statement : m_dialect->connectionSetUp())
            run(statement);
        createSchema();
    } catch (const Error &error) {
        m_statements.clear();
        db.close();
        fail(error.message());
    }
}

Database::~Database()
{
    m_statements.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

void Database::fail(const QString &reason) const
{
    throw Error(QStringLiteral("La base de données %1 ne peut pas être ouverte : %2")
                    .arg(m_description, reason.trimmed()));
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QSqlQuery &Database::prepared(const QString &sql)
{
    auto found = m_statements.find(sql);
    if (found != m_statements.end())
        return found.value();
    QSqlQuery query(connection());
    if (!query.prepare(sql))
        throw Error(query.lastError().text());
    return m_statements.insert(sql, query).value();
}

void Database::run(QSqlQuery &query)
{
    if (!query.exec())
        throw Error(query.lastError().text());
}

void Database::run(const QString &sql)
{
    QSqlQuery query(connection());
    if (!query.exec(sql))
        throw Error(query.lastError().text());
}

void Database::createSchema()
{
    const QStringList existing = connection().tables();
    for (const TableDef &table : schema()) {
        if (existing.contains(table.name))
            continue;
        Transaction transaction(*this);
        for (const QString &statement : m_dialect->createStatements(table))
            run(statement);
        transaction.commit();
    }
}

Database::Transaction::Transaction(Database &db, const QString &exclusiveTable)
    : m_db(db)
    , m_outermost(db.m_transactionDepth == 0)
{
    if (m_outermost) {
        const QStringList begin = exclusiveTable.isEmpty()
            ? QStringList{QStringLiteral("BEGIN")}
            : db.m_dialect->beginExclusive(SqlDialect::quote(exclusiveTable));
        db.run(begin.first());
        try {
            for (int i = 1; i < begin.size(); ++i)
                db.run(begin.at(i));
        } catch (...) {
            db.run(QStringLiteral("ROLLBACK"));
            throw;
        }
    }
    ++db.m_transactionDepth;
}

Database::Transaction::~Transaction()
{
    --m_db.m_transactionDepth;
    if (m_outermost && !m_done) {
        QSqlQuery rollback(m_db.connection());
        rollback.exec(QStringLiteral("ROLLBACK"));
    }
}

void Database::Transaction::commit()
{
    if (m_outermost)
        m_db.run(QStringLiteral("COMMIT"));
    m_done = true;
}

} // namespace orvane::records
