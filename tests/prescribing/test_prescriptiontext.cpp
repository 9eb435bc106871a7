#include "prescribing/prescriptiontext.h"

#include <QTest>

using namespace orvane::prescribing;

class TestPrescriptionText : public QObject
{
    Q_OBJECT

private slots:
    void append_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("result");
        QTest::newRow("empty text") << "" << "Toux" << "Toux\r\n";
        QTest::newRow("last line open") << "Fièvre" << "Toux" << "Fièvre\r\nToux";
        QTest::newRow("ends with CR LF") << "Fièvre\r\n" << "Toux" << "Fièvre\r\nToux\r\n";
        QTest::newRow("empty line ends the last line") << "Fièvre" << "" << "Fièvre\r\n";
        QTest::newRow("empty line after a break") << "Fièvre\r\n" << "" << "Fièvre\r\n\r\n";
        QTest::newRow("ends with a lone CR") << "Fièvre\r" << "Toux" << "Fièvre\rToux\r\n";
    }
    void append()
    {
        QFETCH(QString, text);
        QFETCH(QString, line);
        QFETCH(QString, result);
        QCOMPARE(withLineAppended(text, line), result);
    }

    void lines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("one open line") << "a" << QStringList{"a"};
        QTest::newRow("break after the last line") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("mixed breaks") << "a\rb\nc\r\nd" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("empty lines inside") << "a\r\n\r\n\r\nb" << QStringList{"a", "", "", "b"};
        QTest::newRow("only a break") << "\r\n" << QStringList{""};
    }
    void lines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(textLines(text), lines);
        QCOMPARE(textLines(linesAsText(lines)), lines);
    }

    void drugLog()
    {
        QCOMPARE(withDrugLogged(QStringLiteral("Toux\r\n"), QStringLiteral("DOLIPRANE")),
                 QStringLiteral("Toux\r\n\rDOLIPRANE"));
        QCOMPARE(withDrugLogged(QString(), QString()), QStringLiteral("\r"));
    }
};

QTEST_APPLESS_MAIN(TestPrescriptionText)
#include "test_prescriptiontext.moc"
