#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

namespace orvane::records {

// A connection of its own to an SQLite file, through the engine's C interface: copies of a base are
// taken with the engine's online backup, which reads one consistent state of the base while the
// program goes on writing to it.
class SqliteFile
{
public:
    enum class Mode { ReadOnly, ReadWrite, Create };

    // Throws with a message naming the file when it cannot be opened in that mode.
    SqliteFile(const QString &path, Mode mode);
    ~SqliteFile();
    SqliteFile(const SqliteFile &) = delete;
    SqliteFile &operator=(const SqliteFile &) = delete;

    QString path() const { return m_path; }

    // Copies the whole base into the file at destination (replacing what it held) and leaves that
    // copy as one self-contained file, without a write-ahead log beside it.
    void copyTo(const QString &destination) const;

    // The engine's own check of every page and index: empty when the file is sound, else what is wrong.
    // The quick check leaves out whether the indexes match their tables.
    QString integrityProblems(bool quick = false) const;
    QStringList tableNames() const;
    // The columns of a table named by the schema.
    QStringList columnNames(const QString &table) const;
    // The first column of the first row of a statement without parameters.
    QString firstValue(const QString &sql) const;

private:
    [[noreturn]] void fail(const QString &what) const;

    QString m_path;
    sqlite3 *m_db = nullptr;
};

} // namespace orvane::records
