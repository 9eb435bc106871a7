#include "scriptedsmtppeer.h"

#include <QSslSocket>

namespace orvane::test {

ScriptedSmtpPeer::ScriptedSmtpPeer()
{
    listen(QHostAddress::LocalHost, 0);
}

void ScriptedSmtpPeer::incomingConnection(qintptr descriptor)
{
    ++connections;
    m_socket = new QSslSocket(this);
    m_socket->setSocketDescriptor(descriptor);
    m_mode = Mode::Commands;
    m_buffer.clear();
    if (hangUpAtOnce) {
        m_socket->disconnectFromHost();
        return;
    }
    connect(m_socket, &QSslSocket::readyRead, this, &ScriptedSmtpPeer::readLines);
    connect(m_socket, &QSslSocket::encrypted, this, [this] { encryptedAfterStartTls = true; });
    m_socket->write(greeting);
}

void ScriptedSmtpPeer::readLines()
{
    if (!m_socket)
        return;
    m_buffer += m_socket->readAll();
    if (hangingUp())
        return;
    qsizetype end;
    while (m_socket && (end = m_buffer.indexOf("\r\n")) >= 0 && !hangingUp()) {
        const QByteArray line = m_buffer.left(end);
        m_buffer.remove(0, end + 2);
        received.append(line);
        answer(line);
    }
}

// Checked on the raw bytes too, so that bytes without any line break (a TLS handshake) count.
bool ScriptedSmtpPeer::hangingUp()
{
    if (hangUpOn.isEmpty() || !m_buffer.startsWith(hangUpOn))
        return false;
    m_socket->disconnectFromHost();
    m_socket = nullptr;
    return true;
}

QByteArray ScriptedSmtpPeer::replyFor(const QByteArray &line, const QByteArray &fallback) const
{
    if (replies.contains(line))
        return replies.value(line);
    const QByteArray verb = line.split(' ').first().split(':').first().toUpper();
    return replies.value(verb, fallback);
}

void ScriptedSmtpPeer::answer(const QByteArray &line)
{
    if (greeting.isEmpty())
        return;
    switch (m_mode) {
    case Mode::Data:
        if (line == ".") {
            m_mode = Mode::Commands;
            m_socket->write(replyFor("<end of data>", "250 queued\r\n"));
        } else {
            messageData += line + "\r\n";
        }
        return;
    case Mode::AuthUser:
        m_mode = Mode::AuthPassword;
        m_socket->write(replyFor("<user>", "334 UGFzc3dvcmQ6\r\n"));
        return;
    case Mode::AuthPassword:
        m_mode = Mode::Commands;
        m_socket->write(replyFor("<password>", "235 accepted\r\n"));
        return;
    case Mode::Commands:
        break;
    }
    const QByteArray verb = line.split(' ').first().split(':').first().toUpper();
    if (verb == "EHLO" || verb == "HELO") {
        m_socket->write(replyFor(line, "250 peer.test\r\n"));
    } else if (verb == "AUTH") {
        const QByteArray reply = replyFor(line, "334 VXNlcm5hbWU6\r\n");
        if (reply.startsWith("334"))
            m_mode = Mode::AuthUser;
        m_socket->write(reply);
    } else if (verb == "DATA") {
        const QByteArray reply = replyFor(line, "354 go ahead\r\n");
        if (reply.startsWith("354"))
            m_mode = Mode::Data;
        m_socket->write(reply);
    } else if (verb == "STARTTLS" && !certificate.isNull()) {
        m_socket->write("220 ready for TLS\r\n");
        m_socket->flush();
        m_socket->setLocalCertificate(certificate);
        m_socket->setPrivateKey(privateKey);
        m_socket->startServerEncryption();
    } else if (verb == "QUIT") {
        m_socket->write(replyFor(line, "221 bye\r\n"));
        m_socket->disconnectFromHost();
        m_socket = nullptr;
    } else {
        m_socket->write(replyFor(line, "250 OK\r\n"));
    }
}

} // namespace orvane::test
