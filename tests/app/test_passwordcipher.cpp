#include "app/passwordcipher.h"
#include "platform/textcodec.h"

#include <QTest>

using orvane::app::PasswordCipher;

class TestPasswordCipher : public QObject
{
    Q_OBJECT

private slots:
    void enciphersKnownPasswords_data();
    void enciphersKnownPasswords();
    void roundTripsEveryByte();
    void ignoresTrailingLetter();
    void refusesTextsItCannotHaveWritten_data();
    void refusesTextsItCannotHaveWritten();
    void anotherKeyGivesAnotherText();
};

// Expected texts worked out once by following the cipher by hand in a separate script.
void TestPasswordCipher::enciphersKnownPasswords_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("stored");
    QTest::newRow("one letter") << "a" << "io";
    QTest::newRow("lower case word") << "secret" << "jmkdifbpdihc";
    QTest::newRow("letters and digits") << "Orvane2006" << "kajfikgbeiolbdcjjjbf";
    QTest::newRow("accented letter alone") << QStringLiteral("é") << "ag";
    QTest::newRow("accented word") << QStringLiteral("médecin") << "icpeclfpdhlfdo";
    QTest::newRow("euro sign and blank") << QStringLiteral("Zéphyr€!") << "lfkbibklcmecogkd";
}

void TestPasswordCipher::enciphersKnownPasswords()
{
    QFETCH(QString, password);
    QFETCH(QString, stored);
    const PasswordCipher cipher;
    const QByteArray bytes = orvane::toWindows1252(password);
    QCOMPARE(cipher.encipher(bytes), stored);
    QCOMPARE(cipher.encipher(bytes), stored); // a fresh state for every call
    QCOMPARE(cipher.decipher(stored), std::optional<QByteArray>(bytes));
    QCOMPARE(orvane::fromWindows1252(*cipher.decipher(stored)), password);
}

void TestPasswordCipher::roundTripsEveryByte()
{
    QByteArray all;
    for (int b = 255; b >= 0; --b)
        all.append(char(b));
    const PasswordCipher cipher;
    const QString stored = cipher.encipher(all);
    QCOMPARE(stored.size(), 2 * all.size());
    for (const QChar letter : stored)
        QVERIFY2(letter >= QLatin1Char('a') && letter <= QLatin1Char('p'), qPrintable(stored));
    QCOMPARE(cipher.decipher(stored), std::optional<QByteArray>(all));
}

void TestPasswordCipher::ignoresTrailingLetter()
{
    QCOMPARE(PasswordCipher().decipher(QStringLiteral("jmkdifbpdihca")),
             std::optional<QByteArray>(QByteArray("secret")));
}

void TestPasswordCipher::refusesTextsItCannotHaveWritten_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("empty") << "";
    QTest::newRow("single letter") << "i";
    QTest::newRow("letter after p") << "iq";
    QTest::newRow("upper case") << "IO";
    QTest::newRow("digit") << "jmkdif0pdihc";
    QTest::newRow("blank at the end") << "io ";
    QTest::newRow("accented letter") << QStringLiteral("éo");
}

void TestPasswordCipher::refusesTextsItCannotHaveWritten()
{
    QFETCH(QString, stored);
    QCOMPARE(PasswordCipher().decipher(stored), std::nullopt);
}

void TestPasswordCipher::anotherKeyGivesAnotherText()
{
    const PasswordCipher other(QByteArrayLiteral("1234567890"));
    QVERIFY(other.encipher("secret") != PasswordCipher().encipher("secret"));
    QCOMPARE(other.decipher(other.encipher("secret")), std::optional<QByteArray>(QByteArray("secret")));
}

QTEST_GUILESS_MAIN(TestPasswordCipher)
#include "test_passwordcipher.moc"
