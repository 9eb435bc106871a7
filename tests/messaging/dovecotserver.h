#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace orvane::test {

// Debian's Dovecot IMAP server, run for a test with a configuration of its own: one user of a
// password file, its mail in a temporary folder, TLS with a throw-away certificate on one
// loopback port and plain IMAP with STARTTLS on another.
class DovecotServer
{
public:
    static const QString user;
    static const QString password;

    DovecotServer() = default;
    ~DovecotServer();

    // The reason when the server cannot run; empty once it listens.
    QString start();
    void stop();

    quint16 tlsPort() const { return m_tlsPort; }
    quint16 startTlsPort() const { return m_startTlsPort; }
    // The certificate to trust.
    QString certificate() const { return m_dir.filePath(QStringLiteral("cert.pem")); }

    // Puts a message into the user's inbox, unread.
    void deliver(const QByteArray &message);
    // The UIDs of the inbox's messages marked read, and of those not.
    QList<quint32> messages(bool read);
    void clearInbox();

private:
    QByteArray doveadm(const QStringList &arguments, const QByteArray &input = QByteArray());

    QTemporaryDir m_dir;
    QProcess m_server;
    quint16 m_tlsPort = 0;
    quint16 m_startTlsPort = 0;
};

} // namespace orvane::test
