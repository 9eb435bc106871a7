#include "records/alias.h"

#include "platform/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace orvane::records {

namespace {

const QStringList knownDrivers = {QStringLiteral("QSQLITE"), QStringLiteral("QPSQL")};

// The line (from 1) of the key in the section [orvane]; 0 when it is not written there.
int lineOfKey(const QString &file, const QString &key)
{
    QFile ini(file);
    if (!ini.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    static const QRegularExpression section(QStringLiteral("^\\s*\\[(.*)\\]"));
    const QRegularExpression keyLine(QStringLiteral("^\\s*") + QRegularExpression::escape(key) + QStringLiteral("\\s*="),
                                     QRegularExpression::CaseInsensitiveOption);
    bool inOrvane = false;
    int number = 0;
    while (!ini.atEnd()) {
        const QString line = QString::fromUtf8(ini.readLine());
        ++number;
        const QRegularExpressionMatch header = section.match(line);
        if (header.hasMatch())
            inOrvane = header.captured(1).trimmed().compare(QLatin1String("orvane"), Qt::CaseInsensitive) == 0;
        else if (inOrvane && keyLine.match(line).hasMatch())
            return number;
    }
    return 0;
}

[[noreturn]] void failAt(const QString &file, const QString &key, const QString &what)
{
    const int line = lineOfKey(file, key);
    const QString where = line > 0 ? QStringLiteral("Le fichier %1, ligne %2").arg(QDir::toNativeSeparators(file)).arg(line)
                                   : QStringLiteral("Le fichier %1").arg(QDir::toNativeSeparators(file));
    throw Error(QStringLiteral("%1 : %2\n\nCorrigez cette ligne (ou retirez le fichier pour revenir à la base "
                               "de ce poste), puis relancez Orvane 2006.")
                    .arg(where, what));
}

} // namespace

AliasSettings AliasSettings::load(const QString &programFolder)
{
    const QString file = programFolder + QStringLiteral("/alias.ini");
    if (!QFileInfo::exists(file))
        return AliasSettings();
    return loadFile(file);
}

AliasSettings AliasSettings::loadFile(const QString &file)
{
    AliasSettings alias;
    QSettings ini(file, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("orvane"));
    alias.driver = ini.value(QStringLiteral("Driver"), alias.driver).toString().trimmed().toUpper();
    const QString defaultName = alias.isSqlite() ? alias.database : QStringLiteral("orvane");
    alias.database = ini.value(QStringLiteral("Database"), defaultName).toString();
    alias.host = ini.value(QStringLiteral("Host")).toString();
    alias.port = ini.value(QStringLiteral("Port")).toInt();
    alias.user = ini.value(QStringLiteral("User")).toString();
    alias.password = ini.value(QStringLiteral("Password")).toString();
    if (!knownDrivers.contains(alias.driver)) {
        failAt(file, QStringLiteral("Driver"),
               QStringLiteral("le pilote « %1 » n'est pas connu. Les pilotes connus sont QSQLITE (la base sur ce "
                              "poste) et QPSQL (un serveur PostgreSQL).")
                   .arg(alias.driver));
    }
    if (alias.isSqlite() && ini.contains(QStringLiteral("Database"))) {
        const QString path = alias.sqlitePath(QFileInfo(file).absolutePath());
        const QString folder = QFileInfo(path).absolutePath();
        if (!QFileInfo(folder).isDir()) {
            failAt(file, QStringLiteral("Database"),
                   QStringLiteral("la base %1 n'est pas là où il le dit : le dossier %2 n'existe pas (disque ou "
                                  "partage réseau absent ?).")
                       .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(folder)));
        }
    }
    return alias;
}

AliasSettings AliasSettings::sqliteFile(const QString &path)
{
    AliasSettings alias;
    alias.database = path;
    return alias;
}

QString AliasSettings::sqlitePath(const QString &programFolder) const
{
    return QDir(programFolder).absoluteFilePath(database);
}

QString AliasSettings::describe(const QString &programFolder) const
{
    if (isSqlite())
        return QDir::toNativeSeparators(sqlitePath(programFolder));
    const QString server = host.isEmpty() ? QStringLiteral("localhost") : host;
    return QStringLiteral("%1 sur le serveur %2%3")
        .arg(database, server, port > 0 ? QStringLiteral(":%1").arg(port) : QString());
}

} // namespace orvane::records
