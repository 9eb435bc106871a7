#include "import/paradoxwriter.h"

#include "platform/error.h"
#include "records/schema.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

extern "C" {
#include <paradox.h>
}

namespace orvane::import {

namespace {

constexpr long paradoxDayZero = 1721425;

void ignoreMessage(pxdoc_t *, int, const char *, void *) {}

ParadoxWriter &writerOf(pxdoc_t *doc)
{
    return *static_cast<ParadoxWriter *>(doc->errorhandler_user_data);
}

size_t readMemory(ParadoxWriter::MemoryFile &file, size_t count, void *buffer)
{
    const qint64 available = std::clamp<qint64>(file.bytes.size() - file.position, 0, qint64(count));
    std::memcpy(buffer, file.bytes.constData() + file.position, size_t(available));
    file.position += available;
    return size_t(available);
}

size_t writeMemory(ParadoxWriter::MemoryFile &file, size_t count, const void *data)
{
    if (file.position + qint64(count) > file.bytes.size())
        file.bytes.resize(file.position + qint64(count));
    std::memcpy(file.bytes.data() + file.position, data, count);
    file.position += qint64(count);
    return count;
}

int seekMemory(ParadoxWriter::MemoryFile &file, long offset, int whence)
{
    const qint64 base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? file.position : file.bytes.size();
    file.position = std::max<qint64>(0, base + offset);
    return 0;
}

// pxlib's writer seeks back to the header and rewrites it after every row: in memory, not on disk.
size_t readTable(pxdoc_t *doc, pxstream_t *, size_t count, void *buffer) { return readMemory(writerOf(doc).table(), count, buffer); }
size_t writeTable(pxdoc_t *doc, pxstream_t *, size_t count, void *data) { return writeMemory(writerOf(doc).table(), count, data); }
int seekTable(pxdoc_t *doc, pxstream_t *, long offset, int whence) { return seekMemory(writerOf(doc).table(), offset, whence); }
long tellTable(pxdoc_t *doc, pxstream_t *) { return long(writerOf(doc).table().position); }
size_t readMemos(pxblob_t *blob, pxstream_t *, size_t count, void *buffer) { return readMemory(writerOf(blob->pxdoc).memos(), count, buffer); }
size_t writeMemos(pxblob_t *blob, pxstream_t *, size_t count, void *data) { return writeMemory(writerOf(blob->pxdoc).memos(), count, data); }
int seekMemos(pxblob_t *blob, pxstream_t *, long offset, int whence) { return seekMemory(writerOf(blob->pxdoc).memos(), offset, whence); }
long tellMemos(pxblob_t *blob, pxstream_t *) { return long(writerOf(blob->pxdoc).memos().position); }

char typeCode(ParadoxTable::Type type)
{
    switch (type) {
    case ParadoxTable::Type::Alpha: return pxfAlpha;
    case ParadoxTable::Type::Number: return pxfNumber;
    case ParadoxTable::Type::Short: return pxfShort;
    case ParadoxTable::Type::Long: return pxfLong;
    case ParadoxTable::Type::Date: return pxfDate;
    case ParadoxTable::Type::Memo: return pxfMemoBLOb;
    case ParadoxTable::Type::FormattedMemo: return pxfFmtMemoBLOb;
    case ParadoxTable::Type::Other: break;
    }
    return pxfLogical;
}

int fieldLength(const ParadoxWriter::Column &column)
{
    switch (column.type) {
    case ParadoxTable::Type::Alpha: return column.size;
    case ParadoxTable::Type::Number: return 8;
    case ParadoxTable::Type::Short: return 2;
    case ParadoxTable::Type::Long:
    case ParadoxTable::Type::Date: return 4;
    case ParadoxTable::Type::Memo:
    case ParadoxTable::Type::FormattedMemo: return column.size + 10; // the leader, then where the rest lies
    case ParadoxTable::Type::Other: break;
    }
    return 1;
}

} // namespace

QList<ParadoxWriter::Column> ParadoxWriter::columnsOf(const records::TableDef &table)
{
    QList<Column> columns;
    for (const records::FieldDef &field : table.fields) {
        ParadoxTable::Type type = ParadoxTable::Type::Alpha;
        switch (field.type) {
        case records::FieldType::Text: type = ParadoxTable::Type::Alpha; break;
        case records::FieldType::Number: type = ParadoxTable::Type::Number; break;
        case records::FieldType::Short: type = ParadoxTable::Type::Short; break;
        case records::FieldType::Date: type = ParadoxTable::Type::Date; break;
        case records::FieldType::Memo: type = ParadoxTable::Type::Memo; break;
        case records::FieldType::FormattedMemo: type = ParadoxTable::Type::FormattedMemo; break;
        }
        columns.append(Column{field.name, type, field.size});
    }
    return columns;
}

ParadoxWriter::ParadoxWriter(const QString &path, const QList<Column> &columns, int codePage)
    : m_columns(columns)
    , m_encoder((codePage == 1252 ? QByteArrayLiteral("windows-1252") : "IBM" + QByteArray::number(codePage)).constData())
{
    m_doc = PX_new3(ignoreMessage, nullptr, nullptr, nullptr, this);
    auto *fields = static_cast<pxfield_t *>(m_doc->malloc(m_doc, sizeof(pxfield_t) * columns.size(), "fields"));
    for (int i = 0; i < columns.size(); ++i) {
        const QByteArray name = m_encoder.encode(columns.at(i).name);
        fields[i].px_fname = PX_strdup(m_doc, name.constData());
        fields[i].px_ftype = typeCode(columns.at(i).type);
        fields[i].px_flen = fieldLength(columns.at(i));
        fields[i].px_fdc = 0;
    }
    QFile::remove(path);
    if (PX_create_file(m_doc, fields, int(columns.size()), QFile::encodeName(path).constData(), pxfFileTypNonIndexDB) < 0)
        throw Error(QStringLiteral("%1 ne peut pas être écrit").arg(path));
    load(m_table, path, std::ftell(m_doc->px_stream->s.fp));
    m_doc->read = readTable;
    m_doc->write = writeTable;
    m_doc->seek = seekTable;
    m_doc->tell = tellTable;
    PX_set_value(m_doc, "codepage", float(codePage));
    PX_set_tablename(m_doc, QFile::encodeName(QFileInfo(path).completeBaseName()).constData());
    for (const Column &column : columns) {
        if (column.type == ParadoxTable::Type::Memo || column.type == ParadoxTable::Type::FormattedMemo) {
            const QString memos = QFileInfo(path).path() + QLatin1Char('/') + QFileInfo(path).completeBaseName()
                + QStringLiteral(".MB");
            QFile::remove(memos);
            if (PX_set_blob_file(m_doc, QFile::encodeName(memos).constData()) < 0)
                throw Error(QStringLiteral("%1 ne peut pas être écrit").arg(memos));
            pxblob_t *blob = m_doc->px_blob;
            load(m_memos, memos, std::ftell(blob->mb_stream->s.fp));
            blob->read = readMemos;
            blob->write = writeMemos;
            blob->seek = seekMemos;
            blob->tell = tellMemos;
            break;
        }
    }
}

ParadoxWriter::~ParadoxWriter()
{
    PX_close(m_doc);
    PX_delete(m_doc);
    save(m_table);
    save(m_memos);
}

void ParadoxWriter::load(MemoryFile &file, const QString &path, long position)
{
    std::fflush(nullptr);
    QFile written(path);
    if (written.open(QIODevice::ReadOnly))
        file.bytes = written.readAll();
    file.path = path;
    file.position = position;
}

void ParadoxWriter::save(const MemoryFile &file)
{
    if (file.path.isEmpty())
        return;
    QFile written(file.path);
    if (written.open(QIODevice::WriteOnly | QIODevice::Truncate))
        written.write(file.bytes);
}

void ParadoxWriter::append(const QVariantList &values)
{
    QList<QByteArray> texts(m_columns.size());
    QList<pxval_t> cells(m_columns.size());
    QList<pxval_t *> pointers;
    for (int i = 0; i < m_columns.size(); ++i) {
        pxval_t &cell = cells[i];
        std::memset(&cell, 0, sizeof cell);
        cell.type = typeCode(m_columns.at(i).type);
        pointers.append(&cell);
        const QVariant value = values.value(i);
        if (value.isNull()) {
            cell.isnull = 1;
            continue;
        }
        switch (m_columns.at(i).type) {
        case ParadoxTable::Type::Alpha:
        case ParadoxTable::Type::Memo:
        case ParadoxTable::Type::FormattedMemo:
            texts[i] = m_encoder.encode(value.toString());
            cell.value.str.val = texts[i].data();
            cell.value.str.len = int(texts[i].size());
            break;
        case ParadoxTable::Type::Number: cell.value.dval = value.toDouble(); break;
        case ParadoxTable::Type::Date: {
            const QDate date = value.toDate();
            cell.value.lval = date.isValid() ? PX_GregorianToSdn(date.year(), date.month(), date.day()) - paradoxDayZero : 0;
            break;
        }
        default: cell.value.lval = value.toInt(); break;
        }
    }
    if (PX_insert_record(m_doc, pointers.data()) < 0)
        throw Error(QStringLiteral("une ligne n'a pas pu être écrite"));
}

} // namespace orvane::import
