#include "platform/conversions.h"
#include "platform/error.h"

#include <QTest>

using namespace orvane;

class TestConversions : public QObject
{
    Q_OBJECT

private slots:
    void wholeNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("value");
        QTest::newRow("plain") << "150" << true << qint64(150);
        QTest::newRow("zero") << "0" << true << qint64(0);
        QTest::newRow("negative") << "-1" << true << qint64(-1);
        QTest::newRow("leading blanks") << "  42" << true << qint64(42);
        QTest::newRow("dollar hexadecimal") << "$FF" << true << qint64(255);
        QTest::newRow("empty") << "" << false << qint64(0);
        QTest::newRow("letters") << "12a" << false << qint64(0);
        QTest::newRow("decimal") << "1.5" << false << qint64(0);
        QTest::newRow("trailing blank") << "12 " << false << qint64(0);
    }
    void wholeNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint64, value);
        const auto parsed = parseWholeNumber(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }
    void notWholeNumberCarriesTheProgramsMessage()
    {
        try {
            toWholeNumber(QStringLiteral("19x0"));
            QFAIL("no failure");
        } catch (const Error &error) {
            QCOMPARE(error.message(), QStringLiteral("'19x0' n'est pas une valeur entière correcte"));
        }
    }
    void floatingPointRefusesTheComma()
    {
        QCOMPARE(toFloatingPoint(QStringLiteral("72.5")), 72.5);
        QVERIFY_THROWS_EXCEPTION(Error, toFloatingPoint(QStringLiteral("72,5")));
        QVERIFY_THROWS_EXCEPTION(Error, toFloatingPoint(QStringLiteral("72 kg")));
        for (const char *notFinite : {"inf", "-inf", "nan", "1e400"})
            QVERIFY_THROWS_EXCEPTION(Error, toFloatingPoint(QString::fromLatin1(notFinite)));
    }
};

QTEST_GUILESS_MAIN(TestConversions)
#include "test_conversions.moc"
