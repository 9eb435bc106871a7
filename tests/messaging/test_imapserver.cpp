#include "dovecotserver.h"
#include "messaging/mailfetch.h"
#include "messaging/patientfinder.h"
#include "messaging/receivedresults.h"
#include "receivedmessages.h"
#include "records/table.h"
#include "support/fixedclock.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace orvane;
using namespace orvane::messaging;

// Fetches from a real IMAP server, Debian's Dovecot, started by the test.
class TestImapServer : public QObject
{
    Q_OBJECT

private:
    test::DovecotServer m_server;
    test::FixedClock m_clock;
    std::unique_ptr<QTemporaryDir> m_folder;

    QString examens() const { return m_folder->filePath(QStringLiteral("examens")); }
    QStringList files(const QString &subfolder = QString()) const
    {
        return QDir(QDir(examens()).filePath(subfolder)).entryList(QDir::Files, QDir::Name);
    }

    IncomingServer account(const QString &password = test::DovecotServer::password) const
    {
        return {QStringLiteral("127.0.0.1"), QString::number(m_server.tlsPort()), IncomingServer::tls,
                test::DovecotServer::user, password, QStringLiteral("non")};
    }

    MailFetch::Report fetch(const IncomingServer &server, int *ticks = nullptr, bool trusted = true)
    {
        const ResultFiler filer(
            examens(),
            [](const HprimIdentity &identity) {
                return identity.surname == QLatin1String("DUPONT")
                    ? QList<PatientMatch>{{QStringLiteral("DUPONT Emile"), 1, QString()}}
                    : QList<PatientMatch>();
            },
            [](const QString &) { return std::nullopt; }, m_clock);
        return fetchInto(filer, server, ticks, trusted);
    }

    // Runs one fetch to its end, the event loop turning meanwhile; counts the timer's ticks seen.
    MailFetch::Report fetchInto(const ResultFiler &filer, const IncomingServer &server, int *ticks = nullptr,
                                bool trusted = true)
    {
        MailFetch fetch([&](const QByteArray &raw) { return filer.file(raw); });
        // Short enough for the silent server, long enough for a loaded machine.
        fetch.setLimits({5, 5, 64 * 1024 * 1024});
        if (trusted)
            fetch.trustCertificates(m_server.certificate());
        std::optional<MailFetch::Report> report;
        connect(&fetch, &MailFetch::finished, this, [&](const MailFetch::Report &done) { report = done; });
        QTimer timer;
        int seen = 0;
        connect(&timer, &QTimer::timeout, this, [&] { ++seen; });
        timer.start(50);
        if (!fetch.start(server))
            qFatal("the fetch did not start");
        if (!QTest::qWaitFor([&] { return report.has_value(); }, 60000))
            qFatal("the fetch never ended");
        if (ticks)
            *ticks = seen;
        return *report;
    }

    static QByteArray known(const QString &result = QStringLiteral("Glycémie : 0,95 g/l"))
    {
        return test::plainMessage(test::hprimResult(QStringLiteral("DUPONT"), QStringLiteral("Emile"),
                                                    QStringLiteral("03/05/1948"), result));
    }

private slots:
    void initTestCase()
    {
        const QString problem = m_server.start();
        if (!problem.isEmpty())
            QFAIL(qPrintable(problem));
    }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_server.clearInbox();
    }

    // Each message is filed, marked read, and a second fetch writes nothing new.
    void fetchedFiledAndRead()
    {
        m_server.deliver(known());
        m_server.deliver(test::plainMessage(test::hprimResult(QStringLiteral("INCONNU"), QStringLiteral("Paul"),
                                                              QStringLiteral("01/01/1960"))));
        m_server.deliver(test::plainMessage(QStringLiteral("Bonjour, voici la réunion de mardi.")));
        QByteArray picture(20 * 1024 * 1024, Qt::Uninitialized);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(picture.data()), picture.size() / 4);
        m_server.deliver(test::messageWithAttachment(picture, "radio.jpg", "image/jpeg"));

        MailFetch::Report report = fetch(account());
        QVERIFY2(report.failure.isEmpty(), qPrintable(report.failure));
        QCOMPARE(report.messages, 4);
        QCOMPARE(files(), QStringList{QStringLiteral("DUPONT Emile-examen du 15 3 2006.txt")});
        QCOMPARE(files(QStringLiteral("A classer")),
                 (QStringList{QStringLiteral("INCONNU Paul-examen du 15 3 2006.txt"), QStringLiteral("message du 15 3 2006.eml"),
                              QStringLiteral("message du 16 3 2006.eml")}));
        QVERIFY(QFileInfo(QDir(examens()).filePath(QStringLiteral("A classer/message du 16 3 2006.eml"))).size()
                > 20 * 1024 * 1024);
        QVERIFY(m_server.messages(false).isEmpty());
        QCOMPARE(m_server.messages(true).size(), 4);

        report = fetch(account());
        QCOMPARE(report.messages, 0);
        QCOMPARE(MailFetch::summary(report), QStringLiteral("Aucun nouveau message"));
        QCOMPARE(files().size() + files(QStringLiteral("A classer")).size(), 4);
    }

    // The results of a fetched text land as rows of the patient its header names, in his value lists
    // once, with his clearance; the same message fetched again and the file read again add nothing.
    void resultsFiledAsData()
    {
        test::TestDatabase base;
        const double number = 7;
        records::Table(base.db(), records::tables::patients)
            .appendRow({QStringLiteral("DUPONT Emile"), QStringLiteral("DUPONT"), QStringLiteral("Emile"), number, {}, {},
                        {}, 3, 5, 1948, {}, QStringLiteral("Masculin"), QStringLiteral("1480375123456-78")});
        records::Table(base.db(), records::tables::measures)
            .appendRow({number, {}, {}, {}, {}, {}, {}, {}, {}, {}, QStringLiteral("01/01/2006\r72\r")});
        PatientFinder finder(base.db());
        const ReceivedResults results(base.db(), examens(), m_folder->filePath(QStringLiteral("Analyses.txt")));
        QStringList filed;
        const ResultFiler filer(
            examens(), [&](const HprimIdentity &identity) { return finder.matchesOf(identity); },
            [](const QString &) { return std::nullopt; }, m_clock, [&](const PatientMatch &patient, const QString &path) {
                filed.append(path);
                results.read(patient.number, path);
            });
        const QString lab = QStringLiteral("****LAB****\r\nRES|HEMOGLOBINE|HB|N|13,5|g/dL|13.0|17.0|N|F\r\n"
                                           "RES|CREATININE|CREA|N|85|µmol/l|62|106|N|F|9.6|mg/l|7|12\r\n****FIN****");
        const QByteArray message = test::plainMessage(
            test::hprimResult(QStringLiteral("DUPONT"), QStringLiteral("Emile"), QStringLiteral("03/05/1948"), lab));
        m_server.deliver(message);
        QVERIFY2(fetchInto(filer, account()).failure.isEmpty(), "first fetch");
        QCOMPARE(filed.size(), 1);
        const auto stored = [&] {
            records::Table measures(base.db(), records::tables::measures);
            measures.open();
            measures.findKey({number});
            QSqlQuery rows(base.db().connection());
            rows.exec(QStringLiteral("SELECT COUNT(*) FROM \"RESULTATS.DB\""));
            rows.next();
            return QStringList{rows.value(0).toString(), measures.text(QStringLiteral("Hb")),
                               measures.text(QStringLiteral("Clearance"))};
        };
        // Two results, the clearance and the CKD-EPI estimate; (140 - 57) x 72 x 1.23 / 85 = 86.
        const QStringList first{QStringLiteral("4"), QStringLiteral("15/03/2006\r135\r"), QStringLiteral("86")};
        QCOMPARE(stored(), first);
        m_server.deliver(message);
        QVERIFY2(fetchInto(filer, account()).failure.isEmpty(), "second fetch");
        QCOMPARE(results.read(number, filed.first()).added, 0);
        QCOMPARE(stored(), first);
    }

    void startTls()
    {
        m_server.deliver(known());
        IncomingServer server = account();
        server.security = IncomingServer::startTls;
        server.port = QString::number(m_server.startTlsPort());
        const MailFetch::Report report = fetch(server);
        QVERIFY2(report.failure.isEmpty(), qPrintable(report.failure));
        QCOMPARE(files().size(), 1);
    }

    // Killed between writing a message's file and marking it read: the next fetch files it once.
    void killedBeforeMarking()
    {
        m_server.deliver(known());
        QProcess child;
        child.start(QStringLiteral(IMAP_FETCH_ONCE),
                    {QString::number(m_server.tlsPort()), m_server.certificate(), examens()});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(files().size(), 1);
        QCOMPARE(m_server.messages(false).size(), 1);

        const MailFetch::Report report = fetch(account());
        QCOMPARE(report.messages, 1);
        QCOMPARE(files().size(), 1);
        QVERIFY(m_server.messages(false).isEmpty());
    }

    // Nothing is marked read that is not filed: a folder that cannot be written leaves the message
    // unread, and the fetch after the folder is mended files it.
    void unwritableFolderLeavesTheMessageUnread()
    {
        m_server.deliver(known());
        QFile blocker(examens());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        MailFetch::Report report = fetch(account());
        QCOMPARE(report.messages, 0);
        QCOMPARE(report.problems.size(), 1);
        QCOMPARE(m_server.messages(false).size(), 1);

        QVERIFY(blocker.remove());
        report = fetch(account());
        QCOMPARE(report.messages, 1);
        QCOMPARE(files().size(), 1);
        QVERIFY(m_server.messages(false).isEmpty());
    }

    // A refused login, an untrusted certificate: a clear message, nothing filed, nothing marked.
    void refused_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<QString>("message");
        QTest::newRow("wrong password") << QStringLiteral("faux") << true
                                        << QStringLiteral("Le serveur de réception « 127.0.0.1 » refuse l'identifiant ou le mot de passe");
        QTest::newRow("unknown certificate") << test::DovecotServer::password << false
                                             << QStringLiteral("Le certificat du serveur de réception « 127.0.0.1 » n'est pas reconnu");
    }

    void refused()
    {
        QFETCH(QString, password);
        QFETCH(bool, trusted);
        QFETCH(QString, message);
        m_server.deliver(known());
        const MailFetch::Report report = fetch(account(password), nullptr, trusted);
        QCOMPARE(report.failure, message);
        QVERIFY(files().isEmpty());
        QCOMPARE(m_server.messages(false).size(), 1);
    }

    // A server that drops the connection or never answers ends the fetch with a message, and the
    // window's event loop turns all along.
    void brokenServer_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QString>("message");
        QTest::newRow("drops the connection") << false
                                              << QStringLiteral("La connexion au serveur de réception « 127.0.0.1 » a été interrompue");
        QTest::newRow("never answers") << true << QStringLiteral("Le serveur de réception « 127.0.0.1 » ne répond pas");
    }

    void brokenServer()
    {
        QFETCH(bool, silent);
        QFETCH(QString, message);
        QTcpServer peer;
        QVERIFY(peer.listen(QHostAddress::LocalHost));
        connect(&peer, &QTcpServer::newConnection, this, [&] {
            QTcpSocket *client = peer.nextPendingConnection();
            if (silent)
                return;
            client->write("* OK IMAP4rev1 ready\r\n");
            connect(client, &QTcpSocket::readyRead, client, [client] { client->abort(); });
        });
        IncomingServer server = account();
        server.port = QString::number(peer.serverPort());
        server.security = IncomingServer::startTls;
        int ticks = 0;
        const MailFetch::Report report = fetch(server, &ticks);
        QCOMPARE(report.failure, message);
        QVERIFY(files().isEmpty());
        if (silent)
            QVERIFY(ticks > 5);
    }
};

QTEST_GUILESS_MAIN(TestImapServer)
#include "test_imapserver.moc"
