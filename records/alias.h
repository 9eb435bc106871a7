#pragma once

#include <QString>

namespace orvane::records {

// Where the database `orvane` lives: the file "alias.ini" of the program folder, section [orvane];
// without it, the embedded SQLite base "Data/orvane.sqlite" of the program folder.
struct AliasSettings
{
    QString driver = QStringLiteral("QSQLITE");
    QString database = QStringLiteral("Data/orvane.sqlite");
    QString host;
    int port = 0;
    QString user;
    QString password;
    // The folder of letters and results every workstation of the practice mounts ("Dossiers="), as
    // an absolute path; empty when they stay in the program folder.
    QString sharedFolder;

    static AliasSettings load(const QString &programFolder);
    // The section [orvane] of an alias file anywhere. Throws, naming the file and the line, when the
    // driver is not one the program knows or the SQLite base's folder does not exist: the program
    // never opens an empty base anywhere else instead.
    static AliasSettings loadFile(const QString &file);
    static AliasSettings sqliteFile(const QString &path);

    bool isSqlite() const { return driver.compare(QLatin1String("QSQLITE"), Qt::CaseInsensitive) == 0; }
    // The SQLite file as an absolute path (relative names are inside the program folder).
    QString sqlitePath(const QString &programFolder) const;
    // How a message names this base: the file, or the server and database.
    QString describe(const QString &programFolder) const;
};

} // namespace orvane::records
