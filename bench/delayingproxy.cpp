#include "bench/delayingproxy.h"

#include "platform/error.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <deque>

namespace orvane::bench {

namespace {

// One direction of a connection: what was read waits until its time, then is written in order.
class DelayedPipe : public QObject
{
public:
    DelayedPipe(QTcpSocket *to, const std::atomic<qint64> &halfTrip)
        : m_to(to)
        , m_halfTrip(halfTrip)
    {
        m_clock.start();
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &DelayedPipe::release);
    }

    void carry(const QByteArray &data)
    {
        const qint64 delay = m_halfTrip;
        if (delay == 0 && m_waiting.empty()) {
            m_to->write(data);
            return;
        }
        m_waiting.push_back({m_clock.nsecsElapsed() / 1000 + delay, data});
        if (!m_timer.isActive())
            release();
    }

private:
    void release()
    {
        const qint64 now = m_clock.nsecsElapsed() / 1000;
        while (!m_waiting.empty() && m_waiting.front().first <= now) {
            m_to->write(m_waiting.front().second);
            m_waiting.pop_front();
        }
        if (!m_waiting.empty())
            m_timer.start(std::chrono::milliseconds((m_waiting.front().first - now + 999) / 1000));
    }

    QTcpSocket *m_to;
    const std::atomic<qint64> &m_halfTrip;
    QElapsedTimer m_clock;
    QTimer m_timer;
    std::deque<std::pair<qint64, QByteArray>> m_waiting; // due time in microseconds, data
};

} // namespace

// A program's connection and the relay's own to the server.
class ProxyLink : public QObject
{
public:
    ProxyLink(QTcpSocket *client, DelayingProxy &proxy)
        : m_client(client)
        , m_server(new QTcpSocket(this))
        , m_toServer(m_server, proxy.m_halfTrip)
        , m_toClient(client, proxy.m_halfTrip)
        , m_roundTrips(proxy.m_roundTrips)
    {
        client->setParent(this);
        // Nagle's wait would add its own delay to every small message.
        client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(m_server, &QTcpSocket::connected, this, [this] {
            m_server->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            connect(m_client, &QTcpSocket::readyRead, this, &ProxyLink::fromClient);
            fromClient();
        });
        connect(m_server, &QTcpSocket::readyRead, this, [this] {
            m_answered = true;
            m_toClient.carry(m_server->readAll());
        });
        connect(m_client, &QTcpSocket::disconnected, this, &QObject::deleteLater);
        connect(m_server, &QTcpSocket::disconnected, this, &QObject::deleteLater);
        connect(m_server, &QTcpSocket::errorOccurred, this, &QObject::deleteLater);
        m_server->connectToHost(QHostAddress::LocalHost, proxy.m_serverPort);
    }

private:
    void fromClient()
    {
        const QByteArray data = m_client->readAll();
        if (data.isEmpty())
            return;
        if (m_answered) {
            ++m_roundTrips;
            m_answered = false;
        }
        m_toServer.carry(data);
    }

    QTcpSocket *m_client;
    QTcpSocket *m_server;
    DelayedPipe m_toServer;
    DelayedPipe m_toClient;
    // The connection's first message waits for no answer: the server speaks first after it.
    bool m_answered = true;
    std::atomic<qint64> &m_roundTrips;
};

DelayingProxy::DelayingProxy(quint16 serverPort)
    : m_context(std::make_unique<QObject>())
    , m_serverPort(serverPort)
{
    m_context->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_context.get(),
        [this] {
            m_server = new QTcpServer(m_context.get());
            QObject::connect(m_server, &QTcpServer::newConnection, m_server, [this] {
                while (QTcpSocket *client = m_server->nextPendingConnection())
                    (new ProxyLink(client, *this))->setParent(m_server);
            });
            if (m_server->listen(QHostAddress::LocalHost))
                m_port = m_server->serverPort();
        },
        Qt::BlockingQueuedConnection);
    if (m_port == 0) {
        m_thread.quit();
        m_thread.wait();
        throw Error(QStringLiteral("Le relais vers le serveur ne peut pas écouter sur 127.0.0.1"));
    }
}

DelayingProxy::~DelayingProxy()
{
    // The relay's objects go in their own thread.
    QMetaObject::invokeMethod(
        m_context.get(), [this] { delete m_server; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

} // namespace orvane::bench
