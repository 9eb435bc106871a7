#pragma once

#include <QFile>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QVariant>
#include <cstdio>
#include <memory>

struct px_doc;
struct px_stream;

namespace orvane::import {

// One table of the earlier program's files: the ".DB" file, its memos in the ".MB" file beside it,
// read through pxlib. Texts come decoded from the table's code page (Windows-1252 when the header
// names none). Whatever pxlib reports about a damaged or truncated file is thrown with the file's
// name and the row; nothing of it ends the process.
class ParadoxTable
{
public:
    enum class Type { Alpha, Number, Short, Long, Date, Memo, FormattedMemo, Other };
    struct Field
    {
        QString name;
        Type type = Type::Other;
        QString typeName; // as a message names it
    };

    // `memoFile` may be empty when the table has no memo field. Throws when the file cannot be read.
    ParadoxTable(const QString &path, const QString &memoFile);
    ~ParadoxTable();
    ParadoxTable(const ParadoxTable &) = delete;
    ParadoxTable &operator=(const ParadoxTable &) = delete;

    QString path() const { return m_path; }
    int rowCount() const { return m_rowCount; }
    const QList<Field> &fields() const { return m_fields; }
    bool hasMemos() const;

    // The values of a row (from 0) in the order of the fields: texts and memos as QString, numbers
    // as double, shorts and longs as int, dates as QDate; an empty field (a date of 0 too) is null.
    QVariantList row(int index);

    // Called by pxlib for each of its messages.
    void libraryMessage(int level, const char *message);

    // A file pxlib reads, from memory once opened.
    struct MappedFile
    {
        QFile file;
        const char *bytes = nullptr;
        qint64 size = 0;
        qint64 position = 0;
    };
    MappedFile &table() { return m_tableFile; }
    MappedFile &memos() { return m_memoFile; }

private:
    // The same table opened again, without reading it apart first.
    ParadoxTable(const ParadoxTable &probed, const QString &memoFile);
    [[noreturn]] void fail(const QString &reason) const;
    void open(const QString &memoFile);
    void readAllRowsApart(const QString &memoFile) const;
    void map(MappedFile &file);
    void attachMemoFile(const QString &memoFile);
    QString decoded(const char *bytes, qsizetype length);
    QVariant fieldValue(int field, char *data);

    QString m_path;
    px_doc *m_doc = nullptr;
    std::FILE *m_file = nullptr;
    MappedFile m_tableFile;
    MappedFile m_memoFile;
    px_stream *m_memoStream = nullptr;
    QList<Field> m_fields;
    QList<int> m_lengths;
    QList<int> m_offsets;
    QByteArray m_record;
    int m_rowCount = 0;
    QStringDecoder m_decoder;
    QString m_libraryError;
};

} // namespace orvane::import
