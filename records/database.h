#pragma once

#include "records/alias.h"
#include "records/sqldialect.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <functional>
#include <memory>
#include <unordered_map>

class QSqlDriver;
class QSqlError;

namespace orvane::records {

// One connection to the database `orvane`, with its schema made on first open.
// Every window's table objects on one connection share it; a second running copy has its own.
class Database
{
public:
    // Opens the base the alias names, creating it and its tables when missing.
    // Throws with a message naming the base and the reason when it cannot be opened.
    Database(const AliasSettings &alias, const QString &programFolder);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const SqlDialect &dialect() const { return *m_dialect; }
    const AliasSettings &alias() const { return m_alias; }
    QString describe() const { return m_description; }
    // The tables this opening made, the base being new or older than them; empty for a base that
    // had them all.
    const QStringList &createdTables() const { return m_createdTables; }
    QSqlDatabase connection() const;
    // Throws, saying why and what to do, when nothing could be stored in the base: a read-only file,
    // folder, disk or server, missing rights, a full disk.
    void checkWritable();

    // A prepared statement kept for the life of the connection: the hot paths prepare once.
    // The reference stays valid, also across a reconnection.
    QSqlQuery &prepared(const QString &sql);
    // Runs a prepared statement with its values bound; throws the engine's message on failure.
    // A connection the server dropped is opened again once and the statement repeated, unless a
    // transaction was open: its work is gone with the connection, so the failure is reported.
    void run(QSqlQuery &query);
    void run(const QString &sql);
    // A statement read once, forward, its rows handed as the engine finds them. A server gathers
    // all the rows of a prepared statement before it sends the first: there the values are
    // written into the statement by the driver's own quoting, as the driver does for a prepared one.
    QSqlQuery streamed(const QString &sql, const QVariantList &values);

    bool inTransaction() const { return m_transactionDepth > 0; }
    // Called when the open transaction is rolled back, so the work written in it shows as pending
    // again; forgotten on commit. Outside a transaction nothing is kept.
    void onRollback(std::function<void()> undo);

    // A transaction that ends with commit() or, when left without it, is rolled back.
    // Nested guards join the outermost one. On a server each statement is a round trip: the
    // transaction begins with its first statement, and one in which nothing ran costs nothing.
    class Transaction
    {
    public:
        enum class Begin { AtFirstStatement, Now };
        explicit Transaction(Database &db, const QString &exclusiveTable = QString(),
                             Begin begin = Begin::AtFirstStatement);
        ~Transaction();
        Transaction(const Transaction &) = delete;
        Transaction &operator=(const Transaction &) = delete;
        void commit();

    private:
        Database &m_db;
        bool m_outermost = false;
        bool m_done = false;
    };

    // The safety copy taken before the base gains what a new release adds ("avant-mise-a-jour-...").
    void writeUpgradeCopy(const QString &programFolder, const QDateTime &now);

private:
    void connect();
    void setUpConnection();
    void createSchema(const QString &programFolder);
    bool connectionLost();
    void reconnect();
    [[noreturn]] void fail(const QSqlError &error) const;
    [[noreturn]] void fail(const QString &reason) const;
    [[noreturn]] void failStatement(const QSqlError &error) const;
    // Begins the open transaction if no statement has yet; whether that reconnected.
    bool beginPending();
    void rollBack();

    AliasSettings m_alias;
    QString m_description;
    QString m_connectionName;
    std::unique_ptr<SqlDialect> m_dialect;
    std::unordered_map<QString, std::unique_ptr<QSqlQuery>> m_statements;
    int m_transactionDepth = 0;
    QStringList m_pendingBegin; // the statements that begin the open transaction, until its first one
    bool m_begun = false;
    int m_connections = 0; // reconnections so far
    bool m_disconnected = false;
    bool m_opening = true;
    std::vector<std::function<void()>> m_rollbackActions;
    QStringList m_createdTables;
};

// The statement with each mark `?` outside quotes replaced by its value, written by the driver.
QString withValuesWritten(const QString &sql, const QVariantList &values, const QSqlDriver &driver);

} // namespace orvane::records
