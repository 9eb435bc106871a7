#include "records/backupfolder.h"

#include "platform/error.h"
#include "records/backupretention.h"
#include "records/database.h"
#include "records/table.h"
#include "records/schema.h"
#include "records/sqlitefile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

namespace orvane::records {

namespace {

const QString dayFormat = QStringLiteral("yyyy-MM-dd");
const QString copySuffix = QStringLiteral(".sqlite");
const QString safetyPrefix = QStringLiteral("avant-restauration-");
const QString upgradePrefix = QStringLiteral("avant-mise-a-jour-");
const QString partSuffix = QStringLiteral(".part");

QList<BackupCopy> copiesMatching(const QString &folder, const QRegularExpression &name)
{
    QList<BackupCopy> copies;
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*") + copySuffix}, QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        const QRegularExpressionMatch match = name.match(file.fileName());
        if (!match.hasMatch())
            continue;
        const QDate date = QDate::fromString(match.captured(1), dayFormat);
        if (date.isValid())
            copies.append(BackupCopy{date, file.absoluteFilePath(), file.size()});
    }
    return copies;
}

QString escapedSuffix()
{
    return QRegularExpression::escape(copySuffix);
}

// The wanted name of a copy, or for n > 1 the same with "-n" before the extension.
QString numberedName(const QString &wanted, int n)
{
    if (n == 1)
        return wanted;
    return wanted.left(wanted.size() - copySuffix.size()) + QStringLiteral("-%1").arg(n) + copySuffix;
}

// Gives the file the first free name: a copy already there (of another running copy, or of a restore
// in the same second) is never replaced.
QString placeUnderFreeName(const QString &from, const QString &wanted)
{
    for (int n = 1;; ++n) {
        const QString name = numberedName(wanted, n);
        // The rename refuses a name that is taken, also when it is taken meanwhile.
        QFile file(from);
        if (file.rename(name))
            return name;
        if (!QFileInfo::exists(name))
            throw Error(QStringLiteral("%1 ne peut pas être écrit : %2").arg(QDir::toNativeSeparators(name), file.errorString()));
    }
}

// The tables and columns of the program that the file lacks: a copy without them would lose what
// they hold without a word.
QStringList missingSchemaParts(const SqliteFile &file, const QStringList &tables)
{
    QStringList missing;
    for (const TableDef &table : schema()) {
        QString stored;
        for (const QString &name : tables) {
            if (name.compare(table.name, Qt::CaseInsensitive) == 0)
                stored = name;
        }
        if (stored.isEmpty()) {
            if (!table.addedLater)
                missing.append(QStringLiteral("la table %1").arg(table.name));
            continue;
        }
        const QStringList columns = file.columnNames(stored);
        for (const FieldDef &field : table.fields) {
            if (!columns.contains(field.name, Qt::CaseInsensitive))
                missing.append(QStringLiteral("la colonne « %1 » de la table %2").arg(field.name, table.name));
        }
    }
    return missing;
}

} // namespace

BackupFolder::BackupFolder(const QString &path)
    : m_path(path)
{
}

BackupFolder BackupFolder::ofProgram(const QString &programFolder)
{
    return BackupFolder(programFolder + QStringLiteral("/Sauvegardes"));
}

QString BackupFolder::dailyCopyPath(const QDate &date) const
{
    return m_path + QLatin1Char('/') + date.toString(dayFormat) + copySuffix;
}

bool BackupFolder::hasDailyCopy(const QDate &date) const
{
    return QFileInfo::exists(dailyCopyPath(date));
}

QList<BackupCopy> BackupFolder::dailyCopies() const
{
    static const QRegularExpression name(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})(-\\d+)?") + escapedSuffix() + QLatin1Char('$'));
    return copiesMatching(m_path, name);
}

QList<BackupCopy> BackupFolder::safetyCopies() const
{
    static const QRegularExpression name(QStringLiteral("^(?:%1|%2)").arg(QRegularExpression::escape(safetyPrefix),
                                                                          QRegularExpression::escape(upgradePrefix))
                                         + QStringLiteral("(\\d{4}-\\d{2}-\\d{2})-\\d{6}.*") + escapedSuffix() + QLatin1Char('$'));
    return copiesMatching(m_path, name);
}

QString BackupFolder::find(const QString &nameOrDate) const
{
    const QString given = nameOrDate.trimmed();
    for (const QString &format : {QStringLiteral("dd/MM/yyyy"), QStringLiteral("d/M/yyyy"), dayFormat}) {
        const QDate date = QDate::fromString(given, format);
        if (date.isValid()) {
            if (hasDailyCopy(date))
                return dailyCopyPath(date);
            throw Error(QStringLiteral("Il n'y a pas de copie du %1 dans %2.")
                            .arg(date.toString(QStringLiteral("dd/MM/yyyy")), QDir::toNativeSeparators(m_path)));
        }
    }
    // Shaped as a date but none the calendar has ("31/02/2026").
    static const QRegularExpression dateShape(QStringLiteral("^(\\d{1,2}/\\d{1,2}/\\d{4}|\\d{4}-\\d{2}-\\d{2})$"));
    if (dateShape.match(given).hasMatch())
        throw Error(QStringLiteral("« %1 » n'est pas une date qui existe.").arg(given));
    for (const QString &candidate : {given, m_path + QLatin1Char('/') + given}) {
        if (!given.isEmpty() && QFileInfo(candidate).isFile())
            return QFileInfo(candidate).absoluteFilePath();
    }
    throw Error(QStringLiteral("Aucune copie ne correspond à « %1 ».").arg(given));
}

void BackupFolder::makeFolder() const
{
    if (!QDir().mkpath(m_path))
        throw Error(QStringLiteral("le dossier %1 ne peut pas être créé").arg(QDir::toNativeSeparators(m_path)));
}

QString BackupFolder::writeCheckedCopy(const QString &basePath, const QString &destination) const
{
    makeFolder();
    // The copy is written under a name of its own and takes its place only once checked, so a copy of
    // that name is always a whole one.
    QTemporaryFile part(m_path + QStringLiteral("/XXXXXX") + partSuffix);
    if (!part.open())
        throw Error(QStringLiteral("%1 : %2").arg(QDir::toNativeSeparators(m_path), part.errorString()));
    part.close();
    {
        const SqliteFile base(basePath, SqliteFile::Mode::ReadOnly);
        base.copyTo(part.fileName());
    }
    const QString problems = baseProblems(part.fileName());
    if (!problems.isEmpty())
        throw Error(QStringLiteral("la copie écrite est fausse : %1").arg(problems));
    return placeUnderFreeName(part.fileName(), destination);
}

QString BackupFolder::writeDailyCopy(const QString &basePath, const QDate &date) const
{
    const QString written = writeCheckedCopy(basePath, dailyCopyPath(date));
    removeExpiredCopies(date);
    return written;
}

QString BackupFolder::safetyCopyStem(const QDateTime &now, SafetyCopy why) const
{
    return m_path + QLatin1Char('/') + (why == SafetyCopy::BeforeRestore ? safetyPrefix : upgradePrefix)
        + now.toString(dayFormat + QStringLiteral("-HHmmss"));
}

QString BackupFolder::writeSafetyCopy(Database &base, const QDateTime &now, SafetyCopy why) const
{
    const QStringList held = base.connection().tables();
    makeFolder();
    QTemporaryFile part(m_path + QStringLiteral("/XXXXXX") + partSuffix);
    if (!part.open())
        throw Error(QStringLiteral("%1 : %2").arg(QDir::toNativeSeparators(m_path), part.errorString()));
    part.close();
    QFile::remove(part.fileName());
    {
        Database copy(AliasSettings::sqliteFile(part.fileName()), m_path);
        Database::Transaction transaction(copy);
        for (const TableDef &table : schema()) {
            if (!held.contains(table.name))
                continue;
            QStringList columns;
            for (const FieldDef &field : table.fields)
                columns.append(SqlDialect::quote(field.name));
            QSqlQuery &rows = base.prepared(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                                .arg(columns.join(QLatin1String(", ")), SqlDialect::quote(table.name),
                                                     SqlDialect::idColumn()));
            base.run(rows);
            Table written(copy, table.name);
            while (rows.next()) {
                QVariantList values;
                for (int i = 0; i < table.fields.size(); ++i)
                    values.append(rows.value(i));
                written.appendRow(values);
            }
            rows.finish();
        }
        transaction.commit();
    }
    const QString problems = baseProblems(part.fileName());
    if (!problems.isEmpty())
        throw Error(QStringLiteral("la copie écrite est fausse : %1").arg(problems));
    for (const QString &journal : {QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(part.fileName() + journal);
    const QString written = placeUnderFreeName(part.fileName(), safetyCopyStem(now, why) + copySuffix);
    removeExpiredSafetyCopies(now.date());
    return written;
}

QString BackupFolder::writeSafetyCopy(const QString &basePath, const QDateTime &now, SafetyCopy why) const
{
    const QString stem = safetyCopyStem(now, why);
    const QString destination = stem + copySuffix;
    QString written;
    try {
        written = writeCheckedCopy(basePath, destination);
    } catch (const Error &) {
        if (!QFileInfo::exists(basePath))
            throw;
        written = keepFilesOf(basePath, stem + QStringLiteral("-endommagee") + copySuffix);
    }
    removeExpiredSafetyCopies(now.date());
    return written;
}

QString BackupFolder::keepFilesOf(const QString &basePath, const QString &wanted) const
{
    makeFolder();
    const QStringList suffixes = {QString(), QStringLiteral("-wal"), QStringLiteral("-journal")};
    QString free;
    for (int n = 1; free.isEmpty(); ++n) {
        free = numberedName(wanted, n);
        for (const QString &suffix : suffixes) {
            if (QFileInfo::exists(free + suffix))
                free.clear();
        }
    }
    for (const QString &suffix : suffixes) {
        QFile source(basePath + suffix);
        if (!source.exists())
            continue;
        // The copy refuses a name that is taken.
        if (!source.copy(free + suffix))
            throw Error(QStringLiteral("%1 ne peut pas être copié dans %2 : %3")
                            .arg(QDir::toNativeSeparators(source.fileName()),
                                 QDir::toNativeSeparators(m_path), source.errorString()));
    }
    return free;
}

void BackupFolder::removeExpiredCopies(const QDate &today) const
{
    const QList<BackupCopy> copies = dailyCopies();
    QList<QDate> dates;
    for (const BackupCopy &copy : copies)
        dates.append(copy.date);
    const QSet<QDate> keep = backupsToKeep(dates, today);
    for (const BackupCopy &copy : copies) {
        if (!keep.contains(copy.date))
            QFile::remove(copy.path);
    }
    removeAbandonedParts(QDateTime::currentDateTime());
}

void BackupFolder::removeAbandonedParts(const QDateTime &now) const
{
    // Counted in hours, not calendar days: a part another running copy wrote at 23:59 is still its
    // own at midnight.
    constexpr qint64 dayInSeconds = 24 * 3600;
    const QFileInfoList parts = partFiles();
    for (const QFileInfo &part : parts) {
        if (part.lastModified().secsTo(now) >= dayInSeconds)
            QFile::remove(part.absoluteFilePath());
    }
}

QFileInfoList BackupFolder::partFiles() const
{
    QStringList patterns;
    for (const QString &journal : journalSuffixes())
        patterns.append(QStringLiteral("*") + partSuffix + journal);
    return QDir(m_path).entryInfoList(patterns, QDir::Files);
}

void BackupFolder::removeExpiredSafetyCopies(const QDate &today) const
{
    const QList<BackupCopy> copies = safetyCopies();
    QList<QDate> dates;
    for (const BackupCopy &copy : copies)
        dates.append(copy.date);
    const QList<bool> keep = safetyCopiesToKeep(dates, today);
    for (int i = 0; i < copies.size(); ++i) {
        if (keep.at(i))
            continue;
        for (const QString &journal : journalSuffixes())
            QFile::remove(copies.at(i).path + journal);
    }
}

const QStringList &journalSuffixes()
{
    static const QStringList suffixes = {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")};
    return suffixes;
}

QString baseProblems(const QString &path, Check check)
{
    try {
        const SqliteFile file(path, SqliteFile::Mode::ReadOnly);
        const QString problems = file.integrityProblems(check == Check::Quick);
        if (!problems.isEmpty())
            return QStringLiteral("le fichier est endommagé (%1)").arg(problems);
        const QStringList tables = file.tableNames();
        if (!tables.contains(tables::patients, Qt::CaseInsensitive))
            return QStringLiteral("ce n'est pas une base d'Orvane 2006 (la table %1 manque)").arg(tables::patients);
        const QStringList missing = missingSchemaParts(file, tables);
        if (!missing.isEmpty())
            return QStringLiteral("ce n'est pas une base entière d'Orvane 2006 (il lui manque %1)")
                .arg(missing.join(QLatin1String(", ")));
        return QString();
    } catch (const Error &error) {
        return QStringLiteral("le fichier n'est pas une base lisible (%1)").arg(error.message());
    }
}

} // namespace orvane::records
