#include "app/startinglists.h"
#include "records/database.h"
#include "records/schema.h"
#include "records/sqldialect.h"
#include "records/table.h"
#include "support/testdatabase.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>

using namespace orvane;
using namespace orvane::app;
using namespace orvane::records;

class TestStartingLists : public QObject
{
    Q_OBJECT

private:
    static QStringList column(Database &db, const QString &table, const QString &field)
    {
        QSqlQuery query(db.connection());
        if (!query.exec(QStringLiteral("SELECT %1 FROM %2").arg(SqlDialect::quote(field), SqlDialect::quote(table))))
            qFatal("%s", qPrintable(table));
        QStringList values;
        while (query.next())
            values.append(query.value(0).toString());
        return values;
    }

private slots:
    void everyValueFitsItsField()
    {
        const QList<StartingList> lists = startingLists();
        QCOMPARE(lists.size(), 4);
        for (const StartingList &list : lists) {
            const QList<FieldDef> &fields = tableDef(list.table).fields;
            QVERIFY2(!list.rows.isEmpty(), qPrintable(list.table));
            for (const QStringList &row : list.rows) {
                QVERIFY2(row.size() <= fields.size(), qPrintable(row.join(QLatin1Char('|'))));
                for (int i = 0; i < row.size(); ++i)
                    QVERIFY2(row.at(i).size() <= fields.at(i).size && !row.at(i).trimmed().isEmpty(),
                             qPrintable(row.at(i)));
            }
        }
    }

    // A new practice gets every list once; what the physician deletes never comes back.
    void aNewBaseGetsTheListsOnce()
    {
        test::TestDatabase base;
        fillStartingLists(base.db());
        const QStringList drugs = column(base.db(), tables::drugs, QStringLiteral("Marque"));
        QVERIFY2(drugs.size() >= 100, qPrintable(QString::number(drugs.size())));
        QVERIFY(drugs.contains(QStringLiteral("AMOXICILLINE 1 g cp")));
        QVERIFY(!column(base.db(), tables::drugs, QStringLiteral("Posologie")).contains(QString()));
        QCOMPARE(column(base.db(), tables::drugs, QStringLiteral("Classe")).filter(QRegularExpression(QStringLiteral("."))),
                 QStringList());
        for (const auto &[table, field] : {std::pair{tables::reasons, "Motif"}, std::pair{tables::examinations, "Laf"},
                                           std::pair{tables::historyWords, "Mots"}})
            QVERIFY2(column(base.db(), table, QLatin1String(field)).size() >= 20, qPrintable(table));

        Table list(base.db(), tables::drugs);
        list.open();
        QVERIFY(list.findKey({QStringLiteral("AMOXICILLINE 1 g cp")}));
        list.remove();
        base.close();
        fillStartingLists(base.db());
        const QStringList after = column(base.db(), tables::drugs, QStringLiteral("Marque"));
        QCOMPARE(after.size(), drugs.size() - 1);
        QVERIFY(!after.contains(QStringLiteral("AMOXICILLINE 1 g cp")));
    }
};

QTEST_GUILESS_MAIN(TestStartingLists)
#include "test_startinglists.moc"
