#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSslCertificate>
#include <QSslKey>
#include <QTcpServer>

class QSslSocket;

namespace orvane::test {

// An SMTP server of the tests' own on 127.0.0.1: it answers each command from a table of replies
// (the whole line first, then its first word) and records every line it receives, message data
// included, so a test can compare the client's exact dialogue.
class ScriptedSmtpPeer : public QTcpServer
{
    Q_OBJECT

public:
    ScriptedSmtpPeer();

    quint16 port() const { return serverPort(); }

    // What the peer says; an empty greeting means a peer that never answers anything.
    QByteArray greeting = "220 peer.test ESMTP\r\n";
    QMap<QByteArray, QByteArray> replies;
    // A line beginning with this makes the peer hang up instead of answering.
    QByteArray hangUpOn;
    bool hangUpAtOnce = false;
    // When set, "STARTTLS" is answered with 220 and the peer's side of TLS starts.
    QSslCertificate certificate;
    QSslKey privateKey;

    QList<QByteArray> received;   // every line, without its CR LF
    QByteArray messageData;       // the bytes between the 354 reply and the final "."
    bool encryptedAfterStartTls = false;
    int connections = 0;

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    enum class Mode { Commands, AuthUser, AuthPassword, Data };
    void readLines();
    bool hangingUp();
    void answer(const QByteArray &line);
    QByteArray replyFor(const QByteArray &line, const QByteArray &fallback) const;

    QSslSocket *m_socket = nullptr;
    QByteArray m_buffer;
    Mode m_mode = Mode::Commands;
};

} // namespace orvane::test
