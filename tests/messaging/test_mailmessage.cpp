#include "messaging/mailmessage.h"
#include "messaging/smtpsession.h"

#include <QTest>
#include <QTimeZone>

using namespace orvane::messaging;

class TestMailMessage : public QObject
{
    Q_OBJECT

private slots:
    void fieldsInTheirOrderEmptyOnesLeftOut()
    {
        MailMessage message;
        message.from = QStringLiteral("dr@cab.fr");
        message.subject = QStringLiteral("Compte rendu");
        message.to = {QStringLiteral("a@x.fr"), QStringLiteral("b@y.fr")};
        message.replyTo = QStringLiteral("dr@cab.fr");
        message.date = QDateTime(QDate(2006, 3, 15), QTime(10, 30), QTimeZone(3600));
        message.bodyLines = {QStringLiteral("Généraliste"), QStringLiteral(".x")};
        QCOMPARE(message.toBytes(), QByteArray("From: dr@cab.fr\r\n"
                                               "Subject: Compte rendu\r\n"
                                               "To: a@x.fr, b@y.fr\r\n"
                                               "Content-Type: text/plain\r\n"
                                               "Reply-To: dr@cab.fr\r\n"
                                               "Date: Wed, 15 Mar 2006 10:30:00 +0100\r\n"
                                               "\r\n"
                                               "G\xe9n\xe9raliste\r\n"
                                               ".x\r\n"
                                               "\r\n"));
        message.receiptName = QStringLiteral("Dr X");
        message.receiptAddress = QStringLiteral("dr@cab.fr");
        message.subject.clear();
        QVERIFY(message.toBytes().contains("Reply-To: dr@cab.fr\r\nDisposition-Notification-To: Dr X <dr@cab.fr>\r\nDate:"));
        QVERIFY(!message.toBytes().contains("Subject"));
    }

    void mailboxes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("nothing") << "" << "" << QByteArray();
        QTest::newRow("address only") << "" << "dr@cab.fr" << QByteArray("dr@cab.fr");
        QTest::newRow("name only") << "Dr X" << "" << QByteArray("Dr X");
        QTest::newRow("special characters quoted") << "Dr. X \"Jr\"" << "dr@cab.fr"
                                                   << QByteArray("\"Dr. X \\\"Jr\\\"\" <dr@cab.fr>");
        QTest::newRow("accented name encoded") << "Dr Jérôme" << "dr@cab.fr"
                                               << QByteArray("=?ISO-8859-1?Q?Dr_J=E9r=F4me?= <dr@cab.fr>");
    }
    void mailboxes()
    {
        QFETCH(QString, name);
        QFETCH(QString, address);
        QFETCH(QByteArray, value);
        QCOMPARE(mailboxHeaderValue(name, address), value);
    }

    void headerValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("encoded");
        QTest::newRow("ascii unchanged") << "Compte rendu" << QByteArray("Compte rendu");
        QTest::newRow("default subject")
            << "Compte rendu d'examen médical" << QByteArray("=?ISO-8859-1?Q?Compte_rendu_d=27examen_m=E9dical?=");
        QTest::newRow("specials encoded") << "é=?_" << QByteArray("=?ISO-8859-1?Q?=E9=3D=3F=5F?=");
        QTest::newRow("line break cannot add a field") << "a\r\nBcc: x@y" << QByteArray("a Bcc: x@y");
        QTest::newRow("long value folded")
            << QString(40, QChar(0xe9))
            << QByteArray("=?ISO-8859-1?Q?" + QByteArray("=E9").repeated(19) + "?=\r\n =?ISO-8859-1?Q?"
                          + QByteArray("=E9").repeated(19) + "?=\r\n =?ISO-8859-1?Q?=E9=E9?=");
    }
    void headerValues()
    {
        QFETCH(QString, value);
        QFETCH(QByteArray, encoded);
        QCOMPARE(encodedHeaderValue(value), encoded);
        for (const QByteArray &line : encoded.split('\n'))
            QVERIFY(line.size() <= 77);
    }

    void datesCarryTheLocalOffset_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("summer Paris") << QDateTime(QDate(2006, 7, 2), QTime(8, 5, 9), QTimeZone(7200))
                                      << QByteArray("Sun, 2 Jul 2006 08:05:09 +0200");
        QTest::newRow("west of Greenwich") << QDateTime(QDate(2006, 12, 31), QTime(23, 59), QTimeZone(-(3 * 3600 + 1800)))
                                           << QByteArray("Sun, 31 Dec 2006 23:59:00 -0330");
        QTest::newRow("utc") << QDateTime(QDate(2006, 1, 2), QTime(0, 0), QTimeZone(0))
                             << QByteArray("Mon, 2 Jan 2006 00:00:00 +0000");
    }
    void datesCarryTheLocalOffset()
    {
        QFETCH(QDateTime, when);
        QFETCH(QByteArray, text);
        QCOMPARE(rfc2822Date(when), text);
    }

    void recipients_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("addresses");
        QTest::newRow("one") << "a@x.fr" << QStringList{"a@x.fr"};
        QTest::newRow("blanks around commas") << "  a@x.fr ,  b@y.fr  " << QStringList{"a@x.fr", "b@y.fr"};
        QTest::newRow("empty parts skipped") << "a@x.fr,, ,b@y.fr," << QStringList{"a@x.fr", "b@y.fr"};
        QTest::newRow("nothing") << "  " << QStringList();
    }
    void recipients()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, addresses);
        QCOMPARE(parseRecipients(text), addresses);
    }

    void dataIsDotStuffed_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("block");
        QTest::newRow("dot then x") << QByteArray("a\r\n.x\r\n") << QByteArray("a\r\n..x\r\n.\r\n");
        QTest::newRow("first line") << QByteArray(".\r\nb\r\n") << QByteArray("..\r\nb\r\n.\r\n");
        QTest::newRow("dot inside a line") << QByteArray("a.b\r\n") << QByteArray("a.b\r\n.\r\n");
        QTest::newRow("unterminated last line") << QByteArray("a") << QByteArray("a\r\n.\r\n");
        QTest::newRow("empty") << QByteArray() << QByteArray(".\r\n");
    }
    void dataIsDotStuffed()
    {
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, block);
        QCOMPARE(SmtpSession::dataBlock(message), block);
    }
};

QTEST_GUILESS_MAIN(TestMailMessage)
#include "test_mailmessage.moc"
