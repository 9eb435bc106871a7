#include "records/sqlitefile.h"

#include "platform/error.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace orvane::records {

namespace {

// How long a copy waits for a writer that holds the base (the program's own connections wait as long).
constexpr int busyTimeoutMs = 10000;

int openFlags(SqliteFile::Mode mode)
{
    switch (mode) {
    case SqliteFile::Mode::ReadOnly: return SQLITE_OPEN_READONLY;
    case SqliteFile::Mode::ReadWrite: return SQLITE_OPEN_READWRITE;
    case SqliteFile::Mode::Create: return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    }
    return SQLITE_OPEN_READONLY;
}

QString engineMessage(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// A statement run to its end, its rows' first column collected; throws the engine's message.
QStringList firstColumn(sqlite3 *db, const QString &sql, int maxRows = -1)
{
    sqlite3_stmt *statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK)
        throw Error(engineMessage(db));
    QStringList values;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (maxRows < 0 || values.size() < maxRows)
            values.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0))));
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE)
        throw Error(engineMessage(db));
    return values;
}

} // namespace

SqliteFile::SqliteFile(const QString &path, Mode mode)
    : m_path(path)
{
    // Opening read-only must not create a missing file; the engine would report it only at the first read.
    if (mode != Mode::Create && !QFile::exists(path))
        throw Error(QStringLiteral("Le fichier %1 n'existe pas").arg(QDir::toNativeSeparators(path)));
    const QByteArray name = QFile::encodeName(path);
    const int rc = sqlite3_open_v2(name.constData(), &m_db, openFlags(mode), nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = m_db ? engineMessage(m_db) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(m_db);
        m_db = nullptr;
        fail(reason);
    }
    sqlite3_busy_timeout(m_db, busyTimeoutMs);
}

SqliteFile::~SqliteFile()
{
    sqlite3_close(m_db);
}

void SqliteFile::fail(const QString &what) const
{
    throw Error(QStringLiteral("%1 : %2").arg(QDir::toNativeSeparators(m_path), what));
}

void SqliteFile::copyTo(const QString &destination) const
{
    SqliteFile target(destination, Mode::Create);
    sqlite3_backup *backup = sqlite3_backup_init(target.m_db, "main", m_db, "main");
    if (!backup)
        target.fail(engineMessage(target.m_db));
    // One step for the whole base: it is read in one transaction, so the copy is one committed state
    // even while another connection writes (a write-ahead log lets writers go on meanwhile).
    int rc;
    int busyRetries = 0;
    while ((rc = sqlite3_backup_step(backup, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        if (++busyRetries > busyTimeoutMs / 100)
            break;
        sqlite3_sleep(100);
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        const QString reason = QString::fromUtf8(sqlite3_errstr(rc));
        target.fail(reason);
    }
    const QStringList mode = firstColumn(target.m_db, QStringLiteral("PRAGMA journal_mode=DELETE"));
    if (mode.value(0).compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
        target.fail(QStringLiteral("le journal de la copie ne peut pas être refermé"));
}

QString SqliteFile::integrityProblems(bool quick) const
{
    try {
        const QStringList rows = firstColumn(m_db, quick ? QStringLiteral("PRAGMA quick_check") : QStringLiteral("PRAGMA integrity_check"), 5);
        if (rows.size() == 1 && rows.first() == QLatin1String("ok"))
            return QString();
        return rows.isEmpty() ? QStringLiteral("la vérification n'a rien rendu") : rows.join(QStringLiteral("; "));
    } catch (const Error &error) {
        return error.message();
    }
}

QStringList SqliteFile::tableNames() const
{
    try {
        return firstColumn(m_db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    } catch (const Error &error) {
        fail(error.message());
    }
}

QStringList SqliteFile::columnNames(const QString &table) const
{
    QString literal = table;
    literal.replace(QLatin1Char('\''), QLatin1String("''"));
    try {
        return firstColumn(m_db, QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(literal));
    } catch (const Error &error) {
        fail(error.message());
    }
}

QString SqliteFile::firstValue(const QString &sql) const
{
    try {
        return firstColumn(m_db, sql, 1).value(0);
    } catch (const Error &error) {
        fail(error.message());
    }
}

} // namespace orvane::records
