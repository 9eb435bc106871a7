#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

namespace orvane::app {

// The program's command line. It takes no arguments: --help and --version answer and end the
// program, anything else is refused with a word on how to ask for help.
class CommandLine
{
public:
    // arguments: the program's name first, as QCoreApplication::arguments() gives them.
    explicit CommandLine(const QStringList &arguments);

    static QStringList argumentsOf(int argc, char **argv);

    bool asksForInformation() const;
    bool isRefused() const;
    // The help, the version or the refusal, as printed.
    QString answer() const;
    // Prints the answer, on the error output for a refusal; the program's exit code.
    int respond() const;

private:
    QCommandLineParser m_parser;
    const QCommandLineOption m_help;
    const QCommandLineOption m_version;
    bool m_parsed = false;
};

} // namespace orvane::app
