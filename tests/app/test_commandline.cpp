#include "app/commandline.h"

#include <QTest>

using orvane::app::CommandLine;

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void requests_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("information");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("answered");
        QTest::newRow("nothing: the program starts") << QStringList() << false << false << QString();
        QTest::newRow("help") << QStringList{QStringLiteral("--help")} << true << false << QStringLiteral("--version");
        QTest::newRow("short version") << QStringList{QStringLiteral("-v")} << true << false << QStringLiteral(ORVANE_VERSION);
        QTest::newRow("help beside an unknown option") << QStringList{QStringLiteral("--vite"), QStringLiteral("-h")}
                                                       << true << false << QStringLiteral("--help");
        QTest::newRow("a word with a v is no version") << QStringList{QStringLiteral("-reverse")} << false << true
                                                       << QStringLiteral("option inconnue : reverse");
        QTest::newRow("a file name") << QStringList{QStringLiteral("patients.db")} << false << true
                                     << QStringLiteral("argument inattendu : patients.db");
    }
    void requests()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, information);
        QFETCH(bool, refused);
        QFETCH(QString, answered);
        const CommandLine commandLine(QStringList{QStringLiteral("orvane")} + arguments);
        QCOMPARE(commandLine.asksForInformation(), information);
        QCOMPARE(commandLine.isRefused(), refused);
        if (answered.isEmpty())
            QVERIFY(commandLine.answer().isEmpty());
        else
            QVERIFY2(commandLine.answer().contains(answered), qPrintable(commandLine.answer()));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
