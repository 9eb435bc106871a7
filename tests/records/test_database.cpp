#include "platform/error.h"
#include "platform/places.h"
#include "records/database.h"
#include "records/schema.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace orvane;
using namespace orvane::records;

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    void firstOpenCreatesEveryTableWithItsFields()
    {
        test::TemporaryHome home;
        Database db(AliasSettings::load(places::programFolder()), places::programFolder());
        QVERIFY(QFile::exists(places::inProgramFolder(QStringLiteral("Data/orvane.sqlite"))));
        for (const TableDef &table : schema()) {
            QSqlQuery query(db.connection());
            QVERIFY(query.exec(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(SqlDialect::quote(table.name))));
            const QSqlRecord record = query.record();
            for (const FieldDef &field : table.fields)
                QVERIFY2(record.contains(field.name), qPrintable(table.name + QLatin1Char('.') + field.name));
        }
        QCOMPARE(schema().size(), 12);
    }

    void aliasFileNamesAnotherBase()
    {
        test::TemporaryHome home;
        QFile ini(places::inProgramFolder(QStringLiteral("alias.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[orvane]\nDriver=QSQLITE\nDatabase=autre/base.sqlite\n");
        ini.close();
        Database db(AliasSettings::load(places::programFolder()), places::programFolder());
        QVERIFY(QFile::exists(places::inProgramFolder(QStringLiteral("autre/base.sqlite"))));
    }

    void aFileThatIsNotADatabaseIsNamedInTheMessage()
    {
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
        }
        QFile again(path);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), QByteArray(4096, 'x'));
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
