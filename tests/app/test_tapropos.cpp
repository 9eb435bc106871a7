#include "app/tapropos.h"
#include "clinical/colourfile.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>

using namespace orvane;

class TestTapropos : public QObject
{
    Q_OBJECT

private:
    static void writeColourFile(const QByteArray &content)
    {
        const QString path = clinical::colourFilePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

private slots:
    void colourOfTheWindow_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("no file") << QByteArray() << QColor(Qt::lightGray);
        QTest::newRow("decimal, blue") << QByteArray("16711680\r\n") << QColor(0, 0, 255);
        QTest::newRow("hexadecimal, red") << QByteArray("$0000FF\r\n") << QColor(255, 0, 0);
        QTest::newRow("not a number") << QByteArray("bleu\r\n") << QColor(Qt::lightGray);
        QTest::newRow("empty file") << QByteArray("\r\n") << QColor(Qt::lightGray);
    }
    void colourOfTheWindow()
    {
        QFETCH(QByteArray, file);
        QFETCH(QColor, colour);
        test::TemporaryHome home;
        if (!file.isEmpty())
            writeColourFile(file);
        app::Tapropos about;
        QCOMPARE(about.palette().color(QPalette::Window), colour);
        QCOMPARE(about.windowTitle(), QStringLiteral("A propos"));
        QStringList texts;
        for (QLabel *label : about.findChildren<QLabel *>())
            texts << label->text();
        QVERIFY(texts.contains(QStringLiteral("Orvane 2006/Win95-NT")));
        QVERIFY(texts.contains(QStringLiteral("Version 1-0")));
    }
};

QTEST_MAIN(TestTapropos)
#include "test_tapropos.moc"
