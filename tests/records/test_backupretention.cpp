#include "records/backupretention.h"

#include <QTest>
#include <algorithm>

using namespace orvane::records;

Q_DECLARE_METATYPE(QList<QDate>)

namespace {

QList<QDate> dates(const QStringList &texts)
{
    QList<QDate> result;
    for (const QString &text : texts)
        result.append(QDate::fromString(text, Qt::ISODate));
    return result;
}

QList<QDate> sorted(const QSet<QDate> &set)
{
    QList<QDate> result(set.cbegin(), set.cend());
    std::sort(result.begin(), result.end());
    return result;
}

} // namespace

class TestBackupRetention : public QObject
{
    Q_OBJECT

private slots:
    void keepsWhatTheRuleNames_data()
    {
        QTest::addColumn<QList<QDate>>("copies");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QList<QDate>>("kept");

        QTest::newRow("fewer than seven")
            << dates({"2026-05-08", "2026-05-09", "2026-05-10"}) << QDate(2026, 5, 10)
            << dates({"2026-05-08", "2026-05-09", "2026-05-10"});
        // Holidays leave gaps: the seven most recent copies are kept, not the last seven days.
        QTest::newRow("seven most recent across a gap")
            << dates({"2026-04-01", "2026-04-20", "2026-04-21", "2026-04-22", "2026-04-23", "2026-04-24",
                      "2026-05-10", "2026-05-11", "2026-05-12"})
            << QDate(2026, 5, 12)
            << dates({"2026-04-01", "2026-04-21", "2026-04-22", "2026-04-23", "2026-04-24", "2026-05-10",
                      "2026-05-11", "2026-05-12"});
        QTest::newRow("first of each of the last twelve months")
            << dates({"2025-03-15", "2025-03-20", "2025-04-15", "2025-04-20", "2025-05-15", "2025-05-20",
                      "2026-03-02", "2026-03-03", "2026-03-04", "2026-03-05", "2026-03-06", "2026-03-07",
                      "2026-03-08"})
            << QDate(2026, 3, 8)
            << dates({"2025-03-15", "2025-04-15", "2025-05-15", "2026-03-02", "2026-03-03", "2026-03-04",
                      "2026-03-05", "2026-03-06", "2026-03-07", "2026-03-08"});
        QTest::newRow("month thirteen goes unless it starts a year")
            << dates({"2025-01-10", "2025-02-10", "2025-03-10", "2025-04-10", "2025-05-10", "2025-06-10",
                      "2025-07-10", "2025-08-10", "2025-09-10", "2025-10-10", "2025-11-10", "2025-12-10",
                      "2026-01-10", "2026-02-10", "2026-03-10"})
            << QDate(2026, 3, 10)
            << dates({"2025-01-10", "2025-04-10", "2025-05-10", "2025-06-10", "2025-07-10", "2025-08-10",
                      "2025-09-10", "2025-10-10", "2025-11-10", "2025-12-10", "2026-01-10", "2026-02-10",
                      "2026-03-10"});
        QTest::newRow("first of every year for ever")
            << dates({"2018-06-10", "2018-07-01", "2019-03-03", "2019-05-05", "2026-05-01", "2026-05-02",
                      "2026-05-03", "2026-05-04", "2026-05-05", "2026-05-06", "2026-05-07", "2026-05-08"})
            << QDate(2026, 5, 8)
            << dates({"2018-06-10", "2019-03-03", "2026-05-01", "2026-05-02", "2026-05-03", "2026-05-04",
                      "2026-05-05", "2026-05-06", "2026-05-07", "2026-05-08"});
        QTest::newRow("copies after today are kept")
            << dates({"2026-05-01", "2026-05-02", "2026-05-03", "2026-05-04", "2026-05-05", "2026-05-06",
                      "2026-05-07", "2026-05-08", "2027-01-01"})
            << QDate(2026, 5, 8)
            << dates({"2026-05-01", "2026-05-02", "2026-05-03", "2026-05-04", "2026-05-05", "2026-05-06",
                      "2026-05-07", "2026-05-08", "2027-01-01"});
    }
    void keepsWhatTheRuleNames()
    {
        QFETCH(QList<QDate>, copies);
        QFETCH(QDate, today);
        QFETCH(QList<QDate>, kept);
        QCOMPARE(sorted(backupsToKeep(copies, today)), kept);
    }
};

QTEST_GUILESS_MAIN(TestBackupRetention)
#include "test_backupretention.moc"
