#pragma once

#include "records/alias.h"
#include "records/sqldialect.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <memory>

namespace orvane::records {

// One connection to the database `orvane`, with its schema made on first open.
// Every window's table objects on one connection share it; a second running copy has its own.
class Database
{
public:
    // Opens the base the alias names, creating it and its tables when missing.
    // Throws with a message naming the base when it cannot be opened.
    Database(const AliasSettings &alias, const QString &programFolder);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const SqlDialect &dialect() const { return *m_dialect; }
    const AliasSettings &alias() const { return m_alias; }
    QString describe() const { return m_description; }
    QSqlDatabase connection() const;

    // A prepared statement kept for the life of the connection: the hot paths prepare once.
    QSqlQuery &prepared(const QString &sql);
    // Runs a prepared statement with its values bound; throws the engine's message on failure.
    void run(QSqlQuery &query);
    void run(const QString &sql);

    // A transaction that ends with commit() or, when left without it, is rolled back.
    // Nested guards join the outermost one.
    class Transaction
    {
    public:
        explicit Transaction(Database &db, const QString &exclusiveTable = QString());
        ~Transaction();
        Transaction(const Transaction &) = delete;
        Transaction &operator=(const Transaction &) = delete;
        void commit();

    private:
        Database &m_db;
        bool m_outermost = false;
        bool m_done = false;
    };

private:
    void createSchema();
    [[noreturn]] void fail(const QString &reason) const;

    AliasSettings m_alias;
    QString m_description;
    QString m_connectionName;
    std::unique_ptr<SqlDialect> m_dialect;
    QHash<QString, QSqlQuery> m_statements;
    int m_transactionDepth = 0;
};

} // namespace orvane::records
