#include "prescribing/printqueue.h"

#include "platform/error.h"

#ifdef ORVANE_WITH_CUPS
#include <cerrno>
#include <cstring>
#include <cups/cups.h>
#endif

namespace orvane::prescribing::printqueue {

#ifdef ORVANE_WITH_CUPS

namespace {

Error queueError(const QString &printerName, const QString &what, const QString &systemMessage)
{
    QString message = QStringLiteral("L'imprimante « %1 » %2").arg(printerName, what);
    if (!systemMessage.isEmpty())
        message += QStringLiteral(" : ") + systemMessage;
    return Error(message);
}

QString lastSystemMessage()
{
    return QString::fromLocal8Bit(cupsLastErrorString());
}

} // namespace

void checkReady(const QString &printerName)
{
    // Qt names a printer's instance as "printer/instance".
    const QByteArray name = printerName.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    const QByteArray instance = printerName.section(QLatin1Char('/'), 1).toLocal8Bit();
    // The print service itself first: "no such printer" would hide a server that is down.
    http_t *server = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 10000, nullptr);
    if (!server) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        throw queueError(printerName,
                         QStringLiteral("ne répond pas, le service d'impression (%1) est injoignable")
                             .arg(QString::fromLocal8Bit(cupsServer())),
                         reason);
    }
    cups_dest_t *dest = cupsGetNamedDest(server, name.constData(), instance.isEmpty() ? nullptr : instance.constData());
    httpClose(server);
    if (!dest)
        throw queueError(printerName, QStringLiteral("est introuvable"), lastSystemMessage());
    const auto option = [dest](const char *key) {
        return QString::fromUtf8(cupsGetOption(key, dest->num_options, dest->options));
    };
    const bool refusing = option("printer-is-accepting-jobs") == QLatin1String("false");
    const bool stopped = option("printer-state") == QString::number(IPP_PSTATE_STOPPED);
    QString reasons = option("printer-state-reasons");
    if (reasons == QLatin1String("none"))
        reasons.clear();
    cupsFreeDests(1, dest);
    if (refusing)
        throw queueError(printerName, QStringLiteral("refuse les impressions"), reasons);
    if (stopped)
        throw queueError(printerName, QStringLiteral("est arrêtée"), reasons);
}

void checkJobTaken(const QString &printerName)
{
    // The job was handed over by the last request of this thread, whose status libcups keeps.
    if (cupsLastError() >= IPP_STATUS_ERROR_BAD_REQUEST)
        throw queueError(printerName, QStringLiteral("a refusé l'impression"), lastSystemMessage());
}

#else

// Elsewhere the printing system reports a refused job through Qt itself.
void checkReady(const QString &) {}
void checkJobTaken(const QString &) {}

#endif

} // namespace orvane::prescribing::printqueue
