// orvane-import: brings the tables of the earlier Windows program (a folder of ".DB" files with
// their ".MB" memo files) into the base of the program, in one transaction.

#include "import/practiceimport.h"
#include "import/terminalprogress.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/places.h"
#include "platform/privatefiles.h"
#include "records/alias.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

using namespace orvane;

namespace {

void usage(QTextStream &out)
{
    out << "Usage : orvane-import [--replace] <dossier>\n"
           "  Importe les tables de l'ancien programme (donnees.db, NUMERO.DB, CONSULT.DB, ARCH.DB...)\n"
           "  trouvées dans <dossier> dans la base d'Orvane 2006.\n"
           "  --replace  remplace une base qui contient déjà des patients (une copie de sécurité en est\n"
           "             prise d'abord)\n";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QTextStream out(stdout);
    QTextStream err(stderr);
    privatefiles::protect();
    QStringList arguments = application.arguments().mid(1);
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        usage(out);
        return 0;
    }
    const bool replace = arguments.removeAll(QStringLiteral("--replace")) > 0;
    if (arguments.size() != 1 || arguments.first().startsWith(QLatin1Char('-'))) {
        usage(err);
        return 2;
    }
    const QString folder = QDir(arguments.first()).absolutePath();
    SystemClock clock;
    import::TerminalProgress progress(out, isatty(fileno(stdout)));
    try {
        const QString programFolder = places::programFolder();
        const records::AliasSettings alias = records::AliasSettings::load(programFolder);
        out << "Importation de " << QDir::toNativeSeparators(folder) << " dans la base "
            << alias.describe(programFolder) << '\n';
        out.flush();
        const import::ImportResult result = import::PracticeImport(folder, alias, programFolder, clock).run(replace, &progress);
        progress.finishLine();
        out << '\n' << result.report.countsText() << '\n';
        if (!result.safetyCopy.isEmpty())
            out << "La base d'avant l'importation est gardée dans " << QDir::toNativeSeparators(result.safetyCopy) << ".\n";
        out << result.report.notes().size() << " remarque(s) ; le rapport est dans "
            << QDir::toNativeSeparators(result.reportPath) << ".\n";
    } catch (const Error &error) {
        progress.finishLine();
        err << error.message() << '\n';
        return 1;
    }
    return 0;
}
