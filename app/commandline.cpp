#include "app/commandline.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace orvane::app {

CommandLine::CommandLine(const QStringList &arguments)
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Affiche cette aide."))
    , m_version({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Affiche la version du programme."))
{
    m_parser.setApplicationDescription(
        QStringLiteral("Orvane 2006 : les dossiers des patients et les documents de la consultation du médecin généraliste."));
    // Single-dash words stay whole, so that Qt's own options such as -reverse are never read as -v.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
    m_parsed = m_parser.parse(arguments);
}

QStringList CommandLine::argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

bool CommandLine::asksForInformation() const
{
    return m_parser.isSet(m_help) || m_parser.isSet(m_version);
}

bool CommandLine::isRefused() const
{
    return !asksForInformation() && (!m_parsed || !m_parser.positionalArguments().isEmpty());
}

QString CommandLine::answer() const
{
    const QString program = QCoreApplication::applicationName();
    if (m_parser.isSet(m_help))
        return m_parser.helpText();
    if (m_parser.isSet(m_version))
        return QStringLiteral("%1 %2\n").arg(program, QStringLiteral(ORVANE_VERSION));
    if (!isRefused())
        return {};
    const QStringList unknown = m_parser.unknownOptionNames();
    const QString refusal = unknown.isEmpty()
        ? QStringLiteral("argument inattendu : %1").arg(m_parser.positionalArguments().join(QLatin1Char(' ')))
        : QStringLiteral("option inconnue : %1").arg(unknown.join(QStringLiteral(", ")));
    return QStringLiteral("%1 : %2\nVoir « %1 --help ».\n").arg(program, refusal);
}

int CommandLine::respond() const
{
    std::fputs(answer().toLocal8Bit().constData(), isRefused() ? stderr : stdout);
    return isRefused() ? EXIT_FAILURE : EXIT_SUCCESS;
}

} // namespace orvane::app
