#include "records/alias.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace orvane::records {

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
