#pragma once

#include "import/paradoxtable.h"

#include <QList>
#include <QString>
#include <QStringEncoder>
#include <QVariant>

struct px_doc;

namespace orvane::records {
struct TableDef;
}

namespace orvane::import {

// Writes a table in the earlier program's format (with its memo file) through pxlib's own writer,
// as that program left them: for the tests and the benchmark, which need such files to import.
class ParadoxWriter
{
public:
    struct Column
    {
        QString name;
        ParadoxTable::Type type = ParadoxTable::Type::Alpha; // Other: a logical field
        int size = 0; // characters of a text, in-record size of a memo
    };

    // The columns of a table of the program, with the types and sizes the earlier program declared.
    static QList<Column> columnsOf(const records::TableDef &table);

    // Creates `path` and, when a column is a memo, the memo file beside it. Throws on failure.
    ParadoxWriter(const QString &path, const QList<Column> &columns, int codePage = 1252);
    ~ParadoxWriter();
    ParadoxWriter(const ParadoxWriter &) = delete;
    ParadoxWriter &operator=(const ParadoxWriter &) = delete;

    // One row: QString for texts and memos, numbers, QDate for dates (an int 0 writes the date 0);
    // a null value leaves the field empty.
    void append(const QVariantList &values);

    // A file pxlib writes, kept in memory until the table is closed.
    struct MemoryFile
    {
        QString path;
        QByteArray bytes;
        qint64 position = 0;
    };
    MemoryFile &table() { return m_table; }
    MemoryFile &memos() { return m_memos; }

private:
    static void load(MemoryFile &file, const QString &path, long position);
    static void save(const MemoryFile &file);

    px_doc *m_doc = nullptr;
    MemoryFile m_table;
    MemoryFile m_memos;
    QList<Column> m_columns;
    QStringEncoder m_encoder;
};

} // namespace orvane::import
