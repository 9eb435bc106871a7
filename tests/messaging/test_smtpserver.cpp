#include "messaging/hprimsender.h"
#include "messaging/smtpsession.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using namespace orvane::messaging;

// Sends through a real SMTP server (Debian's aiosmtpd) and reads back what it stored.
class TestSmtpServer : public QObject
{
    Q_OBJECT

private:
    QString m_python;
    QTemporaryDir m_store;
    QProcess m_server;
    quint16 m_port = 0;

    static QString pythonWithAiosmtpd()
    {
        for (const QString &candidate : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
            QProcess probe;
            probe.start(candidate, {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")});
            if (probe.waitForFinished() && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
                return candidate;
        }
        return QString();
    }

    QJsonObject stored(int number)
    {
        const QString path = m_store.filePath(QStringLiteral("message-%1.json").arg(number));
        QFile file(path);
        if (!QFile::exists(path) || !file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    void send(const OutgoingHprim &outgoing)
    {
        const MailMessage message = outgoing.mail(QDateTime(QDate(2006, 3, 15), QTime(10, 30), QTimeZone(3600)));
        SmtpSession session(10000, QStringLiteral("poste.test"));
        session.deliver(SmtpServer{QStringLiteral("127.0.0.1"), m_port, QStringLiteral("docteur"), QStringLiteral("secret")},
                        message.from, message.to, message.toBytes());
    }

    static OutgoingHprim hprim()
    {
        OutgoingHprim outgoing;
        outgoing.clearLines = {QString(), QStringLiteral("DUPONT"), QStringLiteral("Généraliste"), QStringLiteral(".x"),
                               QStringLiteral("****FIN****"), QStringLiteral("****FINFICHIER****")};
        outgoing.recipients = QStringLiteral("a@x.fr, b@y.fr");
        outgoing.subject = QStringLiteral("Compte rendu d'examen médical");
        outgoing.senderLine = QStringLiteral("Dr Jérôme X");
        outgoing.readReceipt = true;
        outgoing.context.senderEmail = QStringLiteral("dr@cab.fr");
        return outgoing;
    }

private slots:
    void initTestCase()
    {
        m_python = pythonWithAiosmtpd();
        if (m_python.isEmpty())
            QSKIP("python3 with aiosmtpd (Debian package python3-aiosmtpd) is not installed");
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            m_port = probe.serverPort();
        }
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start(m_python, {QStringLiteral(AIOSMTPD_STORE), QString::number(m_port), m_store.path(),
                                  QStringLiteral("docteur"), QStringLiteral("secret")});
        QVERIFY(m_server.waitForStarted());
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += m_server.readAllStandardOutput()).contains("READY")
                                     || m_server.state() == QProcess::NotRunning, 20000);
        QVERIFY2(m_server.state() == QProcess::Running, "the aiosmtpd server did not start");
    }

    void cleanupTestCase()
    {
        if (m_server.state() == QProcess::Running) {
            m_server.closeWriteChannel();
            if (!m_server.waitForFinished(10000))
                m_server.kill();
        }
    }

    void clearMessage()
    {
        send(hprim());
        const QJsonObject message = stored(1);
        QVERIFY(!message.isEmpty());
        QVERIFY(message.value("authenticated").toBool());
        QCOMPARE(message.value("mail_from").toString(), QStringLiteral("dr@cab.fr"));
        QCOMPARE(message.value("rcpt_tos").toArray(), (QJsonArray{"a@x.fr", "b@y.fr"}));
        QCOMPARE(message.value("header_names").toArray(),
                 (QJsonArray{"From", "Subject", "To", "Content-Type", "Reply-To", "Disposition-Notification-To", "Date"}));
        const QJsonObject headers = message.value("headers").toObject();
        QCOMPARE(headers.value("To").toString(), QStringLiteral("a@x.fr, b@y.fr"));
        QCOMPARE(headers.value("Date").toString(), QStringLiteral("Wed, 15 Mar 2006 10:30:00 +0100"));
        QCOMPARE(headers.value("Content-Type").toString(), QStringLiteral("text/plain"));
        QCOMPARE(message.value("subject").toString(), QStringLiteral("Compte rendu d'examen médical"));
        QCOMPARE(QByteArray::fromBase64(message.value("body").toString().toLatin1()),
                 QByteArray("\r\nDUPONT\r\nG\xe9n\xe9raliste\r\n.x\r\n****FIN****\r\n****FINFICHIER****\r\n\r\n"));
    }

    void encipheredMessage()
    {
        OutgoingHprim outgoing = hprim();
        outgoing.enciphered = true;
        outgoing.readReceipt = false;
        outgoing.encipheredLines = {QStringLiteral("-----DEBUT-----"), QStringLiteral(".AbC+/="), QStringLiteral("-----FIN-----")};
        send(outgoing);
        const QJsonObject message = stored(2);
        QVERIFY(!message.isEmpty());
        QCOMPARE(message.value("rcpt_tos").toArray(), QJsonArray{placeholderAcknowledgementAddress});
        QCOMPARE(message.value("headers").toObject().value("To").toString(), placeholderAcknowledgementAddress);
        QVERIFY(!message.value("header_names").toArray().contains(QStringLiteral("Disposition-Notification-To")));
        QCOMPARE(QByteArray::fromBase64(message.value("body").toString().toLatin1()),
                 QByteArray("-----DEBUT-----\r\n.AbC+/=\r\n-----FIN-----\r\n\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestSmtpServer)
#include "test_smtpserver.moc"
