#pragma once

#include <QObject>
#include <QThread>
#include <atomic>
#include <chrono>
#include <memory>

class QTcpServer;

namespace orvane::bench {

// A TCP relay on loopback between the program and its database server, which holds the data of
// each direction back by half the round trip of a network at that distance, and counts the round
// trips: each time the program speaks again after the server answered. It runs in a thread of its
// own, so the program's blocking calls wait for it as they would for a real network.
class DelayingProxy
{
public:
    explicit DelayingProxy(quint16 serverPort);
    ~DelayingProxy();
    DelayingProxy(const DelayingProxy &) = delete;
    DelayingProxy &operator=(const DelayingProxy &) = delete;

    quint16 port() const { return m_port; }
    void setRoundTrip(std::chrono::milliseconds roundTrip) { m_halfTrip = roundTrip.count() * 1000 / 2; }
    qint64 roundTrips() const { return m_roundTrips; }

private:
    friend class ProxyLink;

    QThread m_thread;
    std::unique_ptr<QObject> m_context; // lives in m_thread, as the server and its links do
    QTcpServer *m_server = nullptr;
    quint16 m_serverPort;
    quint16 m_port = 0;
    std::atomic<qint64> m_halfTrip{0}; // microseconds
    std::atomic<qint64> m_roundTrips{0};
};

} // namespace orvane::bench
