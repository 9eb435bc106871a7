#include "scriptedsmtppeer.h"

#include "messaging/smtpsession.h"
#include "platform/error.h"

#include <QProcess>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane::messaging;
using orvane::test::ScriptedSmtpPeer;

namespace {

using Lines = QList<QByteArray>;

const QByteArray message = "From: dr@cab.fr\r\nTo: a@x.fr\r\n\r\nligne 1\r\n.x\r\n\r\n";

Lines transaction(const QStringList &recipients)
{
    Lines lines{"RSET", "MAIL FROM:<dr@cab.fr>"};
    for (const QString &recipient : recipients)
        lines.append("RCPT TO:<" + recipient.toUtf8() + '>');
    return lines;
}

const Lines dataLines{"DATA", "From: dr@cab.fr", "To: a@x.fr", "", "ligne 1", "..x", "", "."};

// The failure message of a delivery, empty when it went through.
QString deliver(ScriptedSmtpPeer &peer, const QString &user = QStringLiteral("docteur"),
                const QStringList &recipients = {QStringLiteral("a@x.fr")}, int timeoutMs = 5000)
{
    SmtpSession session(timeoutMs, QStringLiteral("poste.test"));
    try {
        session.deliver(SmtpServer{QStringLiteral("127.0.0.1"), peer.port(), user, QStringLiteral("secret")},
                        QStringLiteral("dr@cab.fr"), recipients, message);
        return QString();
    } catch (const orvane::Error &error) {
        return error.message();
    }
}

} // namespace

class TestSmtpSession : public QObject
{
    Q_OBJECT

private slots:
    void dialogues_data()
    {
        QTest::addColumn<QByteArray>("ehlo");
        QTest::addColumn<QString>("user");
        QTest::addColumn<Lines>("opening");
        const Lines authLines{"AUTH LOGIN", "ZG9jdGV1cg==", "c2VjcmV0"};
        QTest::newRow("no extensions: no AUTH") << QByteArray("250 peer.test\r\n") << "docteur" << Lines{"EHLO poste.test"};
        QTest::newRow("AUTH LOGIN offered")
            << QByteArray("250-peer.test\r\n250-SIZE 1000\r\n250 AUTH PLAIN LOGIN\r\n") << "docteur"
            << Lines{"EHLO poste.test"} + authLines;
        QTest::newRow("old AUTH=LOGIN form") << QByteArray("250-peer.test\r\n250 auth=login\r\n") << "docteur"
                                             << Lines{"EHLO poste.test"} + authLines;
        QTest::newRow("AUTH without LOGIN") << QByteArray("250-peer.test\r\n250 AUTH PLAIN CRAM-MD5\r\n") << "docteur"
                                            << Lines{"EHLO poste.test"};
        QTest::newRow("empty user name") << QByteArray("250-peer.test\r\n250 AUTH LOGIN\r\n") << ""
                                         << Lines{"EHLO poste.test"};
        QTest::newRow("EHLO refused: HELO") << QByteArray("502 unknown\r\n") << "docteur"
                                            << Lines{"EHLO poste.test", "HELO poste.test"};
        QByteArray longReply = "250-peer.test\r\n";
        for (int i = 0; i < 3000; ++i)
            longReply += "250-X-FEATURE-" + QByteArray::number(i) + "\r\n";
        QTest::newRow("very long multi-line reply") << longReply + "250 AUTH LOGIN\r\n" << "docteur"
                                                    << Lines{"EHLO poste.test"} + authLines;
        QTest::newRow("STARTTLS refused for now: goes on in clear")
            << QByteArray("250-peer.test\r\n250 STARTTLS\r\n") << "" << Lines{"EHLO poste.test", "STARTTLS"};
    }
    void dialogues()
    {
        QFETCH(QByteArray, ehlo);
        QFETCH(QString, user);
        QFETCH(Lines, opening);
        ScriptedSmtpPeer peer;
        peer.replies["EHLO"] = ehlo;
        peer.replies["STARTTLS"] = "454 TLS not available now\r\n";
        QCOMPARE(deliver(peer, user), QString());
        QCOMPARE(peer.received, opening + transaction({"a@x.fr"}) + dataLines + Lines{"QUIT"});
        QCOMPARE(peer.messageData, QByteArray("From: dr@cab.fr\r\nTo: a@x.fr\r\n\r\nligne 1\r\n..x\r\n\r\n"));
    }

    void twoRecipientsTwoRcptCommands()
    {
        ScriptedSmtpPeer peer;
        peer.replies["RCPT TO:<b@y.fr>"] = "251 will forward\r\n";
        QCOMPARE(deliver(peer, QString(), {"a@x.fr", "b@y.fr"}), QString());
        QCOMPARE(peer.received, Lines{"EHLO poste.test"} + transaction({"a@x.fr", "b@y.fr"}) + dataLines + Lines{"QUIT"});
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("ehlo");
        QTest::addColumn<QByteArray>("refusedLine");
        QTest::addColumn<QByteArray>("refusal");
        QTest::addColumn<Lines>("afterOpening");
        QTest::addColumn<QString>("reported");
        const QByteArray plain = "250 peer.test\r\n";
        const QByteArray pipelining = "250-peer.test\r\n250 PIPELINING\r\n";
        const Lines both = transaction({"a@x.fr", "b@y.fr"});
        QTest::newRow("refused RCPT") << plain << QByteArray("RCPT TO:<b@y.fr>") << QByteArray("550 no such user\r\n")
                                      << both + Lines{"QUIT"} << "« RCPT TO:<b@y.fr> » : 550 no such user";
        QTest::newRow("pipelining, refused RCPT, DATA accepted anyway")
            << pipelining << QByteArray("RCPT TO:<b@y.fr>") << QByteArray("550 no such user\r\n")
            << both + Lines{"DATA", ".", "QUIT"} << "« RCPT TO:<b@y.fr> » : 550 no such user";
        QTest::newRow("pipelining, refused MAIL reported first")
            << pipelining << QByteArray("MAIL") << QByteArray("553 sender refused\r\n")
            << both + Lines{"DATA", ".", "QUIT"} << "« MAIL FROM:<dr@cab.fr> » : 553 sender refused";
        QTest::newRow("refused DATA") << plain << QByteArray("DATA") << QByteArray("554 no valid recipients\r\n")
                                      << both + Lines{"DATA", "QUIT"} << "« DATA » : 554 no valid recipients";
        QTest::newRow("message refused") << plain << QByteArray("<end of data>") << QByteArray("552 too big\r\n")
                                         << both + dataLines + Lines{"QUIT"} << "le message : 552 too big";
    }
    void refusals()
    {
        QFETCH(QByteArray, ehlo);
        QFETCH(QByteArray, refusedLine);
        QFETCH(QByteArray, refusal);
        QFETCH(Lines, afterOpening);
        QFETCH(QString, reported);
        ScriptedSmtpPeer peer;
        peer.replies["EHLO"] = ehlo;
        peer.replies[refusedLine] = refusal;
        const QString failure = deliver(peer, QString(), {"a@x.fr", "b@y.fr"});
        QVERIFY2(failure.contains(reported), qPrintable(failure));
        QCOMPARE(peer.received, Lines{"EHLO poste.test"} + afterOpening);
    }

    void refusedGreetingOrLogin()
    {
        ScriptedSmtpPeer greeting;
        greeting.greeting = "554 go away\r\n";
        QVERIFY(deliver(greeting).contains(QStringLiteral("554 go away")));
        QCOMPARE(greeting.received, Lines{"QUIT"});

        ScriptedSmtpPeer login;
        login.replies["EHLO"] = "250-peer.test\r\n250 AUTH LOGIN\r\n";
        login.replies["<password>"] = "535 authentication failed\r\n";
        QVERIFY(deliver(login).contains(QStringLiteral("535 authentication failed")));
        QCOMPARE(login.received, (Lines{"EHLO poste.test", "AUTH LOGIN", "ZG9jdGV1cg==", "c2VjcmV0", "QUIT"}));
    }

    void brokenServers_data()
    {
        QTest::addColumn<QByteArray>("greeting");
        QTest::addColumn<QByteArray>("hangUpOn");
        QTest::addColumn<bool>("hangUpAtOnce");
        QTest::addColumn<QString>("reported");
        QTest::newRow("garbage") << QByteArray("hello there\r\n") << QByteArray() << false
                                 << "Réponse incorrecte du serveur de messagerie : « hello there »";
        QTest::newRow("code without separator") << QByteArray("220x\r\n") << QByteArray() << false << "Réponse incorrecte";
        QTest::newRow("closes at once") << QByteArray() << QByteArray() << true << "a fermé la connexion";
        QTest::newRow("drops mid-transaction") << QByteArray("220 ok\r\n") << QByteArray("RCPT") << false
                                               << "a fermé la connexion";
        QTest::newRow("endless reply line") << QByteArray("220-") + QByteArray(2 * 1024 * 1024, 'x') << QByteArray() << false
                                            << "trop longue";
        QTest::newRow("drops during data") << QByteArray("220 ok\r\n") << QByteArray("..x") << false
                                           << "a fermé la connexion";
    }
    void brokenServers()
    {
        QFETCH(QByteArray, greeting);
        QFETCH(QByteArray, hangUpOn);
        QFETCH(bool, hangUpAtOnce);
        QFETCH(QString, reported);
        ScriptedSmtpPeer peer;
        peer.greeting = greeting;
        peer.hangUpOn = hangUpOn;
        peer.hangUpAtOnce = hangUpAtOnce;
        const QString failure = deliver(peer);
        QVERIFY2(failure.contains(reported), qPrintable(failure));
        QVERIFY(!peer.received.contains("QUIT"));
    }

    void silentServerTimesOut()
    {
        ScriptedSmtpPeer peer;
        peer.greeting.clear();
        const QString failure = deliver(peer, QString(), {"a@x.fr"}, 200);
        QVERIFY2(failure.contains(QStringLiteral("ne répond pas")), qPrintable(failure));
    }

    void unreachableServer()
    {
        quint16 closedPort;
        {
            ScriptedSmtpPeer peer;
            closedPort = peer.port();
        }
        SmtpSession session(5000, QStringLiteral("poste.test"));
        try {
            session.deliver(SmtpServer{QStringLiteral("127.0.0.1"), closedPort, QString(), QString()},
                            QStringLiteral("dr@cab.fr"), {QStringLiteral("a@x.fr")}, message);
            QFAIL("delivered to a closed port");
        } catch (const orvane::Error &error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("Connexion impossible au serveur de messagerie 127.0.0.1:")),
                     qPrintable(error.message()));
        }
    }

    void badInputNeverReachesTheServer_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QStringList>("recipients");
        QTest::newRow("no server") << "" << QStringList{"a@x.fr"};
        QTest::newRow("no recipient") << "127.0.0.1" << QStringList();
        QTest::newRow("command in an address") << "127.0.0.1" << QStringList{"a@x.fr>\r\nRCPT TO:<b@y.fr"};
        QTest::newRow("blank in an address") << "127.0.0.1" << QStringList{"Jean Dupont"};
    }
    void badInputNeverReachesTheServer()
    {
        QFETCH(QString, host);
        QFETCH(QStringList, recipients);
        ScriptedSmtpPeer peer;
        SmtpSession session(5000, QStringLiteral("poste.test"));
        QVERIFY_THROWS_EXCEPTION(orvane::Error,
                                 session.deliver(SmtpServer{host, peer.port(), QString(), QString()},
                                                 QStringLiteral("dr@cab.fr"), recipients, message));
        QCOMPARE(peer.connections, 0);
    }

    void startTlsThatFailsSendsNothingInClear()
    {
        ScriptedSmtpPeer peer;
        peer.replies["EHLO"] = "250-peer.test\r\n250-STARTTLS\r\n250 AUTH LOGIN\r\n";
        peer.replies["STARTTLS"] = "220 go ahead\r\n";
        peer.hangUpOn = "\x16"; // the first bytes of the TLS handshake, which this peer cannot speak
        QVERIFY(!deliver(peer).isEmpty());
        QCOMPARE(peer.received.mid(0, 2), (Lines{"EHLO poste.test", "STARTTLS"}));
        QVERIFY(!peer.received.contains("AUTH LOGIN"));
    }

    void startTlsThenEhloAgain()
    {
        QTemporaryDir dir;
        const QString key = dir.filePath(QStringLiteral("key.pem"));
        const QString cert = dir.filePath(QStringLiteral("cert.pem"));
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                       "-keyout", key, "-out", cert, "-days", "2", "-subj", "/CN=127.0.0.1", "-addext",
                       "subjectAltName=IP:127.0.0.1"});
        if (!openssl.waitForFinished() || openssl.exitCode() != 0)
            QSKIP("the openssl command is needed to make a certificate for the test server");
        QFile certFile(cert), keyFile(key);
        QVERIFY(certFile.open(QIODevice::ReadOnly) && keyFile.open(QIODevice::ReadOnly));

        ScriptedSmtpPeer peer;
        peer.certificate = QSslCertificate(&certFile);
        peer.privateKey = QSslKey(&keyFile, QSsl::Ec);
        peer.replies["EHLO"] = "250-peer.test\r\n250-STARTTLS\r\n250 AUTH LOGIN\r\n";
        QSslConfiguration trusting = QSslConfiguration::defaultConfiguration();
        const QSslConfiguration original = trusting;
        trusting.addCaCertificate(peer.certificate);
        QSslConfiguration::setDefaultConfiguration(trusting);
        const QString failure = deliver(peer);
        QSslConfiguration::setDefaultConfiguration(original);

        QCOMPARE(failure, QString());
        QVERIFY(peer.encryptedAfterStartTls);
        QCOMPARE(peer.received, Lines({"EHLO poste.test", "STARTTLS", "EHLO poste.test", "AUTH LOGIN", "ZG9jdGV1cg==",
                                       "c2VjcmV0"})
                                    + transaction({"a@x.fr"}) + dataLines + Lines{"QUIT"});
    }
};

QTEST_GUILESS_MAIN(TestSmtpSession)
#include "test_smtpsession.moc"
