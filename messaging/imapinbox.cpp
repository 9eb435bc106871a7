#include "messaging/imapinbox.h"

#include "platform/conversions.h"
#include "platform/error.h"

#include <QUrl>

#include <curl/curl.h>
#include <mutex>

namespace orvane::messaging {

namespace {

struct Transfer
{
    QByteArray received;
    qint64 largest = 0;
    bool tooLarge = false;
    const std::function<bool()> *cancelled = nullptr;
};

size_t receive(char *data, size_t size, size_t count, void *context)
{
    auto *transfer = static_cast<Transfer *>(context);
    if (transfer->received.size() + qint64(size * count) > transfer->largest) {
        transfer->tooLarge = true;
        return 0;
    }
    transfer->received.append(data, qsizetype(size * count));
    return size * count;
}

int progress(void *context, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto *transfer = static_cast<Transfer *>(context);
    return *transfer->cancelled && (*transfer->cancelled)() ? 1 : 0;
}

template <typename Value>
void set(CURL *curl, CURLoption option, Value value)
{
    curl_easy_setopt(curl, option, value);
}

QString failureMessage(CURLcode code, const IncomingServer &server, const QString &port, const char *detail)
{
    const QString host = server.host;
    switch (code) {
    case CURLE_URL_MALFORMAT:
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("Le serveur de réception « %1 » est introuvable").arg(host);
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("Le serveur de réception « %1 » refuse la connexion sur le port %2").arg(host, port);
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("Le serveur de réception « %1 » ne répond pas").arg(host);
    case CURLE_LOGIN_DENIED:
        return QStringLiteral("Le serveur de réception « %1 » refuse l'identifiant ou le mot de passe").arg(host);
    case CURLE_USE_SSL_FAILED:
        return QStringLiteral("Le serveur de réception « %1 » ne propose pas STARTTLS").arg(host);
    case CURLE_PEER_FAILED_VERIFICATION:
        return QStringLiteral("Le certificat du serveur de réception « %1 » n'est pas reconnu").arg(host);
    case CURLE_SSL_CONNECT_ERROR:
        return QStringLiteral("La connexion sécurisée au serveur de réception « %1 » a échoué").arg(host);
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_PARTIAL_FILE:
        return QStringLiteral("La connexion au serveur de réception « %1 » a été interrompue").arg(host);
    case CURLE_ABORTED_BY_CALLBACK:
        return QStringLiteral("La relève du courrier a été interrompue");
    default:
        return QStringLiteral("La relève du courrier sur « %1 » a échoué : %2")
            .arg(host, QString::fromUtf8(*detail ? detail : curl_easy_strerror(code)));
    }
}

} // namespace

ImapInbox::ImapInbox(const IncomingServer &server, const Limits &limits, std::function<bool()> cancelled)
    : m_server(server)
    , m_limits(limits)
    , m_cancelled(std::move(cancelled))
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    m_curl = curl_easy_init();
    if (!m_curl)
        throw Error(QStringLiteral("La relève du courrier ne peut pas démarrer"));
}

ImapInbox::~ImapInbox()
{
    curl_easy_cleanup(static_cast<CURL *>(m_curl));
}

void ImapInbox::trustCertificates(const QString &pemFile)
{
    m_certificates = pemFile;
}

QString ImapInbox::portText() const
{
    if (m_server.port.trimmed().isEmpty())
        return m_server.security == IncomingServer::startTls ? QStringLiteral("143") : QStringLiteral("993");
    const qint64 port = toWholeNumber(m_server.port);
    if (port < 1 || port > 65535)
        throw Error::notWholeNumber(m_server.port);
    return QString::number(port);
}

std::optional<QByteArray> ImapInbox::perform(const QString &path, const QString &command)
{
    if (m_server.host.trimmed().isEmpty())
        throw Error(QStringLiteral("Aucun serveur de réception n'est indiqué dans les paramètres de messagerie"));
    const QString port = portText();
    const bool startTls = m_server.security == IncomingServer::startTls;
    QUrl url;
    url.setScheme(startTls ? QStringLiteral("imap") : QStringLiteral("imaps"));
    url.setHost(m_server.host.trimmed());
    url.setPort(port.toInt());
    url.setPath(QLatin1Char('/') + path);

    auto *curl = static_cast<CURL *>(m_curl);
    Transfer transfer;
    transfer.largest = m_limits.largestMessage;
    transfer.cancelled = &m_cancelled;
    char detail[CURL_ERROR_SIZE] = {};
    const QByteArray urlText = url.toEncoded();
    const QByteArray user = m_server.user.toUtf8();
    const QByteArray password = m_server.password.toUtf8();
    const QByteArray request = command.toUtf8();
    const QByteArray certificates = m_certificates.toLocal8Bit();
    set(curl, CURLOPT_URL, urlText.constData());
    set(curl, CURLOPT_USERNAME, user.constData());
    set(curl, CURLOPT_PASSWORD, password.constData());
    set(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    set(curl, CURLOPT_CUSTOMREQUEST, request.isEmpty() ? nullptr : request.constData());
    if (!certificates.isEmpty())
        set(curl, CURLOPT_CAINFO, certificates.constData());
    set(curl, CURLOPT_CONNECTTIMEOUT, m_limits.connectSeconds);
    set(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, m_limits.silentSeconds);
    // Less than a byte a second for that long: the server has gone silent.
    set(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    set(curl, CURLOPT_LOW_SPEED_TIME, m_limits.silentSeconds);
    set(curl, CURLOPT_NOSIGNAL, 1L);
    set(curl, CURLOPT_WRITEFUNCTION, receive);
    set(curl, CURLOPT_WRITEDATA, &transfer);
    set(curl, CURLOPT_NOPROGRESS, 0L);
    set(curl, CURLOPT_XFERINFOFUNCTION, progress);
    set(curl, CURLOPT_XFERINFODATA, &transfer);
    set(curl, CURLOPT_ERRORBUFFER, detail);
    const CURLcode code = curl_easy_perform(curl);
    set(curl, CURLOPT_ERRORBUFFER, static_cast<char *>(nullptr));
    if (transfer.tooLarge)
        return std::nullopt;
    if (code != CURLE_OK)
        throw Error(failureMessage(code, m_server, port, detail));
    return transfer.received;
}

QList<quint32> ImapInbox::unreadMessages()
{
    const QByteArray answer = perform(QStringLiteral("INBOX"), QStringLiteral("UID SEARCH UNSEEN")).value_or(QByteArray());
    QList<quint32> uids;
    for (const QByteArray &line : answer.split('\n')) {
        const QList<QByteArray> words = line.trimmed().split(' ');
        if (words.size() < 2 || words.at(0) != "*" || words.at(1).toUpper() != "SEARCH")
            continue;
        for (qsizetype i = 2; i < words.size(); ++i) {
            bool number = false;
            const quint32 uid = words.at(i).toUInt(&number);
            if (number)
                uids.append(uid);
        }
    }
    return uids;
}

std::optional<QByteArray> ImapInbox::message(quint32 uid)
{
    // libcurl fetches the body with BODY[], which marks the message read on the server; it is put
    // back at once so that only a filed message ever counts as read.
    const std::optional<QByteArray> bytes = perform(QStringLiteral("INBOX;UID=%1").arg(uid), QString());
    perform(QStringLiteral("INBOX"), QStringLiteral("UID STORE %1 -FLAGS (\\Seen)").arg(uid));
    return bytes;
}

void ImapInbox::markRead(quint32 uid)
{
    perform(QStringLiteral("INBOX"), QStringLiteral("UID STORE %1 +FLAGS (\\Seen)").arg(uid));
}

} // namespace orvane::messaging
