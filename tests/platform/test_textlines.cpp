#include "platform/error.h"
#include "platform/textlines.h"
#include "support/testenvironment.h"

#include <QTest>

using namespace orvane;

namespace {
const QString crlf = QStringLiteral("\r\n");
const QString cr = QStringLiteral("\r");
} // namespace

class TestTextLines : public QObject
{
    Q_OBJECT

private:
    orvane::test::TemporaryHome m_home;

private slots:
    void lineAppend_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty text") << "" << "Toux" << "Toux" + crlf;
        QTest::newRow("open last line") << "Fièvre" << "Toux" << "Fièvre" + crlf + "Toux";
        QTest::newRow("ends with CR LF") << "Fièvre" + crlf << "Toux" << "Fièvre" + crlf + "Toux" + crlf;
        QTest::newRow("empty line ends an open line") << "Fièvre" << "" << "Fièvre" + crlf;
        QTest::newRow("empty line after a break") << "Fièvre" + crlf << "" << "Fièvre" + crlf + crlf;
        QTest::newRow("ends with a lone CR") << "Doliprane" + cr << "Toux" << "Doliprane" + cr + "Toux" + crlf;
        QTest::newRow("ends with a lone LF") << "a\n" << "b" << "a\nb" + crlf;
    }
    void lineAppend()
    {
        QFETCH(QString, text);
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QCOMPARE(withLineAppended(text, line), expected);
    }

    void lastLineOfAList_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("last");
        QTest::newRow("empty") << "" << "";
        QTest::newRow("CR LF ended") << "d" + crlf + "72" + crlf << "72";
        QTest::newRow("open last line") << "d\n72" << "72";
        QTest::newRow("blank last line") << "d" + cr + cr << "";
        QTest::newRow("empty value list") << "" << "";
        QTest::newRow("entries ended by CR") << "01/12/2006\r70\r08/12/2006\r72\r" << "72";
        QTest::newRow("LF line ends") << "08/12/2006\n172\n" << "172";
        QTest::newRow("CR LF, last line not ended") << "08/12/2006\r\n172" << "172";
        QTest::newRow("blank line typed at the end") << "08/12/2006\r72\r\r\n" << "";
    }
    void lastLineOfAList()
    {
        QFETCH(QString, list);
        QFETCH(QString, last);
        QCOMPARE(lastLine(list), last);
    }

    void linesOfAText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("one line") << "a" << QStringList{"a"};
        QTest::newRow("ended by CR LF") << "a\r\n" << QStringList{"a"};
        QTest::newRow("lone CR and LF") << "a\rb\nc" << QStringList{"a", "b", "c"};
        QTest::newRow("empty line kept") << "a\r\n\r\nb\r\n" << QStringList{"a", "", "b"};
        QTest::newRow("only a break") << "\n" << QStringList{""};
        QTest::newRow("empty text") << QString() << QStringList{};
        QTest::newRow("two lines by CR LF") << "a\r\nb" << QStringList{"a", "b"};
        QTest::newRow("final break not counted") << "a\r\n" << QStringList{"a"};
        QTest::newRow("final empty line counted") << "a\r\n\r\n" << QStringList{"a", ""};
        QTest::newRow("lone LF and CR") << "a\nb\rc" << QStringList{"a", "b", "c"};
    }
    void linesOfAText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(splitLines(text), lines);
    }

    void filesHoldWindowsLines()
    {
        QCOMPARE(windowsTextBytes({QStringLiteral("Généraliste"), QString()}), QByteArray("G\xe9n\xe9raliste\r\n\r\n"));
        QVERIFY_THROWS_EXCEPTION(orvane::Error, readWindowsTextFile(m_home.path() + QStringLiteral("/none.txt")));
        QVERIFY_THROWS_EXCEPTION(orvane::Error, writeWindowsTextFile(m_home.path() + QStringLiteral("/no/folder.txt"), {}));
    }
};

QTEST_GUILESS_MAIN(TestTextLines)
#include "test_textlines.moc"
