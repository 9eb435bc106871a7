#include "recordingtransport.h"

#include "messaging/hprimsender.h"
#include "platform/textlines.h"
#include "support/fixedclock.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace orvane;
using namespace orvane::messaging;

class TestHprimSender : public QObject
{
    Q_OBJECT

private:
    test::TemporaryHome m_home;
    test::FixedClock m_clock{QDateTime(QDate(2006, 3, 5), QTime(9, 15))};
    test::RecordingTransport m_transport;
    test::FixedConnectionState m_connection;
    MessagingSettings m_settings;
    OutgoingHprim m_outgoing;

    QString sentFolder() const { return m_home.path() + QStringLiteral("/courrier envoyé"); }
    QStringList sentFiles() const { return QDir(sentFolder()).entryList(QDir::Files); }
    HprimSender::Outcome send() { return HprimSender(m_transport, m_connection, m_clock).send(m_outgoing, m_settings); }
    QString failure()
    {
        try {
            send();
        } catch (const Error &error) {
            return error.message();
        }
        return QString();
    }

private slots:
    void init()
    {
        QDir(sentFolder()).removeRecursively();
        m_transport = test::RecordingTransport();
        m_connection.offline = false;
        m_settings = MessagingSettings{QStringLiteral("docteur"), QStringLiteral("secret"), QStringLiteral("smtp.cab.fr"),
                                       QStringLiteral("587"), QStringLiteral("non"), QString(), QStringLiteral("dr@cab.fr"), {}};
        m_outgoing = OutgoingHprim();
        m_outgoing.clearLines = {QStringLiteral("DUPONT"), QStringLiteral("Généraliste"), QStringLiteral(".x")};
        m_outgoing.recipients = QStringLiteral(" a@x.fr , b@y.fr ");
        m_outgoing.subject = QStringLiteral("Compte rendu d'examen médical");
        m_outgoing.senderLine = QStringLiteral("Dr X");
        m_outgoing.context.surname = QStringLiteral("DUPONT");
        m_outgoing.context.forename = QStringLiteral("Jean");
        m_outgoing.context.patientKey = QStringLiteral("DUPONT Jean");
        m_outgoing.context.senderEmail = QStringLiteral("dr@cab.fr");
        m_outgoing.context.sentFolder = sentFolder();
    }

    void clearMessageGoesToTheCorrespondentsAndIsFiled()
    {
        QCOMPARE(send(), HprimSender::Outcome::Sent);
        QCOMPARE(m_transport.deliveries.size(), 1);
        const auto &delivery = m_transport.deliveries.first();
        QCOMPARE(delivery.server.host, QStringLiteral("smtp.cab.fr"));
        QCOMPARE(delivery.server.port, quint16(587));
        QCOMPARE(delivery.server.user, QStringLiteral("docteur"));
        QCOMPARE(delivery.sender, QStringLiteral("dr@cab.fr"));
        QCOMPARE(delivery.recipients, (QStringList{"a@x.fr", "b@y.fr"}));
        QVERIFY(delivery.message.startsWith("From: dr@cab.fr\r\nSubject: =?ISO-8859-1?Q?Compte_rendu_d=27examen_m=E9dical?=\r\n"
                                            "To: a@x.fr, b@y.fr\r\nContent-Type: text/plain\r\nReply-To: dr@cab.fr\r\nDate: Sun, 5 Mar 2006 09:15:00 "));
        QVERIFY(delivery.message.endsWith("\r\n\r\nDUPONT\r\nG\xe9n\xe9raliste\r\n.x\r\n\r\n"));
        QVERIFY(!delivery.message.contains("Disposition-Notification-To"));
        QCOMPARE(sentFiles(), QStringList{"DUPONT Jean-en date du 5 3 2006.txt"});
        QCOMPARE(readWindowsTextFile(sentFolder() + QStringLiteral("/DUPONT Jean-en date du 5 3 2006.txt")), m_outgoing.clearLines);
    }

    void encipheredMessageGoesToTheServiceOnly()
    {
        m_outgoing.enciphered = true;
        m_outgoing.encipheredLines = {QStringLiteral("-----BEGIN-----"), QStringLiteral("abc")};
        m_outgoing.context.patientKey = QStringLiteral("DUPONT Jean");
        QCOMPARE(send(), HprimSender::Outcome::Sent);
        const auto &delivery = m_transport.deliveries.first();
        QCOMPARE(delivery.recipients, QStringList{apicryptServiceAddress});
        QVERIFY(delivery.message.contains("\r\nTo: " + apicryptServiceAddress.toUtf8() + "\r\n"));
        QVERIFY(!delivery.message.contains("a@x.fr"));
        QVERIFY(delivery.message.endsWith("\r\n\r\n-----BEGIN-----\r\nabc\r\n\r\n"));
        QCOMPARE(readWindowsTextFile(sentFolder() + QStringLiteral("/DUPONT Jean-en date du 5 3 2006.txt")), m_outgoing.clearLines);
    }

    void readReceiptComesBackToTheSender_data()
    {
        QTest::addColumn<QString>("senderLine");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("name line") << "Dr X" << QByteArray("Disposition-Notification-To: Dr X <dr@cab.fr>\r\n");
        QTest::newRow("typed address") << "secretariat@cab.fr" << QByteArray("Disposition-Notification-To: secretariat@cab.fr\r\n");
    }
    void readReceiptComesBackToTheSender()
    {
        QFETCH(QString, senderLine);
        QFETCH(QByteArray, field);
        m_outgoing.readReceipt = true;
        m_outgoing.senderLine = senderLine;
        send();
        QVERIFY(m_transport.deliveries.first().message.contains("Reply-To: dr@cab.fr\r\n" + field + "Date: "));
    }

    void nothingIsSentNorFiled_data()
    {
        QTest::addColumn<bool>("offline");
        QTest::addColumn<bool>("enciphered");
        QTest::addColumn<int>("outcome");
        QTest::newRow("offline") << true << false << int(HprimSender::Outcome::NoConnection);
        QTest::newRow("no enciphered text yet") << false << true << int(HprimSender::Outcome::NothingToSend);
    }
    void nothingIsSentNorFiled()
    {
        QFETCH(bool, offline);
        QFETCH(bool, enciphered);
        QFETCH(int, outcome);
        m_connection.offline = offline;
        m_outgoing.enciphered = enciphered;
        QCOMPARE(int(send()), outcome);
        QVERIFY(m_transport.deliveries.isEmpty());
        QVERIFY(sentFiles().isEmpty());
    }

    void failuresSendNothingAndFileNothing_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("serverFailure");
        QTest::addColumn<QString>("message");
        QTest::newRow("port not a number") << "25a" << "" << "'25a' n'est pas une valeur entière correcte";
        QTest::newRow("port empty") << "" << "" << "'' n'est pas une valeur entière correcte";
        QTest::newRow("port out of range") << "70000" << "" << "Le port 70000 n'est pas un port de messagerie possible (de 1 à 65535)";
        QTest::newRow("server refuses") << "25" << "550 refusé" << "550 refusé";
    }
    void failuresSendNothingAndFileNothing()
    {
        QFETCH(QString, port);
        QFETCH(QString, serverFailure);
        QFETCH(QString, message);
        m_settings.port = port;
        m_transport.failure = serverFailure;
        QCOMPARE(failure(), message);
        QVERIFY(m_transport.deliveries.isEmpty());
        QVERIFY(sentFiles().isEmpty());
    }

    void secondMessageOfTheDayReplacesTheCopy()
    {
        send();
        m_outgoing.clearLines = {QStringLiteral("seconde version")};
        send();
        QCOMPARE(sentFiles().size(), 1);
        QCOMPARE(readWindowsTextFile(sentFolder() + QLatin1Char('/') + sentFiles().first()), m_outgoing.clearLines);
    }

    void copyThatCannotBeWrittenIsReportedAsSuchAfterSending()
    {
        QFile blocker(sentFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        const QString message = failure();
        QVERIFY2(message.startsWith(QStringLiteral("Le message a été envoyé, mais sa copie n'a pas pu être enregistrée")),
                 qPrintable(message));
        QCOMPARE(m_transport.deliveries.size(), 1);
        QFile::remove(sentFolder());
    }
};

QTEST_GUILESS_MAIN(TestHprimSender)
#include "test_hprimsender.moc"
