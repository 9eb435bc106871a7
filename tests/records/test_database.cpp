#include "platform/error.h"
#include "platform/places.h"
#include "records/backupfolder.h"
#include "records/database.h"
#include "records/schema.h"
#include "records/sqlitefile.h"
#include "records/table.h"
#include "support/testdatabase.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTcpServer>
#include <QTest>

using namespace orvane;
using namespace orvane::records;

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    // On a server the values go into the statement's text: quotes in a value, and marks inside
    // quotes, stay what they are.
    void aStreamedStatementReadsTheValuesGiven()
    {
        test::TestDatabase base;
        QSqlQuery query = base.db().streamed(QStringLiteral("SELECT ? AS \"a ?\", 'l''? reste', ?, ?"),
                                             {QStringLiteral("l'été ?"), QVariant(QMetaType::fromType<QString>()), 8.5});
        QVERIFY(query.next());
        QCOMPARE((QVariantList{query.value(0), query.value(1), query.value(2).isNull(), query.value(3).toDouble()}),
                 (QVariantList{"l'été ?", "l'? reste", true, 8.5}));
        QVERIFY_THROWS_EXCEPTION(Error, withValuesWritten(QStringLiteral("SELECT ?, ?"), {1}, *base.db().connection().driver()));
    }

    void firstOpenCreatesEveryTableWithItsFields()
    {
        test::TestDatabase base;
        const QStringList stored = base.db().connection().tables();
        for (const TableDef &table : schema()) {
            QVERIFY2(stored.contains(table.name), qPrintable(table.name));
            QSqlQuery query(base.db().connection());
            QVERIFY(query.exec(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(SqlDialect::quote(table.name))));
            const QSqlRecord record = query.record();
            for (const FieldDef &field : table.fields)
                QVERIFY2(record.contains(field.name), qPrintable(table.name + QLatin1Char('.') + field.name));
        }
        QCOMPARE(schema().size(), 13);
        // Opening it again finds the tables made and keeps what they hold.
        Table drugs(base.db(), tables::drugs);
        drugs.open();
        drugs.insert();
        drugs.setText(QStringLiteral("Marque"), QStringLiteral("DOLIPRANE"));
        drugs.post();
        auto again = base.openAnother();
        Table drugsAgain(*again, QStringLiteral("orvane.db"));
        drugsAgain.open();
        QCOMPARE(drugsAgain.text(QStringLiteral("marque")), QStringLiteral("DOLIPRANE"));
    }

    // A base of the release before the results table: the same tables, made by the same list without it.
    void aBaseOfThePreviousReleaseGainsTheNewTableAfterASafetyCopy()
    {
        test::TestDatabase base;
        base.dropResultsTable();
        Table(base.db(), tables::patients)
            .appendRow({QStringLiteral("ABEL Louise"), QStringLiteral("ABEL"), QStringLiteral("Louise"), 7, {}, {}, {}, {}, {}, 1950});
        Table(base.db(), tables::measures).appendRow({7, QStringLiteral("01/02/2006\r7200\r")});
        base.close();
        const QDir backups(places::inProgramFolder(QStringLiteral("Sauvegardes")));
        QVERIFY(backups.entryList({QStringLiteral("avant-mise-a-jour-*.sqlite")}, QDir::Files).isEmpty());

        QVERIFY(base.db().connection().tables().contains(tables::results));
        const QStringList copies = backups.entryList({QStringLiteral("avant-mise-a-jour-*.sqlite")}, QDir::Files);
        QCOMPARE(copies.size(), 1);
        QCOMPARE(baseProblems(backups.filePath(copies.first())), QString());
        Table patients(base.db(), tables::patients);
        patients.open();
        QCOMPARE(patients.text(QStringLiteral("NomPrénom")), QStringLiteral("ABEL Louise"));
        Table measures(base.db(), tables::measures);
        measures.open();
        QCOMPARE(measures.text(QStringLiteral("GR")), QStringLiteral("01/02/2006\r7200\r"));
        Table(base.db(), tables::results).appendRow({7, QDate(2006, 2, 1), QStringLiteral("LABO")});
        patients.close();
        measures.close();

        // Opened again, the base is of this release: no further copy.
        base.close();
        QVERIFY(base.db().connection().tables().contains(tables::results));
        QCOMPARE(backups.entryList({QStringLiteral("avant-mise-a-jour-*.sqlite")}, QDir::Files).size(), 1);
    }

    void withoutAliasFileTheBaseIsTheProgramsSqliteFile()
    {
        if (test::TestDatabase::serverAlias())
            QSKIP("the SQLite run of this test covers it");
        test::TemporaryHome home;
        Database db(AliasSettings::load(places::programFolder()), places::programFolder());
        QVERIFY(QFile::exists(places::inProgramFolder(QStringLiteral("Data/orvane.sqlite"))));
    }

    void aliasFileNamesAnotherBase()
    {
        if (const auto server = test::TestDatabase::serverAlias()) {
            test::TestDatabase base;
            test::writeAliasFile(places::inProgramFolder(QStringLiteral("alias.ini")), base.alias());
            const AliasSettings alias = AliasSettings::load(places::programFolder());
            QCOMPARE(alias.driver, QStringLiteral("QPSQL"));
            QCOMPARE(alias.database, base.alias().database);
            Database db(alias, places::programFolder());
            QVERIFY(db.connection().tables().contains(tables::patients));
            QVERIFY(db.describe().contains(QStringLiteral("%1:%2").arg(server->host).arg(server->port)));
            return;
        }
        test::TemporaryHome home;
        QFile file(places::inProgramFolder(QStringLiteral("alias.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        // Keys and driver names are read whatever their letter case, as the Windows program read them.
        file.write("[orvane]\r\ndriver=qsqlite\r\nDatabase=autre/base.sqlite\r\n");
        file.close();
        QVERIFY(QDir().mkpath(places::inProgramFolder(QStringLiteral("autre"))));
        Database db(AliasSettings::load(places::programFolder()), places::programFolder());
        QVERIFY(QFile::exists(places::inProgramFolder(QStringLiteral("autre/base.sqlite"))));
    }

    // libpq's environment does not fill in what the alias file leaves out.
    void theServerIsReachedWithTheFilesValuesOnly()
    {
        const auto server = test::TestDatabase::serverAlias();
        if (!server)
            QSKIP("an SQLite base has no server");
        AliasSettings alias = *server;
        alias.port = 0;
        qputenv("PGPORT", QByteArray::number(server->port));
        try {
            Database db(alias, places::programFolder());
            QFAIL("the port came from PGPORT");
        } catch (const Error &) {
        }
        QVERIFY(qgetenv("PGPORT").isEmpty());
    }

    void aServerThatRefusesChangesIsSaidAtOpening()
    {
        if (!test::TestDatabase::serverAlias())
            QSKIP("the start-up test covers SQLite's read-only and full disks");
        test::TestDatabase base;
        base.db().checkWritable();
        base.db().run(QStringLiteral("ALTER DATABASE %1 SET default_transaction_read_only = on")
                          .arg(SqlDialect::quote(base.alias().database)));
        auto readOnly = base.openAnother();
        try {
            readOnly->checkWritable();
            QFAIL("a read-only server was taken for a writable one");
        } catch (const Error &error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("La base de données %1 ne peut pas être modifiée : ").arg(readOnly->describe()))
                         && error.message().contains(QStringLiteral("l'utilisateur « %1 »").arg(base.alias().user)),
                     qPrintable(error.message()));
        }
    }

    void aliasSlipStopsNamingTheFileAndTheLine_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unknown driver") << QByteArray("; cabinet\n[orvane]\nDriver=SQLITE\n") << QStringLiteral(", ligne 3 : le pilote « SQLITE »");
        QTest::newRow("folder missing") << QByteArray("[orvane]\nDriver=QSQLITE\nDatabase=absent/base.sqlite\n")
                                        << QStringLiteral(", ligne 3 : la base");
        QTest::newRow("section misspelt") << QByteArray("[orvanne]\nDriver=QPSQL\n") << QStringLiteral(", ligne 1 : la section [orvanne]");
        QTest::newRow("key misspelt") << QByteArray("[orvane]\nDrivr=QPSQL\nDatabase=orvane\n")
                                      << QStringLiteral(", ligne 2 : la clé « Drivr » n'est pas connue");
        QTest::newRow("no driver") << QByteArray("\n[orvane]\nDatabase=orvane.sqlite\n")
                                   << QStringLiteral(", ligne 2 : la section [orvane] n'a pas de ligne Driver=");
        QTest::newRow("not a port") << QByteArray("[orvane]\nDriver=QPSQL\nPort=abc\n") << QStringLiteral(", ligne 3 : le port « abc »");
        QTest::newRow("garbage") << QByteArray("GIF89a\x01\x00\xff garbage") << QStringLiteral(", ligne 1 : « GIF89a");
        QTest::newRow("empty") << QByteArray() << QStringLiteral(" : il n'a pas de section [orvane]");
    }

    void aliasSlipStopsNamingTheFileAndTheLine()
    {
        if (test::TestDatabase::serverAlias())
            QSKIP("the SQLite run of this test covers it");
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        test::TemporaryHome home;
        const QString aliasFile = places::inProgramFolder(QStringLiteral("alias.ini"));
        QFile file(aliasFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        try {
            AliasSettings::load(places::programFolder());
            QFAIL("a slip of the alias file was taken");
        } catch (const Error &error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("Le fichier %1%2").arg(QDir::toNativeSeparators(aliasFile), expected)),
                     qPrintable(error.message()));
        }
        const QStringList made = QDir(places::programFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QCOMPARE(made, QStringList{QStringLiteral("alias.ini")});
    }

    void aDamagedBaseIsToldWithWhatToDo()
    {
        if (test::TestDatabase::serverAlias())
            QSKIP("a server's files are its own");
        test::TemporaryHome home;
        const QString path = home.path() + QStringLiteral("/orvane.sqlite");
        {
            Database db(AliasSettings::sqliteFile(path), places::programFolder());
            Table drugs(db, tables::drugs);
            drugs.open();
            drugs.insert();
            drugs.setText(QStringLiteral("Marque"), QStringLiteral("DOLIPRANE"));
            drugs.post();
        }
        const int root = SqliteFile(path, SqliteFile::Mode::ReadOnly)
                             .firstValue(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = '%1'").arg(tables::drugs))
                             .toInt();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray header = file.read(18);
        const int pageSize = (quint8(header.at(16)) << 8) | quint8(header.at(17));
        QVERIFY(file.seek(qint64(root - 1) * pageSize));
        file.write(QByteArray(pageSize, '\xff'));
        file.close();
        Database db(AliasSettings::sqliteFile(path), places::programFolder());
        Table drugs(db, tables::drugs);
        try {
            drugs.open();
            QFAIL("read a damaged table");
        } catch (const Error &error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("La base de données %1 ne peut pas être utilisée : son fichier est endommagé.")
                                                    .arg(QDir::toNativeSeparators(path)))
                         && error.message().contains(QStringLiteral("orvane-restore")),
                     qPrintable(error.message()));
        }
    }

    void aFileThatIsNotADatabaseIsNamedInTheMessage()
    {
        if (test::TestDatabase::serverAlias())
            QSKIP("the SQLite run of this test covers it");
        test::TemporaryHome home;
        const QString path = home.path() + QStringLiteral("/pas-une-base.sqlite");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        file.close();
        try {
            Database db(AliasSettings::sqliteFile(path), places::programFolder());
            QFAIL("opened a file that is not a database");
        } catch (const Error &error) {
            QVERIFY2(error.message().contains(QDir::toNativeSeparators(path)), qPrintable(error.message()));
            // Nothing could have been typed yet.
            QVERIFY2(!error.message().contains(QStringLiteral("tapé")), qPrintable(error.message()));
        }
        QFile again(path);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), QByteArray(4096, 'x'));
    }

    void aServerThatRefusesGivesOneMessageNamingItAndTheReason_data()
    {
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("reason");
        QTest::newRow("nothing listens") << "port" << "le serveur ne répond pas";
        QTest::newRow("wrong password") << "password" << "ou son mot de passe est refusé";
        QTest::newRow("missing database") << "database" << "n'existe pas sur ce serveur";
    }
    void aServerThatRefusesGivesOneMessageNamingItAndTheReason()
    {
        QFETCH(QString, refusal);
        QFETCH(QString, reason);
        test::TemporaryHome home;
        const auto server = test::TestDatabase::serverAlias();
        AliasSettings alias;
        alias.driver = QStringLiteral("QPSQL");
        alias.host = QStringLiteral("127.0.0.1");
        alias.database = QStringLiteral("orvane_absente");
        if (refusal == QLatin1String("port")) {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            alias.port = probe.serverPort();
            probe.close();
        } else {
            if (!server)
                QSKIP("needs the PostgreSQL test server (ORVANE_TEST_PG)");
            alias.port = server->port;
            alias.user = server->user;
            alias.password = server->password;
            if (refusal == QLatin1String("password")) {
                alias.database = server->database;
                alias.password += QStringLiteral("-faux");
            }
        }
        try {
            Database db(alias, places::programFolder());
            QFAIL("opened a base the server refuses");
        } catch (const Error &error) {
            const QString message = error.message();
            QVERIFY2(message.startsWith(QStringLiteral("La base de données %1 sur le serveur 127.0.0.1:%2 ne peut pas être ouverte : ")
                                            .arg(alias.database).arg(alias.port)),
                     qPrintable(message));
            QVERIFY2(message.contains(reason), qPrintable(message));
        }
        // Nothing made in its place: no database on the server, no local file.
        QVERIFY(!QFileInfo::exists(places::inProgramFolder(QStringLiteral("Data"))));
        if (server && refusal == QLatin1String("database")) {
            test::TestDatabase base; // the server still answers and holds no such database
            QSqlQuery query(base.db().connection());
            QVERIFY(query.exec(QStringLiteral("SELECT count(*) FROM pg_database WHERE datname = 'orvane_absente'")));
            QVERIFY(query.next());
            QCOMPARE(query.value(0).toInt(), 0);
        }
    }

    void sortKeysIgnoreCaseAndAccents_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::newRow("accented capital") << "ÉMILE" << "EMILE";
        QTest::newRow("lower case") << "émile" << "EMILE";
        QTest::newRow("cedilla") << "François" << "FRANCOIS";
        QTest::newRow("ligature") << "Œuvre" << "OEUVRE";
        QTest::newRow("blank kept") << "de la Tour" << "DE LA TOUR";
    }
    void sortKeysIgnoreCaseAndAccents()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QCOMPARE(sortKey(text), key);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "test_database.moc"
