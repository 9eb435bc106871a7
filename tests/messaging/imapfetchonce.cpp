// Fetches the inbox of the test server as the program does and is killed the moment the first
// message's file is written, before that message is marked read: a crash at the worst time.
// Arguments: port, certificate, results folder.

#include "messaging/mailfetch.h"
#include "support/fixedclock.h"

#include <QCoreApplication>

#include <csignal>

using namespace orvane;
using namespace orvane::messaging;

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const test::FixedClock clock;
    const ResultFiler filer(arguments.at(3), [](const HprimIdentity &) { return QList<PatientMatch>{{QStringLiteral("DUPONT Emile"), 1, QString()}}; },
                            [](const QString &) { return std::nullopt; }, clock);
    MailFetch fetch([&](const QByteArray &raw) { return filer.file(raw); });
    fetch.trustCertificates(arguments.at(2));
    QObject::connect(&fetch, &MailFetch::messageFiled, [] { std::raise(SIGKILL); });
    QObject::connect(&fetch, &MailFetch::finished, &application, &QCoreApplication::quit);
    fetch.start({QStringLiteral("127.0.0.1"), arguments.at(1), IncomingServer::tls, QStringLiteral("medecin"),
                 QStringLiteral("secret"), QStringLiteral("non")});
    return application.exec();
}
