#include "clinical/consultationlines.h"
#include "clinical/datecheck.h"
#include "clinical/textfind.h"
#include "clinical/valuelist.h"
#include "platform/textlines.h"
#include "support/fixedclock.h"

#include <QLocale>
#include <QTest>

using namespace orvane;
using namespace orvane::clinical;

namespace {
const QString crlf = QStringLiteral("\r\n");
const QString cr = QStringLiteral("\r");
} // namespace

class TestConsultationText : public QObject
{
    Q_OBJECT

private:
    test::FixedClock m_clock{QDateTime(QDate(2006, 12, 8), QTime(9, 0))};
    int m_asked = 0;
    bool m_answer = true;

    DateCheck dateCheck()
    {
        return DateCheck(m_clock, [this] {
            ++m_asked;
            return m_answer;
        });
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    void init()
    {
        m_asked = 0;
        m_answer = true;
    }

    void dateBlock_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty notes") << "" << crlf + "08/12/2006" + crlf + crlf;
        QTest::newRow("open last line: only ended, no blank line") << "Toux" << "Toux" + crlf + "08/12/2006" + crlf + crlf;
        QTest::newRow("closed last line") << "Toux" + crlf << "Toux" + crlf + crlf + "08/12/2006" + crlf + crlf;
    }
    void dateBlock()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QVERIFY(dateCheck().run(text));
        QCOMPARE(text, expected);
        QCOMPARE(m_asked, 1);
    }

    void dateLineRecognised_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("dated");
        QTest::newRow("alone") << "08/12/2006" << true;
        QTest::newRow("among lines") << "Toux" + crlf + "08/12/2006" + crlf + "Fièvre" << true;
        QTest::newRow("last line open") << "Toux" + crlf + "08/12/2006" << true;
        QTest::newRow("after a lone CR") << "Toux" + cr + "08/12/2006" + cr << true;
        QTest::newRow("leading blanks") << "  08/12/2006" + crlf << false;
        QTest::newRow("inside a line") << "vu le 08/12/2006" + crlf << false;
        QTest::newRow("first no, later yes") << "x08/12/2006" + crlf + "08/12/2006" << true;
    }
    void dateLineRecognised()
    {
        QFETCH(QString, text);
        QFETCH(bool, dated);
        QCOMPARE(dateCheck().isDated(text), dated);
        const QString before = text;
        QCOMPARE(dateCheck().run(text), !dated);
        QCOMPARE(m_asked, dated ? 0 : 1);
        QCOMPARE(text == before, dated);
    }

    void refusedDateChangesNothingAndAsksAgain()
    {
        m_answer = false;
        QString notes = QStringLiteral("Toux");
        QVERIFY(!dateCheck().run(notes));
        QVERIFY(!dateCheck().run(notes));
        QCOMPARE(notes, QStringLiteral("Toux"));
        QCOMPARE(m_asked, 2);
    }

    void measures()
    {
        QCOMPARE(weightEntry(QStringLiteral("72"))->notesLine, QStringLiteral("Poids= 72 Kg"));
        QCOMPARE(heightEntry(QStringLiteral(" 172,5"))->notesLine, QStringLiteral("Taille=  172,5 cm"));
        QCOMPARE(bloodPressureEntry(QStringLiteral("13"), QStringLiteral("8"))->notesLine, QStringLiteral("TA=13/8"));
        QVERIFY(!weightEntry(QString()));
        QVERIFY(!bloodPressureEntry(QStringLiteral("13"), QString()));
    }

    void valueListsRead_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<QString>("error");
        const QString d1 = QStringLiteral("08/12/2006");
        const QString d2 = QStringLiteral("09/01/2007");
        QTest::newRow("two entries") << d1 + cr + "72" + cr + d2 + cr + "73.5" + cr << QStringList{d1, d2}
                                     << QList<double>{72, 73.5} << "";
        QTest::newRow("mixed line ends") << d1 + crlf + "72\n" + d2 + "\n73.5" << QStringList{d1, d2}
                                         << QList<double>{72, 73.5} << "";
        QTest::newRow("empty") << "" << QStringList() << QList<double>() << "";
        QTest::newRow("a lone date") << d1 + cr << QStringList() << QList<double>() << "";
        QTest::newRow("comma stops, first kept")
            << d1 + cr + "72" + cr + d2 + cr + "12,5" + cr + d1 + cr + "80" + cr << QStringList{d1}
            << QList<double>{72} << "'12,5' n'est pas une valeur en virgule flottante correcte";
        QTest::newRow("unit stops at once") << d1 + cr + "72 kg" + cr << QStringList() << QList<double>()
                                            << "'72 kg' n'est pas une valeur en virgule flottante correcte";
        QTest::newRow("odd count ends on an empty value")
            << d1 + cr + "72" + cr + d2 + cr << QStringList{d1} << QList<double>{72}
            << "'' n'est pas une valeur en virgule flottante correcte";
        QTest::newRow("not a finite number") << d1 + cr + "inf" + cr << QStringList() << QList<double>()
                                             << "'inf' n'est pas une valeur en virgule flottante correcte";
    }
    void valueListsRead()
    {
        QFETCH(QString, list);
        QFETCH(QStringList, dates);
        QFETCH(QList<double>, values);
        QFETCH(QString, error);
        const ValueListReading reading = readValueList(list);
        QCOMPARE(reading.error, error);
        QCOMPARE(reading.entries.size(), dates.size());
        for (int i = 0; i < dates.size(); ++i) {
            QCOMPARE(reading.entries.at(i).date, dates.at(i));
            QCOMPARE(reading.entries.at(i).value, values.at(i));
        }
    }

    void textFind_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("searched");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        const QString notes = "Toux" + crlf + "Fièvre 39" + crlf + "Toux grasse" + crlf + "fin";
        QTest::newRow("next line") << notes << 0 << "Fièvre" << 1 << 6 << 9;
        QTest::newRow("caret's own line skipped") << notes << 0 << "Toux" << 2 << 17 << 11;
        QTest::newRow("only on the caret's line") << notes << 18 << "grasse" << -1 << 0 << 0;
        QTest::newRow("empty searched text") << notes << 0 << "" << -1 << 0 << 0;
        QTest::newRow("memo line ends") << QStringLiteral("a\nb\nab") << 0 << "b" << 1 << 2 << 1;
        QTest::newRow("blank lines counted") << "a" + crlf + crlf + crlf + "xa" << 0 << "a" << 3 << 7 << 2;
        QTest::newRow("searched text with a break") << notes << 0 << "Toux\r\nFi" << -1 << 0 << 0;
    }
    void textFind()
    {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(QString, searched);
        QFETCH(int, line);
        QFETCH(int, start);
        QFETCH(int, length);
        const auto found = findLineAfterCaret(text, caret, searched);
        QCOMPARE(found.has_value(), line >= 0);
        if (!found)
            return;
        QCOMPARE(found->number, line);
        QCOMPARE(found->start, qsizetype(start));
        QCOMPARE(found->length, qsizetype(length));
    }
};

QTEST_GUILESS_MAIN(TestConsultationText)
#include "test_consultationtext.moc"
