#include "platform/error.h"
#include "records/database.h"
#include "records/schema.h"
#include "records/table.h"
#include "support/testdatabase.h"

#include <QProcess>
#include <QSqlQuery>
#include <QTest>

using namespace orvane;
using namespace orvane::records;

// The database server goes away under a running program: restarted by its administrator, or down.
class TestReconnect : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    bool m_serverDown = false;

    // "restart", "down" or "up" on the test server.
    bool server(const QString &command)
    {
        QProcess control;
        control.start(QStringLiteral("bash"),
                      {QStringLiteral(ORVANE_PGCLUSTER_SCRIPT), command, test::TestDatabase::serverFolder()});
        const bool done = control.waitForFinished(120000) && control.exitStatus() == QProcess::NormalExit
            && control.exitCode() == 0;
        if (!done)
            qWarning() << command << control.readAllStandardError();
        m_serverDown = command == QLatin1String("down") ? done : false;
        return done;
    }

    QStringList storedReasons()
    {
        auto reader = m_base->openAnother();
        Table reasons(*reader, tables::reasons);
        reasons.open();
        return test::fieldValues(reasons, QStringLiteral("Motif"));
    }

    static void addReason(Table &reasons, const QString &reason)
    {
        reasons.insert();
        reasons.setText(QStringLiteral("Motif"), reason);
    }

private slots:
    void initTestCase()
    {
        if (!test::TestDatabase::serverAlias())
            QFAIL("ORVANE_TEST_PG must name the alias file of the PostgreSQL test server");
    }
    void init() { m_base = std::make_unique<test::TestDatabase>(); }
    void cleanup()
    {
        if (m_serverDown)
            server(QStringLiteral("up"));
        m_base.reset();
    }

    void theNextOperationAfterARestartReconnects()
    {
        Table reasons(m_base->db(), tables::reasons);
        reasons.open();
        addReason(reasons, QStringLiteral("Fièvre"));
        reasons.post();
        QVERIFY(server(QStringLiteral("restart")));
        addReason(reasons, QStringLiteral("Toux"));
        reasons.post();
        QCOMPARE(storedReasons(), (QStringList{QStringLiteral("Fièvre"), QStringLiteral("Toux")}));
        QVERIFY(server(QStringLiteral("restart")));
        reasons.first();
        QCOMPARE(reasons.text(QStringLiteral("Motif")), QStringLiteral("Fièvre"));
        // The new session is set up as the first was: no statement compiled to machine code, and
        // the server's notices kept from the program.
        QSqlQuery settings(QStringLiteral("SELECT current_setting('jit'), current_setting('client_min_messages')"),
                           m_base->db().connection());
        QVERIFY(settings.next());
        QCOMPARE(settings.value(0).toString(), QStringLiteral("off"));
        QCOMPARE(settings.value(1).toString(), QStringLiteral("warning"));
    }

    void aStoreCutByARestartLeavesEveryRowOfItPending()
    {
        Table consultations(m_base->db(), tables::consultations);
        Table history(m_base->db(), tables::history);
        consultations.open();
        history.open();
        consultations.insert();
        consultations.setValue(recordNumberField, 4);
        consultations.setText(QStringLiteral("Consultation"), QStringLiteral("Toux depuis 3 jours"));
        history.insert();
        history.setValue(recordNumberField, 4);
        history.setText(QStringLiteral("Bilans"), QStringLiteral("Glycémie 1,1"));
        bool refused = false;
        try {
            Database::Transaction transaction(m_base->db());
            consultations.post();
            QVERIFY(server(QStringLiteral("restart")));
            history.post();
            transaction.commit();
        } catch (const Error &) {
            refused = true;
        }
        QVERIFY(refused);
        QCOMPARE(consultations.state(), Table::State::Insert);
        QCOMPARE(history.state(), Table::State::Insert);
        consultations.post();
        history.post();
        auto reader = m_base->openAnother();
        Table stored(*reader, tables::consultations);
        stored.open();
        QCOMPARE(stored.text(QStringLiteral("Consultation")), QStringLiteral("Toux depuis 3 jours"));
        Table storedHistory(*reader, tables::history);
        storedHistory.open();
        QCOMPARE(storedHistory.text(QStringLiteral("Bilans")), QStringLiteral("Glycémie 1,1"));
    }

    void aServerThatStaysDownGivesTheStoresMessageAndKeepsTheRow()
    {
        Table reasons(m_base->db(), tables::reasons);
        reasons.open();
        addReason(reasons, QStringLiteral("Fièvre"));
        reasons.post();
        QVERIFY(server(QStringLiteral("down")));
        addReason(reasons, QStringLiteral("Toux"));
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                reasons.post();
                QFAIL("stored on a server that is down");
            } catch (const Error &error) {
                const auto server = test::TestDatabase::serverAlias();
                QVERIFY2(error.message().startsWith(QStringLiteral("La connexion à la base de données %1 sur le serveur %2:%3 est perdue : le serveur ne répond pas")
                                                        .arg(m_base->alias().database, server->host)
                                                        .arg(server->port)),
                         qPrintable(error.message()));
            }
            QCOMPARE(reasons.state(), Table::State::Insert);
            QCOMPARE(reasons.text(QStringLiteral("Motif")), QStringLiteral("Toux"));
        }
        QVERIFY(server(QStringLiteral("up")));
        reasons.post();
        QCOMPARE(storedReasons(), (QStringList{QStringLiteral("Fièvre"), QStringLiteral("Toux")}));
    }
};

QTEST_GUILESS_MAIN(TestReconnect)
#include "test_reconnect.moc"
