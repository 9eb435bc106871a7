#include "clinical/colourfile.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace orvane;
using namespace orvane::clinical;

Q_DECLARE_METATYPE(std::optional<QColor>)

class TestColourFile : public QObject
{
    Q_OBJECT

private:
    QPalette m_palette;

private slots:
    void initTestCase()
    {
        m_palette.setColor(QPalette::Active, QPalette::Button, QColor(1, 2, 3));
        m_palette.setColor(QPalette::Active, QPalette::Text, QColor(7, 8, 9));
    }

    void codes_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<std::optional<QColor>>("colour");
        QTest::newRow("decimal red") << "255" << std::optional<QColor>(QColor(255, 0, 0));
        QTest::newRow("hexadecimal green") << "$00FF00" << std::optional<QColor>(QColor(0, 255, 0));
        QTest::newRow("button face, negative decimal") << "-2147483633" << std::optional<QColor>(QColor(1, 2, 3));
        QTest::newRow("button face, hexadecimal") << "$8000000F" << std::optional<QColor>(QColor(1, 2, 3));
        QTest::newRow("window text") << "-2147483640" << std::optional<QColor>(QColor(7, 8, 9));
        QTest::newRow("unknown system colour") << "$800000FF" << std::optional<QColor>();
        QTest::newRow("default") << "$20000000" << std::optional<QColor>();
    }
    void codes()
    {
        QFETCH(QString, line);
        QFETCH(std::optional<QColor>, colour);
        const auto code = colourCode(line);
        QVERIFY(code);
        QCOMPARE(colourOfCode(*code, m_palette), colour);
    }

    void lines_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("read");
        QTest::addColumn<QString>("error");
        QTest::newRow("three colours") << QStringList{"255", "$FF00", "0"} << 3 << "";
        QTest::newRow("two lines: nothing applied") << QStringList{"255", "0"} << 0
                                                   << "Indice de liste hors limites (2)";
        QTest::newRow("empty file") << QStringList() << 0 << "Indice de liste hors limites (0)";
        QTest::newRow("second line bad: first kept")
            << QStringList{"255", "vert", "0"} << 1 << "'vert' n'est pas une valeur entière correcte";
        QTest::newRow("beyond 32 bits") << QStringList{"4294967296", "1", "2"} << 0
                                        << "'4294967296' n'est pas une valeur entière correcte";
        QTest::newRow("first line bad") << QStringList{" ", "1", "2"} << 0
                                        << "' ' n'est pas une valeur entière correcte";
    }
    void lines()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, read);
        QFETCH(QString, error);
        const ColourReading reading = readColourLines(lines, 3, m_palette);
        QCOMPARE(reading.colours.size(), read);
        QCOMPARE(reading.error, error);
    }

    void aboutWindowNeedsOnlyTheFirstLine()
    {
        const ColourReading reading = readColourLines({QStringLiteral("$FF")}, 1, m_palette);
        QCOMPARE(reading.error, QString());
        QCOMPARE(reading.colours.value(0), std::optional<QColor>(QColor(255, 0, 0)));
    }

    void file()
    {
        const test::TemporaryHome home;
        QVERIFY(!QFile::exists(colourFilePath()));
        const ColourReading missing = readColourFile(colourFilePath(), 3, m_palette);
        QVERIFY(missing.colours.isEmpty());
        QVERIFY(missing.error.isEmpty());

        QDir().mkpath(QFileInfo(colourFilePath()).absolutePath());
        QFile file(colourFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("12632256\r\n$FFFFFF\r\n-2147483640\r\n");
        file.close();
        const ColourReading reading = readColourFile(colourFilePath(), 3, m_palette);
        QCOMPARE(reading.error, QString());
        QCOMPARE(reading.colours,
                 (QList<std::optional<QColor>>{QColor(192, 192, 192), QColor(255, 255, 255), QColor(7, 8, 9)}));

        // A line of megabytes is refused before anything works on it.
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(5 * 1024 * 1024, '7'));
        file.close();
        const ColourReading huge = readColourFile(colourFilePath(), 3, m_palette);
        QVERIFY2(huge.error.contains(QStringLiteral("trop grand")), qPrintable(huge.error));
        QVERIFY(huge.colours.isEmpty());
    }
};

QTEST_MAIN(TestColourFile)
#include "test_colourfile.moc"
