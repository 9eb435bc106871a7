// orvane-restore: lists the copies of the SQLite base kept in "Sauvegardes" and puts one of them back
// in place of the base, after a safety copy of the base as it is.

#include "platform/error.h"
#include "platform/places.h"
#include "platform/privatefiles.h"
#include "records/alias.h"
#include "records/backupfolder.h"
#include "records/baseinuselock.h"
#include "records/baserestore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

using namespace orvane;
using namespace orvane::records;

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Dates as the command takes them, whatever the system's language.
void listCopies(QTextStream &out, const QList<BackupCopy> &copies, const QString &heading)
{
    const QLocale french(QLocale::French, QLocale::France);
    out << heading << '\n';
    if (copies.isEmpty())
        out << "  (aucune)\n";
    for (const BackupCopy &copy : copies) {
        out << "  " << copy.date.toString(QStringLiteral("dd/MM/yyyy")) << "  "
            << french.formattedDataSize(copy.size, 1, QLocale::DataSizeTraditionalFormat).rightJustified(10)
            << "  " << QFileInfo(copy.path).fileName();
        // A damaged copy is no way back: it says so before anyone chooses it.
        const QString problems = baseProblems(copy.path, Check::Quick);
        if (!problems.isEmpty())
            out << "  ENDOMMAGÉE, ne peut pas être restaurée : " << problems;
        out << '\n';
    }
}

void usage(QTextStream &out)
{
    out << "Usage : orvane-restore              montre les copies de la base\n"
           "        orvane-restore <date>       restaure la copie de ce jour (JJ/MM/AAAA)\n"
           "        orvane-restore <fichier>    restaure cette copie\n";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    privatefiles::protect();
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        usage(out);
        return 0;
    }
    const QString programFolder = places::programFolder();
    AliasSettings alias;
    try {
        alias = AliasSettings::load(programFolder);
    } catch (const Error &error) {
        err << error.message() << '\n';
        return 1;
    }
    if (!alias.isSqlite()) {
        err << "La base " << alias.describe(programFolder)
            << " est sur un serveur PostgreSQL : ses copies se font avec pg_dump et se restaurent avec "
               "pg_restore (voir le README).\n";
        return 1;
    }
    const QString basePath = alias.sqlitePath(programFolder);
    const BackupFolder folder = BackupFolder::ofProgram(programFolder);
    // What a copy, restore or import cut short left behind, while no program is at work on the base.
    if (!BaseInUseLock::isHeld(basePath))
        removeCutCopies(basePath, folder);

    if (arguments.isEmpty()) {
        out << "Base : " << native(basePath) << '\n';
        listCopies(out, folder.dailyCopies(), QStringLiteral("Copies de %1 :").arg(native(folder.path())));
        listCopies(out, folder.safetyCopies(), QStringLiteral("Copies de sécurité prises avant une restauration :"));
        out << '\n';
        usage(out);
        return 0;
    }
    if (arguments.size() > 1 || arguments.first().startsWith(QLatin1Char('-'))) {
        usage(err);
        return 2;
    }
    try {
        const QString copy = folder.find(arguments.first());
        const QString safetyCopy = restoreBase(copy, basePath, folder, QDateTime::currentDateTime());
        out << "La base " << native(basePath) << " est maintenant la copie " << native(copy) << ".\n";
        if (!safetyCopy.isEmpty())
            out << "La base d'avant la restauration est gardée dans " << native(safetyCopy) << ".\n";
    } catch (const Error &error) {
        err << error.message() << '\n';
        return 1;
    }
    return 0;
}
