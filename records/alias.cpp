#include "records/alias.h"

#include "platform/error.h"
#include "platform/textlines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace orvane::records {

namespace {

const QStringList knownDrivers = {QStringLiteral("QSQLITE"), QStringLiteral("QPSQL")};
const QStringList knownKeys = {QStringLiteral("Driver"),   QStringLiteral("Database"), QStringLiteral("Host"),
                               QStringLiteral("Port"),     QStringLiteral("User"),     QStringLiteral("Password"),
                               QStringLiteral("Dossiers")};
const QString restartHint = QStringLiteral("\n\nCorrigez le fichier (ou retirez-le pour revenir à la base de ce "
                                           "poste), puis relancez Orvane 2006.");

struct KeyLine
{
    int line = 0;
    QString value;
};

// The section [orvane] of the file, read strictly: a slip in it would otherwise send the practice's
// notes to a base nobody else sees.
class AliasFile
{
public:
    explicit AliasFile(const QString &path)
        : m_path(path)
    {
    }

    void read()
    {
        QFile ini(m_path);
        if (!ini.open(QIODevice::ReadOnly))
            fail(0, QStringLiteral("le fichier ne peut pas être lu (%1).").arg(ini.errorString()));
        // Far larger than any alias file: a stray file is not read through.
        constexpr qint64 largest = 64 * 1024;
        if (ini.size() > largest)
            fail(0, QStringLiteral("ce fichier de %1 octets n'est pas un fichier d'alias (quelques lignes [orvane], "
                                   "Driver=...).").arg(ini.size()));
        QString text = QString::fromUtf8(ini.readAll());
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        const QStringList lines = splitLines(text);
        bool inOrvane = false;
        for (int i = 0; i < lines.size(); ++i)
            readLine(i + 1, lines.at(i).trimmed(), inOrvane);
        if (m_sectionLine == 0)
            fail(0, QStringLiteral("il n'a pas de section [orvane] : sa première ligne doit être [orvane], suivie de "
                                   "Driver=QSQLITE (la base de ce poste) ou Driver=QPSQL (un serveur PostgreSQL)."));
        if (!m_keys.contains(QStringLiteral("Driver")))
            fail(m_sectionLine, QStringLiteral("la section [orvane] n'a pas de ligne Driver= : écrivez Driver=QSQLITE (la "
                                               "base de ce poste) ou Driver=QPSQL (un serveur PostgreSQL)."));
    }

    bool contains(const QString &key) const { return m_keys.contains(key); }
    QString value(const QString &key, const QString &fallback = QString()) const
    {
        return m_keys.contains(key) ? m_keys.value(key).value : fallback;
    }
    [[noreturn]] void failAt(const QString &key, const QString &what) const { fail(m_keys.value(key).line, what); }

private:
    void readLine(int number, const QString &line, bool &inOrvane)
    {
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            return;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            if (name.compare(QLatin1String("orvane"), Qt::CaseInsensitive) != 0)
                fail(number, QStringLiteral("la section [%1] n'est pas connue : le fichier n'a qu'une section, [orvane].")
                                 .arg(shown(name)));
            if (m_sectionLine > 0)
                fail(number, QStringLiteral("la section [orvane] est déjà ouverte ligne %1.").arg(m_sectionLine));
            m_sectionLine = number;
            inOrvane = true;
            return;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            fail(number, QStringLiteral("« %1 » n'est ni une section ([orvane]) ni une clé (Nom=valeur).").arg(shown(line)));
        const QString written = line.left(equals).trimmed();
        QString key;
        for (const QString &known : knownKeys) {
            if (known.compare(written, Qt::CaseInsensitive) == 0)
                key = known;
        }
        if (key.isEmpty())
            fail(number, QStringLiteral("la clé « %1 » n'est pas connue. Les clés sont %2.")
                             .arg(shown(written), knownKeys.join(QLatin1String(", "))));
        if (!inOrvane)
            fail(number, QStringLiteral("la clé %1 est écrite avant la ligne [orvane].").arg(key));
        if (m_keys.contains(key))
            fail(number, QStringLiteral("la clé %1 est déjà écrite ligne %2.").arg(key).arg(m_keys.value(key).line));
        m_keys.insert(key, KeyLine{number, unquoted(line.mid(equals + 1).trimmed())});
    }

    // Values written with quotes (as Qt's settings write some) are read without them.
    static QString unquoted(const QString &value)
    {
        if (value.size() < 2 || !value.startsWith(QLatin1Char('"')) || !value.endsWith(QLatin1Char('"')))
            return value;
        QString plain = value.mid(1, value.size() - 2);
        plain.replace(QLatin1String("\\\""), QLatin1String("\"")).replace(QLatin1String("\\\\"), QLatin1String("\\"));
        return plain;
    }

    // A line as a message shows it: on one line, short.
    static QString shown(const QString &text)
    {
        QString line;
        for (const QChar c : text)
            line += c.isPrint() ? c : QLatin1Char('?');
        return line.size() > 60 ? line.left(60) + QStringLiteral("…") : line;
    }

    [[noreturn]] void fail(int line, const QString &what) const
    {
        const QString where = line > 0
            ? QStringLiteral("Le fichier %1, ligne %2").arg(QDir::toNativeSeparators(m_path)).arg(line)
            : QStringLiteral("Le fichier %1").arg(QDir::toNativeSeparators(m_path));
        throw Error(QStringLiteral("%1 : %2").arg(where, what) + restartHint);
    }

    QString m_path;
    int m_sectionLine = 0;
    QHash<QString, KeyLine> m_keys;
};

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
    AliasFile ini(file);
    ini.read();
    AliasSettings alias;
    alias.driver = ini.value(QStringLiteral("Driver")).toUpper();
    if (!knownDrivers.contains(alias.driver)) {
        ini.failAt(QStringLiteral("Driver"),
                   QStringLiteral("le pilote « %1 » n'est pas connu. Les pilotes connus sont QSQLITE (la base sur ce "
                                  "poste) et QPSQL (un serveur PostgreSQL).")
                       .arg(alias.driver));
    }
    const QString defaultName = alias.isSqlite() ? alias.database : QStringLiteral("orvane");
    alias.database = ini.value(QStringLiteral("Database"), defaultName);
    if (alias.database.isEmpty())
        ini.failAt(QStringLiteral("Database"), QStringLiteral("le nom de la base est vide."));
    alias.host = ini.value(QStringLiteral("Host"));
    const QString port = ini.value(QStringLiteral("Port"));
    if (!port.isEmpty()) {
        bool number = false;
        alias.port = port.toInt(&number);
        if (!number || alias.port < 1 || alias.port > 65535)
            ini.failAt(QStringLiteral("Port"),
                       QStringLiteral("le port « %1 » n'est pas un numéro de port (un nombre de 1 à 65535, 5432 pour "
                                      "PostgreSQL).").arg(port));
    }
    alias.user = ini.value(QStringLiteral("User"));
    alias.password = ini.value(QStringLiteral("Password"));
    const QString shared = ini.value(QStringLiteral("Dossiers"));
    if (!shared.isEmpty()) {
        alias.sharedFolder = QDir(QFileInfo(file).absolutePath()).absoluteFilePath(shared);
        if (!QFileInfo(alias.sharedFolder).isDir() || !QFileInfo(alias.sharedFolder).isWritable())
            ini.failAt(QStringLiteral("Dossiers"),
                       QStringLiteral("le dossier partagé des courriers et examens %1 n'existe pas ou ne peut pas être "
                                      "modifié (partage réseau non monté ?).")
                           .arg(QDir::toNativeSeparators(alias.sharedFolder)));
    }
    if (alias.isSqlite() && ini.contains(QStringLiteral("Database"))) {
        const QString path = alias.sqlitePath(QFileInfo(file).absolutePath());
        const QString folder = QFileInfo(path).absolutePath();
        if (!QFileInfo(folder).isDir()) {
            ini.failAt(QStringLiteral("Database"),
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
