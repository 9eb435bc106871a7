#include "records/database.h"

#include "platform/error.h"
#include "records/backupfolder.h"
#include "records/latestresults.h"
#include "records/writeproblem.h"

#include <QAtomicInt>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QThread>
#include <optional>

namespace orvane::records {

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("orvane-%1").arg(counter.fetchAndAddRelaxed(1));
}

// The engine's own words, on one line.
QString engineText(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    return text.simplified();
}

// What a practice's administrator needs to hear first when the server refuses the connection; the
// engine's own words follow for the details.
QString connectionFailureReason(const QSqlError &error, const AliasSettings &alias)
{
    const QString text = engineText(error);
    auto mentions = [&text](std::initializer_list<const char *> phrases) {
        for (const char *phrase : phrases) {
            if (text.contains(QLatin1String(phrase), Qt::CaseInsensitive))
                return true;
        }
        return false;
    };
    QString reason;
    if (mentions({"password authentication failed", "authentification par mot de passe", "no password supplied",
                  "role \"", "rôle \""}))
        reason = QStringLiteral("l'utilisateur « %1 » ou son mot de passe est refusé").arg(alias.user);
    else if (mentions({"does not exist", "n'existe pas"}))
        reason = QStringLiteral("la base « %1 » n'existe pas sur ce serveur").arg(alias.database);
    else if (mentions({"could not connect", "connection refused", "connexion refusée", "timeout expired",
                       "could not translate host name", "no route to host", "network is unreachable",
                       "is the server running"}))
        reason = QStringLiteral("le serveur ne répond pas");
    if (reason.isEmpty())
        return text;
    return QStringLiteral("%1 (%2)").arg(reason, text);
}

// How long a copy waits for another's write before it says the base is held.
constexpr int busyTimeoutMs = 10000;
constexpr int sqliteBusy = 5;

// What the physician is told of a failure he can act on: what is wrong and what to do. Other
// failures (a refused value, a rule of the base) keep the engine's own words.
struct StoreFailure
{
    QString what;
    QString whatToDo;
};

// While the base opens nothing has been typed yet: the advice speaks of the screen only afterwards.
std::optional<StoreFailure> storeFailureOf(const QSqlError &error, bool sqlite, bool opening)
{
    const QString again = opening ? QStringLiteral("puis relancez Orvane 2006.")
                                  : QStringLiteral("puis recommencez : ce que vous avez tapé reste à l'écran.");
    const QString restore = opening
        ? QStringLiteral("Remettez la dernière copie de sauvegarde avec orvane-restore (voir le README), puis relancez "
                         "Orvane 2006.")
        : QStringLiteral("Notez ce que vous avez tapé, quittez Orvane 2006 et remettez la dernière copie "
                         "de sauvegarde avec orvane-restore (voir le README).");
    const QString code = error.nativeErrorCode();
    if (sqlite) {
        switch (code.toInt() & 0xFF) {
        case 13: // SQLITE_FULL
            return StoreFailure{QStringLiteral("le disque où elle se trouve est plein"),
                                QStringLiteral("Libérez de la place sur ce disque (corbeille, fichiers dont vous n'avez plus "
                                               "besoin), ") + again};
        case 8: // SQLITE_READONLY
            return StoreFailure{QStringLiteral("elle est en lecture seule"),
                                QStringLiteral("Rendez le fichier de la base et son dossier modifiables, ")
                                    + again};
        case 10: // SQLITE_IOERR
            return StoreFailure{QStringLiteral("le disque où elle se trouve ne répond pas (erreur de lecture ou d'écriture)"),
                                QStringLiteral("Vérifiez ce disque ou ce partage réseau, ") + again};
        case 11: // SQLITE_CORRUPT
        case 26: // SQLITE_NOTADB
            return StoreFailure{QStringLiteral("son fichier est endommagé"), restore};
        case sqliteBusy:
            return StoreFailure{QStringLiteral("un autre poste la tient occupée depuis trop longtemps"),
                                QStringLiteral("Attendez un moment, ") + again};
        default: return std::nullopt;
        }
    }
    const QString serverAdmin = QStringLiteral("Prévenez la personne qui gère le serveur, ") + again;
    if (code == QLatin1String("53100"))
        return StoreFailure{QStringLiteral("le disque du serveur est plein"), serverAdmin};
    if (code == QLatin1String("25006") || code == QLatin1String("42501"))
        return StoreFailure{QStringLiteral("le serveur refuse les modifications"), serverAdmin};
    if (code.startsWith(QLatin1String("XX")))
        return StoreFailure{QStringLiteral("ses fichiers sur le serveur sont endommagés"), serverAdmin};
    return std::nullopt;
}

// libpq fills in whatever a connection leaves unsaid from the PG* variables of the environment: a
// workstation's server, port, user and password come from its alias file alone. Once gone at the
// first connection, at start, there is nothing left to remove.
void forgetServerEnvironment()
{
    const QStringList names = QProcessEnvironment::systemEnvironment().keys();
    for (const QString &name : names) {
        if (name.startsWith(QLatin1String("PG")))
            qunsetenv(name.toLocal8Bit().constData());
    }
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
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    } else {
        forgetServerEnvironment();
        db.setDatabaseName(alias.database);
        db.setHostName(alias.host);
        if (alias.port > 0)
            db.setPort(alias.port);
        db.setUserName(alias.user);
        db.setPassword(alias.password);
        // Settings go with the connection request rather than as statements of their own round trip.
        // Compiling a statement to machine code costs the server a few hundred milliseconds, more
        // than it saves on the program's statements, the practice searches included.
        db.setConnectOptions(
            QStringLiteral("connect_timeout=10;options='-c client_min_messages=warning -c jit=off'"));
    }
    connect();
    try {
        createSchema(programFolder);
    } catch (const Error &error) {
        m_statements.clear();
        connection().close();
        fail(error.message());
    }
    m_opening = false;
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

void Database::connect()
{
    QSqlDatabase db = connection();
    if (!db.open())
        fail(db.lastError());
    try {
        setUpConnection();
    } catch (const Error &error) {
        db.close();
        fail(error.message());
    }
}

void Database::setUpConnection()
{
    QSqlQuery query(connection());
    for (const QString &statement : m_dialect->connectionSetUp()) {
        // Copies opening a new base together each turn it to WAL: one that read it meanwhile is
        // refused at once rather than made to wait, lest the two wait on each other. It tries again.
        const QDeadlineTimer deadline(busyTimeoutMs);
        while (!query.exec(statement)) {
            if (!m_alias.isSqlite() || (query.lastError().nativeErrorCode().toInt() & 0xFF) != sqliteBusy
                || deadline.hasExpired())
                failStatement(query.lastError());
            QThread::msleep(20);
        }
    }
}

void Database::fail(const QSqlError &error) const
{
    fail(connectionFailureReason(error, m_alias));
}

void Database::fail(const QString &reason) const
{
    throw Error(QStringLiteral("La base de données %1 ne peut pas être ouverte : %2")
                    .arg(m_description, reason.trimmed()));
}

void Database::failStatement(const QSqlError &error) const
{
    if (const auto failure = storeFailureOf(error, m_alias.isSqlite(), m_opening)) {
        throw Error(QStringLiteral("La base de données %1 ne peut pas être utilisée : %2.\n\n%3\n\n(%4)")
                        .arg(m_description, failure->what, failure->whatToDo, engineText(error)));
    }
    throw Error(error.text().trimmed());
}

void Database::checkWritable()
{
    if (m_alias.isSqlite()) {
        if (const auto problem = WriteProblem::ofSqliteFile(connection().databaseName()))
            throw problem->startFailure(m_description);
    }
    // What the files do not tell (a server in read-only mode, rights withheld), the engine does: a write
    // of no row, undone.
    const QString remedy = m_alias.isSqlite()
        ? QStringLiteral("Vérifiez les droits du fichier de la base et de son dossier")
        : QStringLiteral("Demandez à la personne qui gère le serveur de permettre les modifications de cette "
                         "base à l'utilisateur « %1 »").arg(m_alias.user);
    Transaction probe(*this, QString(), Transaction::Begin::Now);
    QSqlQuery write(connection());
    if (!write.exec(QStringLiteral("UPDATE %1 SET %2 = %2 WHERE 1 = 0")
                        .arg(SqlDialect::quote(tables::counter), SqlDialect::quote(recordNumberField)))) {
        const auto failure = storeFailureOf(write.lastError(), m_alias.isSqlite(), true);
        const QString reason = failure ? QStringLiteral("%1 (%2)").arg(failure->what, engineText(write.lastError()))
                                       : engineText(write.lastError());
        throw WriteProblem{reason, remedy}.startFailure(m_description);
    }
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QSqlQuery &Database::prepared(const QString &sql)
{
    if (m_disconnected)
        reconnect();
    auto found = m_statements.find(sql);
    if (found != m_statements.end())
        return *found->second;
    auto query = std::make_unique<QSqlQuery>(connection());
    if (!query->prepare(sql)) {
        // A server that went away is noticed here first when the statement is new.
        if (inTransaction() || !connectionLost())
            failStatement(query->lastError());
        reconnect();
        if (!query->prepare(sql))
            failStatement(query->lastError());
    }
    return *m_statements.emplace(sql, std::move(query)).first->second;
}

void Database::run(QSqlQuery &query)
{
    const QVariantList values = query.boundValues();
    // A reconnection prepared the statement again, without its values.
    if (beginPending()) {
        for (const QVariant &value : values)
            query.addBindValue(value);
    }
    if (query.exec())
        return;
    if (inTransaction() || !connectionLost())
        failStatement(query.lastError());
    reconnect();
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        failStatement(query.lastError());
}

void Database::run(const QString &sql)
{
    if (m_disconnected)
        reconnect();
    beginPending();
    QSqlQuery query(connection());
    if (query.exec(sql))
        return;
    if (inTransaction() || !connectionLost())
        failStatement(query.lastError());
    reconnect();
    QSqlQuery again(connection());
    if (!again.exec(sql))
        failStatement(again.lastError());
}

QSqlQuery Database::streamed(const QString &sql, const QVariantList &values)
{
    if (m_disconnected)
        reconnect();
    beginPending();
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    bool ran = false;
    if (m_alias.isSqlite()) {
        ran = query.prepare(sql);
        for (const QVariant &value : values)
            query.addBindValue(value);
        ran = ran && query.exec();
    } else {
        ran = query.exec(withValuesWritten(sql, values, *connection().driver()));
    }
    if (!ran)
        failStatement(query.lastError());
    return query;
}

QString withValuesWritten(const QString &sql, const QVariantList &values, const QSqlDriver &driver)
{
    QString written;
    written.reserve(sql.size());
    QChar quote;
    qsizetype next = 0;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?')) {
            if (next == values.size())
                throw Error(QStringLiteral("la requête attend plus de valeurs que les %1 données").arg(values.size()));
            const QVariant &value = values.at(next++);
            QSqlField field(QString(), value.metaType());
            if (!value.isNull())
                field.setValue(value);
            written += driver.formatValue(field);
            continue;
        }
        written += c;
    }
    if (next != values.size())
        throw Error(QStringLiteral("la requête attend %1 valeurs, et non les %2 données").arg(next).arg(values.size()));
    return written;
}

bool Database::connectionLost()
{
    QSqlQuery probe(connection());
    return !probe.exec(QStringLiteral("SELECT 1"));
}

// The server was restarted or the network cut: a new connection, with every kept statement
// prepared on it again in place, so references held by callers stay good.
void Database::reconnect()
{
    // Until a reconnection succeeds, the next operation tries again first.
    m_disconnected = true;
    ++m_connections;
    for (auto &entry : m_statements)
        *entry.second = QSqlQuery();
    QSqlDatabase db = connection();
    db.close();
    if (!db.open()) {
        throw Error(QStringLiteral("La connexion à la base de données %1 est perdue : %2")
                        .arg(m_description, connectionFailureReason(db.lastError(), m_alias)));
    }
    setUpConnection();
    for (auto &entry : m_statements) {
        *entry.second = QSqlQuery(db);
        if (!entry.second->prepare(entry.first))
            failStatement(entry.second->lastError());
    }
    m_disconnected = false;
}

void Database::onRollback(std::function<void()> undo)
{
    if (inTransaction())
        m_rollbackActions.push_back(std::move(undo));
}

bool Database::beginPending()
{
    if (m_pendingBegin.isEmpty())
        return false;
    const QStringList begin = std::exchange(m_pendingBegin, {});
    const int connections = m_connections;
    // Opening the transaction may still reconnect; what follows belongs to it.
    const int depth = std::exchange(m_transactionDepth, 0);
    try {
        run(begin.first());
    } catch (...) {
        m_transactionDepth = depth;
        throw;
    }
    m_transactionDepth = depth;
    m_begun = true;
    for (int i = 1; i < begin.size(); ++i)
        run(begin.at(i));
    return m_connections != connections;
}

void Database::rollBack()
{
    m_pendingBegin.clear();
    if (std::exchange(m_begun, false)) {
        QSqlQuery rollback(connection());
        rollback.exec(QStringLiteral("ROLLBACK"));
    }
    auto actions = std::move(m_rollbackActions);
    m_rollbackActions.clear();
    for (auto action = actions.rbegin(); action != actions.rend(); ++action)
        (*action)();
}

void Database::createSchema(const QString &programFolder)
{
    // Two workstations opening a new base at once: the lock lets one create, the other then sees it.
    Transaction transaction(*this, QString(), Transaction::Begin::Now);
    for (const QString &statement : m_dialect->lockSchema())
        run(statement);
    const QStringList existing = connection().tables();
    QStringList created;
    QList<TableDef> missing;
    for (const TableDef &table : schema()) {
        if (!existing.contains(table.name))
            missing.append(table);
    }
    // A base of an earlier release gains the tables added since; it is copied whole first.
    if (!missing.isEmpty() && existing.contains(tables::patients))
        writeUpgradeCopy(programFolder, QDateTime::currentDateTime());
    for (const TableDef &table : missing) {
        for (const QString &statement : m_dialect->createStatements(table))
            run(statement);
        created.append(table.name);
    }
    // A table made now has no text yet; a base made by an earlier version gets its indexes at start,
    // after a safety copy (see createSearchIndexes).
    for (const TextIndexDef &index : textIndexes() + resultTextIndexes()) {
        if (!created.contains(index.table))
            continue;
        for (const QString &statement : m_dialect->createTextIndex(index))
            run(statement);
    }
    if (created.contains(tables::results)) {
        for (const QString &statement : createLatestResults(*m_dialect))
            run(statement);
    }
    transaction.commit();
    m_createdTables = created;
}

void Database::writeUpgradeCopy(const QString &programFolder, const QDateTime &now)
{
    const BackupFolder folder = BackupFolder::ofProgram(programFolder);
    try {
        if (m_alias.isSqlite())
            folder.writeSafetyCopy(connection().databaseName(), now, SafetyCopy::BeforeUpgrade);
        else
            folder.writeSafetyCopy(*this, now, SafetyCopy::BeforeUpgrade);
    } catch (const Error &error) {
        throw Error(QStringLiteral("la copie de sécurité qui précède sa mise à jour ne peut pas être écrite dans %1 (%2)")
                        .arg(QDir::toNativeSeparators(folder.path()), error.message()));
    }
}

Database::Transaction::Transaction(Database &db, const QString &exclusiveTable, Begin begin)
    : m_db(db)
    , m_outermost(db.m_transactionDepth == 0)
{
    ++db.m_transactionDepth;
    if (!m_outermost)
        return;
    db.m_begun = false;
    db.m_pendingBegin = exclusiveTable.isEmpty() ? db.m_dialect->beginTransaction()
                                                 : db.m_dialect->beginExclusive(SqlDialect::quote(exclusiveTable));
    if (begin == Begin::Now) {
        try {
            db.beginPending();
        } catch (...) {
            db.m_transactionDepth = 0;
            db.rollBack();
            throw;
        }
    }
}

Database::Transaction::~Transaction()
{
    --m_db.m_transactionDepth;
    if (m_outermost && !m_done)
        m_db.rollBack();
}

void Database::Transaction::commit()
{
    if (m_outermost) {
        m_db.m_pendingBegin.clear();
        if (m_db.m_begun)
            m_db.run(QStringLiteral("COMMIT"));
        m_db.m_begun = false;
        m_db.m_rollbackActions.clear();
    }
    m_done = true;
}

} // namespace orvane::records
