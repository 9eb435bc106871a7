#include "dovecotserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <pwd.h>
#include <unistd.h>

namespace orvane::test {

const QString DovecotServer::user = QStringLiteral("medecin");
const QString DovecotServer::password = QStringLiteral("secret");

namespace {

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool run(const QString &program, const QStringList &arguments, const QByteArray &input = QByteArray(),
         QByteArray *output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning("%s: %s", qPrintable(program), process.readAllStandardError().constData());
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return true;
}

} // namespace

DovecotServer::~DovecotServer()
{
    stop();
}

QString DovecotServer::start()
{
    const QString dovecot = QStandardPaths::findExecutable(QStringLiteral("dovecot"), {QStringLiteral("/usr/sbin")});
    if (dovecot.isEmpty())
        return QStringLiteral("dovecot (Debian package dovecot-imapd) is not installed");
    const QDir dir(m_dir.path());
    if (!run(QStringLiteral("openssl"),
             {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
              QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
              QStringLiteral("/CN=localhost"), QStringLiteral("-addext"),
              QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost"), QStringLiteral("-keyout"),
              dir.filePath(QStringLiteral("key.pem")), QStringLiteral("-out"), certificate()}))
        return QStringLiteral("openssl could not make the certificate");
    dir.mkpath(QStringLiteral("run"));
    dir.mkpath(QStringLiteral("state"));
    dir.mkpath(QStringLiteral("mail"));
    // The mail belongs to an unprivileged user: Dovecot does not serve mail as root.
    const bool root = geteuid() == 0;
    const passwd *account = getpwnam(root ? "nobody" : qPrintable(qEnvironmentVariable("USER")));
    if (!account)
        account = getpwuid(geteuid());
    QFile::setPermissions(dir.filePath(QStringLiteral("mail")), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7755));

    QFile users(dir.filePath(QStringLiteral("passwd")));
    users.open(QIODevice::WriteOnly);
    users.write(QStringLiteral("%1:{PLAIN}%2\n").arg(user, password).toUtf8());
    users.close();

    m_tlsPort = freePort();
    m_startTlsPort = freePort();
    QString configuration = QStringLiteral(
        "base_dir = %1/run\nstate_dir = %1/state\nlog_path = %1/log\ninstance_name = orvane-test-%2\n"
        "protocols = imap\nlisten = 127.0.0.1\nssl = yes\nssl_cert = <%1/cert.pem\nssl_key = <%1/key.pem\n"
        "disable_plaintext_auth = yes\nauth_mechanisms = plain login\nauth_failure_delay = 0\n"
        "mail_location = maildir:%1/mail/%u\n"
        "passdb {\n  driver = passwd-file\n  args = %1/passwd\n}\n"
        "userdb {\n  driver = static\n  args = uid=%3 gid=%4 home=%1/mail/%u\n}\n"
        "service imap-login {\n  chroot =\n  inet_listener imap {\n    port = %5\n  }\n"
        "  inet_listener imaps {\n    port = %6\n    ssl = yes\n  }\n}\n"
        "service anvil {\n  chroot =\n}\n")
        .arg(m_dir.path())
        .arg(QCoreApplication::applicationPid())
        .arg(account->pw_uid)
        .arg(account->pw_gid)
        .arg(m_startTlsPort)
        .arg(m_tlsPort);
    if (!root)
        configuration += QStringLiteral("default_internal_user = %1\ndefault_login_user = %1\n")
                             .arg(QString::fromLocal8Bit(account->pw_name));
    QFile config(dir.filePath(QStringLiteral("dovecot.conf")));
    config.open(QIODevice::WriteOnly);
    config.write(configuration.toUtf8());
    config.close();

    m_server.setProcessChannelMode(QProcess::ForwardedChannels);
    m_server.start(dovecot, {QStringLiteral("-F"), QStringLiteral("-c"), config.fileName()});
    if (!m_server.waitForStarted())
        return QStringLiteral("dovecot did not start");
    for (int attempt = 0; attempt < 100; ++attempt) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_tlsPort);
        if (probe.waitForConnected(100))
            return QString();
        if (m_server.state() != QProcess::Running)
            break;
        QThread::msleep(100);
    }
    QFile log(dir.filePath(QStringLiteral("log")));
    log.open(QIODevice::ReadOnly);
    return QStringLiteral("dovecot does not listen: ") + QString::fromUtf8(log.readAll());
}

void DovecotServer::stop()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(10000))
        m_server.kill();
}

QByteArray DovecotServer::doveadm(const QStringList &arguments, const QByteArray &input)
{
    QByteArray output;
    if (!run(QStringLiteral("doveadm"),
             QStringList{QStringLiteral("-c"), m_dir.filePath(QStringLiteral("dovecot.conf"))} + arguments, input, &output))
        qFatal("doveadm %s failed", qPrintable(arguments.join(QLatin1Char(' '))));
    return output;
}

void DovecotServer::deliver(const QByteArray &message)
{
    doveadm({QStringLiteral("save"), QStringLiteral("-u"), user}, message);
}

QList<quint32> DovecotServer::messages(bool read)
{
    const QByteArray output = doveadm({QStringLiteral("-f"), QStringLiteral("flow"), QStringLiteral("fetch"),
                                       QStringLiteral("-u"), user, QStringLiteral("uid flags"), QStringLiteral("mailbox"),
                                       QStringLiteral("INBOX")});
    QList<quint32> uids;
    for (const QByteArray &line : output.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        // uid=3 flags=\Seen
        const QString text = QString::fromUtf8(line);
        const quint32 uid = text.section(QLatin1Char(' '), 0, 0).section(QLatin1Char('='), 1).toUInt();
        if (line.contains("\\Seen") == read)
            uids.append(uid);
    }
    return uids;
}

void DovecotServer::clearInbox()
{
    doveadm({QStringLiteral("expunge"), QStringLiteral("-u"), user, QStringLiteral("mailbox"), QStringLiteral("INBOX"),
             QStringLiteral("all")});
}

} // namespace orvane::test
