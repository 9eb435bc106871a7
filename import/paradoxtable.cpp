#include "import/paradoxtable.h"

#include "platform/error.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QFileInfo>
#include <cstring>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

extern "C" {
#include <paradox.h>
}

namespace orvane::import {

namespace {

// Days between the start of the Julian period and the first day of Paradox dates.
constexpr long paradoxDayZero = 1721425;

void onLibraryMessage(pxdoc_t *, int level, const char *message, void *table)
{
    static_cast<ParadoxTable *>(table)->libraryMessage(level, message);
}

ParadoxTable &tableOf(pxdoc_t *doc)
{
    return *static_cast<ParadoxTable *>(doc->errorhandler_user_data);
}

// pxlib's own reads take a short read for a whole one and go on with what the buffer held before:
// a truncated file must fail instead. Once opened, the files are read from memory, without a
// system call for each of the library's many small reads.
size_t readMapped(ParadoxTable::MappedFile &file, size_t count, void *buffer)
{
    if (file.position < 0 || qint64(count) > file.size - file.position)
        return size_t(-1);
    std::memcpy(buffer, file.bytes + file.position, count);
    file.position += qint64(count);
    return count;
}

int seekMapped(ParadoxTable::MappedFile &file, long offset, int whence)
{
    const qint64 base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? file.position : file.size;
    if (base + offset < 0)
        return -1;
    file.position = base + offset;
    return 0;
}

size_t readTable(pxdoc_t *doc, pxstream_t *, size_t count, void *buffer)
{
    return readMapped(tableOf(doc).table(), count, buffer);
}

int seekTable(pxdoc_t *doc, pxstream_t *, long offset, int whence)
{
    return seekMapped(tableOf(doc).table(), offset, whence);
}

long tellTable(pxdoc_t *doc, pxstream_t *)
{
    return long(tableOf(doc).table().position);
}

size_t readMemos(pxblob_t *blob, pxstream_t *, size_t count, void *buffer)
{
    return readMapped(tableOf(blob->pxdoc).memos(), count, buffer);
}

int seekMemos(pxblob_t *blob, pxstream_t *, long offset, int whence)
{
    return seekMapped(tableOf(blob->pxdoc).memos(), offset, whence);
}

long tellMemos(pxblob_t *blob, pxstream_t *)
{
    return long(tableOf(blob->pxdoc).memos().position);
}

struct TypeInfo
{
    ParadoxTable::Type type;
    const char *name;
};

TypeInfo typeInfo(int code)
{
    switch (code) {
    case pxfAlpha: return {ParadoxTable::Type::Alpha, "alphanumérique"};
    case pxfNumber: return {ParadoxTable::Type::Number, "numérique"};
    case pxfCurrency: return {ParadoxTable::Type::Number, "monétaire"};
    case pxfShort: return {ParadoxTable::Type::Short, "entier court"};
    case pxfLong: return {ParadoxTable::Type::Long, "entier long"};
    case pxfAutoInc: return {ParadoxTable::Type::Long, "auto-incrémenté"};
    case pxfDate: return {ParadoxTable::Type::Date, "date"};
    case pxfMemoBLOb: return {ParadoxTable::Type::Memo, "mémo"};
    case pxfFmtMemoBLOb: return {ParadoxTable::Type::FormattedMemo, "mémo formaté"};
    case pxfLogical: return {ParadoxTable::Type::Other, "logique"};
    case pxfBLOb: return {ParadoxTable::Type::Other, "binaire"};
    case pxfGraphic: return {ParadoxTable::Type::Other, "graphique"};
    case pxfOLE: return {ParadoxTable::Type::Other, "OLE"};
    case pxfTime: return {ParadoxTable::Type::Other, "heure"};
    case pxfTimestamp: return {ParadoxTable::Type::Other, "horodatage"};
    case pxfBCD: return {ParadoxTable::Type::Other, "BCD"};
    case pxfBytes: return {ParadoxTable::Type::Other, "octets"};
    default: return {ParadoxTable::Type::Other, "inconnu"};
    }
}

// The DOS code page of the header as a decoder's name; 0 says nothing.
QByteArray codecName(int codePage)
{
    switch (codePage) {
    case 0:
    case 1252: return QByteArrayLiteral("windows-1252");
    case 437:
    case 850:
    case 852:
    case 858:
    case 863: return QByteArrayLiteral("IBM") + QByteArray::number(codePage);
    default: return QByteArrayLiteral("windows-") + QByteArray::number(codePage);
    }
}

} // namespace

ParadoxTable::ParadoxTable(const QString &path, const QString &memoFile)
    : m_path(path)
{
    readAllRowsApart(memoFile);
    open(memoFile);
}

// On some damaged files pxlib loops for ever (a cycle in the chain of blocks) or overruns its
// buffers: the whole table is first read by a process of its own, whose end or crash says whether
// this one may read it.
void ParadoxTable::readAllRowsApart(const QString &memoFile) const
{
#ifdef Q_OS_UNIX
    std::fflush(nullptr);
    const pid_t reader = fork();
    if (reader == 0) {
        try {
            ParadoxTable table(*this, memoFile);
            for (int row = 0; row < table.rowCount(); ++row)
                table.row(row);
        } catch (const Error &) {
            // Said by the reading that follows in the program itself.
        }
        _exit(0);
    }
    if (reader < 0)
        return;
    // Reading runs at well over ten megabytes a second: far beyond that, the library is stuck.
    const qint64 budget = 20000 + (QFileInfo(m_path).size() + QFileInfo(memoFile).size()) / 2000;
    QElapsedTimer waited;
    waited.start();
    int status = 0;
    while (waitpid(reader, &status, WNOHANG) == 0) {
        if (waited.elapsed() > budget) {
            kill(reader, SIGKILL);
            waitpid(reader, &status, 0);
            fail(QStringLiteral("le fichier est endommagé (sa lecture ne finit pas)"));
        }
        QThread::msleep(5);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        fail(QStringLiteral("le fichier est endommagé (sa lecture fait échouer pxlib)"));
#else
    Q_UNUSED(memoFile);
#endif
}

ParadoxTable::ParadoxTable(const ParadoxTable &probed, const QString &memoFile)
    : m_path(probed.m_path)
{
    open(memoFile);
}

void ParadoxTable::open(const QString &memoFile)
{
    m_file = std::fopen(QFile::encodeName(m_path).constData(), "rb");
    if (!m_file)
        fail(QStringLiteral("le fichier ne peut pas être ouvert"));
    m_doc = PX_new3(onLibraryMessage, nullptr, nullptr, nullptr, this);
    if (!m_doc)
        fail(QStringLiteral("mémoire insuffisante"));
    if (PX_open_fp(m_doc, m_file) < 0)
        fail(QStringLiteral("ce n'est pas une table lisible (%1)").arg(m_libraryError));
    m_tableFile.file.setFileName(m_path);
    map(m_tableFile);
    m_doc->read = readTable;
    m_doc->seek = seekTable;
    m_doc->tell = tellTable;
    const pxhead_t &head = *m_doc->px_head;
    const qint64 blocks = qint64(head.px_headersize) + qint64(head.px_fileblocks) * head.px_maxtablesize * 1024;
    if (m_tableFile.size < blocks)
        fail(QStringLiteral("le fichier est tronqué (%1 octets au lieu de %2)").arg(m_tableFile.size).arg(blocks));
    m_decoder = QStringDecoder(codecName(head.px_doscodepage).constData());
    if (!m_decoder.isValid())
        fail(QStringLiteral("sa page de code %1 n'est pas connue").arg(head.px_doscodepage));
    int offset = 0;
    for (int i = 0; i < head.px_numfields; ++i) {
        const pxfield_t &field = head.px_fields[i];
        const TypeInfo info = typeInfo(field.px_ftype);
        m_fields.append(Field{decoded(field.px_fname, qstrlen(field.px_fname)), info.type,
                              QString::fromUtf8(info.name)});
        m_offsets.append(offset);
        m_lengths.append(field.px_flen);
        offset += field.px_flen;
    }
    if (m_fields.isEmpty() || offset != head.px_recordsize)
        fail(QStringLiteral("la description de ses champs est endommagée"));
    m_rowCount = head.px_numrecords;
    if (m_rowCount < 0 || m_rowCount > head.px_theonumrecords)
        fail(QStringLiteral("le nombre de lignes de son en-tête est endommagé"));
    m_record.resize(head.px_recordsize);
    if (hasMemos())
        attachMemoFile(memoFile);
}

ParadoxTable::~ParadoxTable()
{
    if (m_doc) {
        PX_close(m_doc);
        PX_delete(m_doc);
    }
    delete m_memoStream;
    if (m_file)
        std::fclose(m_file);
}

bool ParadoxTable::hasMemos() const
{
    for (const Field &field : m_fields) {
        if (field.type == Type::Memo || field.type == Type::FormattedMemo)
            return true;
    }
    return false;
}

// pxlib's own opening of a memo file overruns its stack while it lists the file's blocks (a list
// only its writer needs) and aborts the process: the memo file is attached here through the
// library's public blob structure instead, which is all its reading of memos uses.
void ParadoxTable::attachMemoFile(const QString &memoFile)
{
    const QString expected = QFileInfo(m_path).completeBaseName() + QStringLiteral(".MB");
    if (memoFile.isEmpty() || !QFileInfo::exists(memoFile))
        fail(QStringLiteral("le fichier de ses mémos, %1, est introuvable").arg(expected));
    m_memoFile.file.setFileName(memoFile);
    map(m_memoFile);
    pxblob_t *blob = PX_new_blob(m_doc);
    if (!blob)
        fail(QStringLiteral("mémoire insuffisante"));
    m_memoStream = new px_stream{};
    m_memoStream->type = pxfIOFile;
    m_memoStream->mode = pxfFileRead;
    m_memoStream->close = px_false;
    blob->mb_stream = m_memoStream;
    blob->read = readMemos;
    blob->seek = seekMemos;
    blob->tell = tellMemos;
}

void ParadoxTable::map(MappedFile &file)
{
    if (!file.file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("%1 ne peut pas être lu : %2").arg(QFileInfo(file.file).fileName(), file.file.errorString()));
    file.size = file.file.size();
    file.position = 0;
    // An empty file has nothing to map; every read of it fails as a read past its end.
    if (file.size > 0) {
        file.bytes = reinterpret_cast<const char *>(file.file.map(0, file.size));
        if (!file.bytes)
            fail(QStringLiteral("%1 ne peut pas être lu : %2").arg(QFileInfo(file.file).fileName(), file.file.errorString()));
    }
}

void ParadoxTable::libraryMessage(int level, const char *message)
{
    if (level != PX_Warning && m_libraryError.isEmpty())
        m_libraryError = QString::fromLocal8Bit(message).trimmed();
}

void ParadoxTable::fail(const QString &reason) const
{
    throw Error(QStringLiteral("%1 : %2").arg(QFileInfo(m_path).fileName(), reason));
}

QString ParadoxTable::decoded(const char *bytes, qsizetype length)
{
    while (length > 0 && bytes[length - 1] == '\0')
        --length;
    return m_decoder.decode(QByteArrayView(bytes, length));
}

QVariantList ParadoxTable::row(int index)
{
    m_libraryError.clear();
    QVariantList values;
    const bool read = PX_get_record(m_doc, index, m_record.data()) != nullptr;
    for (int i = 0; read && m_libraryError.isEmpty() && i < m_fields.size(); ++i)
        values.append(fieldValue(i, m_record.data() + m_offsets.at(i)));
    if (!read || !m_libraryError.isEmpty())
        throw Error(QStringLiteral("%1, ligne %2 : le fichier est endommagé (pxlib : %3)")
                        .arg(QFileInfo(m_path).fileName())
                        .arg(index + 1)
                        .arg(m_libraryError.isEmpty() ? QStringLiteral("ligne illisible") : m_libraryError));
    return values;
}

QVariant ParadoxTable::fieldValue(int field, char *data)
{
    const int length = m_lengths.at(field);
    switch (m_fields.at(field).type) {
    case Type::Alpha: {
        char *text = nullptr;
        if (PX_get_data_alpha(m_doc, data, length, &text) <= 0 || !text)
            return QVariant();
        const QString value = decoded(text, qstrlen(text));
        m_doc->free(m_doc, text);
        return value.isEmpty() ? QVariant() : QVariant(value);
    }
    case Type::Number: {
        double value = 0;
        return PX_get_data_double(m_doc, data, length, &value) > 0 ? QVariant(value) : QVariant();
    }
    case Type::Short: {
        short value = 0;
        return PX_get_data_short(m_doc, data, length, &value) > 0 ? QVariant(int(value)) : QVariant();
    }
    case Type::Long: {
        long value = 0;
        return PX_get_data_long(m_doc, data, length, &value) > 0 ? QVariant(int(value)) : QVariant();
    }
    case Type::Date: {
        long days = 0;
        if (PX_get_data_long(m_doc, data, length, &days) <= 0 || days <= 0)
            return QVariant();
        int year = 0, month = 0, day = 0;
        PX_SdnToGregorian(days + paradoxDayZero, &year, &month, &day);
        const QDate date(year, month, day);
        return date.isValid() ? QVariant(date) : QVariant();
    }
    case Type::Memo:
    case Type::FormattedMemo: {
        char *memo = nullptr;
        int modification = 0;
        int size = 0;
        if (PX_get_data_blob(m_doc, data, length, &modification, &size, &memo) <= 0 || !memo)
            return QVariant();
        const QString value = decoded(memo, size);
        m_doc->free(m_doc, memo);
        return value.isEmpty() ? QVariant() : QVariant(value);
    }
    case Type::Other: break;
    }
    return QVariant();
}

} // namespace orvane::import
