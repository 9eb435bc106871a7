#include "messaging/apicryptbridge.h"
#include "messaging/correspondencefolders.h"
#include "messaging/patientfinder.h"
#include "messaging/receivedmail.h"
#include "messaging/resultfiler.h"
#include "platform/places.h"
#include "platform/textlines.h"
#include "receivedmessages.h"
#include "records/currentpatient.h"
#include "support/fixedclock.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;
using namespace orvane::messaging;

// Reading received HPRIM texts and filing them to the patient, without a server.
class TestHprimReceiving : public QObject
{
    Q_OBJECT

private:
    test::FixedClock m_clock{QDateTime(QDate(2006, 3, 20), QTime(9, 0))};
    QTemporaryDir m_folder;
    QList<QStringList> m_answers; // what the patient lookup answers, in turn
    QString m_examens;

    ResultFiler filer(ResultFiler::Decipher decipher = [](const QString &) { return std::nullopt; })
    {
        return ResultFiler(m_examens, [this](const HprimIdentity &) { return m_answers.value(0); }, decipher, m_clock);
    }

    static QByteArray bytesOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        m_examens = m_folder.filePath(QStringLiteral("examens"));
        QDir(m_examens).removeRecursively();
        m_answers = {{QStringLiteral("DUPONT Émile")}};
    }

    // What this program sends is what its receiving side reads: the identity comes back whole.
    void sentHeaderReadBack()
    {
        const auto identity = HprimText::identityOf(splitLines(test::hprimResult(QStringLiteral("DUPONT"),
                                                                              QStringLiteral("Émile"),
                                                                              QStringLiteral("3/5/1948"))));
        QVERIFY(identity);
        QCOMPARE(identity->surname, QStringLiteral("DUPONT"));
        QCOMPARE(identity->forename, QStringLiteral("Émile"));
        QCOMPARE(identity->birthDate, QDate(1948, 5, 3));
    }

    void headerWithoutIdentity_data()
    {
        QTest::addColumn<QString>("text");
        const QStringList header = splitLines(test::hprimResult(QStringLiteral("DUPONT"), QStringLiteral("Émile"),
                                                             QStringLiteral("03/05/1948")));
        QTest::newRow("cut after eleven lines") << QStringList(header.mid(0, 11)).join(QLatin1Char('\n'));
        QStringList noDate = header;
        noDate[6] = QStringLiteral("1948");
        QTest::newRow("no birth date") << noDate.join(QLatin1Char('\n'));
        QTest::newRow("a letter") << QStringLiteral("Cher confrère,\n\nje vous adresse ...\n");
    }

    void headerWithoutIdentity()
    {
        QFETCH(QString, text);
        QVERIFY(!HprimText::identityOf(splitLines(text)));
    }

    void identityCompared()
    {
        const HprimIdentity identity{QStringLiteral("Lefèvre"), QStringLiteral("émile"), QDate(1948, 5, 3)};
        QVERIFY(sameIdentity(identity, QStringLiteral("LEFEVRE"), QStringLiteral("Emile"), 3, 5, 1948));
        QVERIFY(!sameIdentity(identity, QStringLiteral("LEFEVRE"), QStringLiteral("Emile"), 5, 3, 1948));
        QVERIFY(!sameIdentity(identity, QStringLiteral("LEFEVRE"), QStringLiteral("Emilie"), 3, 5, 1948));
    }

    void charsets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("charset");
        QTest::newRow("none said: Windows-1252") << QByteArray("Glyc\xe9mie") << QByteArray();
        QTest::newRow("UTF-8") << QByteArray("Glyc\xc3\xa9mie") << QByteArray("UTF-8");
        QTest::newRow("UTF-8 said, Windows-1252 sent") << QByteArray("Glyc\xe9mie") << QByteArray("utf-8");
        QTest::newRow("unknown charset") << QByteArray("Glyc\xe9mie") << QByteArray("x-labo");
        QTest::newRow("US-ASCII said") << QByteArray("Glyc\xe9mie") << QByteArray("us-ascii");
    }

    void charsets()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, charset);
        QCOMPARE(decodedText(bytes, charset), QStringLiteral("Glycémie"));
    }

    // One patient found: the text goes to his results, named as the results button lists them;
    // none or two: it waits in "A classer" under the header's name.
    void filedByPatient()
    {
        const QByteArray mail = test::plainMessage(test::hprimResult(QStringLiteral("Dupont"), QStringLiteral("Emile"),
                                                                     QStringLiteral("03/05/1948")));
        ResultFiler::Outcome outcome = filer().file(mail);
        const QString filed = QDir(m_examens).filePath(QStringLiteral("DUPONT Émile-examen du 15 3 2006.txt"));
        QCOMPARE(outcome.filed, QStringList{filed});
        QVERIFY(outcome.waiting.isEmpty());
        QVERIFY(fromWindows1252(bytesOf(filed)).contains(QStringLiteral("Glycémie à jeun : 0,95 g/l\r\n")));

        for (const QStringList &keys : {QStringList(), QStringList{QStringLiteral("A"), QStringLiteral("B")}}) {
            m_answers = {keys};
            outcome = filer().file(mail);
            QCOMPARE(outcome.waiting, QStringList{QDir(m_examens).filePath(
                                          QStringLiteral("A classer/Dupont Emile-examen du 15 3 2006.txt"))});
            const ResultFiler::Waiting waiting = filer().waiting(outcome.waiting.first());
            QCOMPARE(waiting.identity->birthDate, QDate(1948, 5, 3));
            QCOMPARE(waiting.reason, keys.isEmpty() ? ResultFiler::noPatient : ResultFiler::severalPatients);
        }
    }

    // The same message filed again (fetched again after an interruption) writes no second file;
    // another result for the patient that day gets a name of its own.
    void filedOnce()
    {
        const auto mail = [](const QString &result) {
            return test::plainMessage(test::hprimResult(QStringLiteral("DUPONT"), QStringLiteral("Emile"),
                                                        QStringLiteral("03/05/1948"), result));
        };
        filer().file(mail(QStringLiteral("a")));
        filer().file(mail(QStringLiteral("a")));
        const ResultFiler::Outcome second = filer().file(mail(QStringLiteral("b")));
        QCOMPARE(QFileInfo(second.filed.value(0)).fileName(), QStringLiteral("DUPONT Émile-examen du 15 3 2006 (2).txt"));
        QCOMPARE(QDir(m_examens).entryList(QDir::Files).size(), 2);
    }

    void attachmentRead()
    {
        const QString text = test::hprimResult(QStringLiteral("DUPONT"), QStringLiteral("Emile"), QStringLiteral("03/05/1948"));
        const ResultFiler::Outcome outcome = filer().file(test::messageWithAttachment(toWindows1252(text)));
        QCOMPARE(outcome.filed.size(), 1);
        QCOMPARE(bytesOf(outcome.filed.first()), toWindows1252(text));
    }

    // What cannot be filed is kept whole, with the reason the list shows.
    void keptWhole_data()
    {
        QTest::addColumn<QByteArray>("mail");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no HPRIM text") << test::plainMessage(QStringLiteral("Bonjour,\r\nà bientôt\r\n"))
                                       << ResultFiler::noHprimText;
        const QString header = test::hprimResult(QStringLiteral("DUPONT"), QStringLiteral("Emile"), QStringLiteral("03/05/1948"));
        QTest::newRow("truncated header")
            << test::plainMessage(QStringList(splitLines(header).mid(0, 8)).join(QStringLiteral("\r\n")))
            << ResultFiler::noHprimText;
        QTest::newRow("enciphered") << test::plainMessage(QStringLiteral("-----DEBUT APICRYPT-----\r\nAbCd\r\n-----FIN-----\r\n"))
                                    << ResultFiler::encipheredWithoutLibrary;
        QTest::newRow("not a message") << QByteArray("\x00\x01\x02", 3) << ResultFiler::unreadable;
    }

    void keptWhole()
    {
        QFETCH(QByteArray, mail);
        QFETCH(QString, reason);
        const ResultFiler::Outcome outcome = filer().file(mail);
        QVERIFY(outcome.filed.isEmpty());
        QCOMPARE(outcome.waiting.size(), 1);
        QVERIFY(outcome.waiting.first().endsWith(QLatin1String(".eml")));
        QCOMPARE(bytesOf(outcome.waiting.first()), mail);
        QCOMPARE(filer().waiting(outcome.waiting.first()).reason, reason);
    }

    // Chosen by the physician: the entry leaves "A classer" under the patient's name.
    void assigned()
    {
        m_answers = {{}};
        const QString waiting = filer().file(test::plainMessage(test::hprimResult(
                                                 QStringLiteral("DUPOND"), QStringLiteral("Emile"), QStringLiteral("03/05/1948"))))
                                    .waiting.first();
        const QString filed = filer().assign(waiting, QStringLiteral("DUPONT Émile"));
        QCOMPARE(QFileInfo(filed).fileName(), QStringLiteral("DUPONT Émile-examen du 15 3 2006.txt"));
        QVERIFY(!QFile::exists(waiting));
        QVERIFY(filer().waitingEntries().isEmpty());
    }

    // The stand-in library deciphers what it enciphered; the clear text is then filed.
    void decipheredByTheLibrary()
    {
        test::TemporaryHome home;
        const QDir program(places::programFolder());
        QVERIFY(program.mkpath(ApicryptBridge::keyFolderName));
        QVERIFY(QFile::copy(QStringLiteral(APICRYPT_STANDIN), program.filePath(ApicryptBridge::libraryFileName)));
        places::registryKey(ApicryptBridge::identifierKey)->setValue(QStringLiteral("Apicrypt"), QStringLiteral("dr.martin"));

        const QString clear = test::hprimResult(QStringLiteral("DUPONT"), QStringLiteral("Emile"), QStringLiteral("03/05/1948"));
        QFile input(program.filePath(QStringLiteral("essai.txt")));
        QVERIFY(input.open(QIODevice::WriteOnly));
        input.write(toWindows1252(clear));
        input.close();
        QLibrary library(program.filePath(ApicryptBridge::libraryFileName));
        const auto encipher = reinterpret_cast<int (*)(const char *, const char *, const char *, const char *,
                                                       const char *, const char *, int)>(library.resolve("APICcrypter2"));
        QVERIFY(encipher);
        encipher(QFile::encodeName(input.fileName()).constData(), "dr.martin", nullptr, nullptr, nullptr, nullptr, 0);
        const QString enciphered = fromWindows1252(bytesOf(input.fileName() + QStringLiteral(".api")));
        QVERIFY(ApicryptBridge::isEnciphered(enciphered));

        const auto decipher = [&](const QString &text) { return ApicryptBridge::decipher(program.path(), text); };
        const ResultFiler::Outcome outcome = filer(decipher).file(test::plainMessage(enciphered));
        QCOMPARE(outcome.filed.size(), 1);
        QCOMPARE(fromWindows1252(bytesOf(outcome.filed.first())), clear);
        QVERIFY(!QFile::exists(program.filePath(ApicryptBridge::decipherInputFileName)));
    }

    // The base's files are found by name and birth date, whatever the case and accents typed.
    void patientFound()
    {
        test::TestDatabase base;
        records::CurrentPatient patient(base.db());
        patient.open();
        const auto add = [&](const QString &nom, const QString &prenom, int year) {
            patient.beginNewFile();
            patient.patients().setText(QStringLiteral("Nom"), nom);
            patient.patients().setText(QStringLiteral("Prénom"), prenom);
            patient.patients().setValue(QStringLiteral("Jour"), 3);
            patient.patients().setValue(QStringLiteral("Mois"), 5);
            patient.patients().setValue(QStringLiteral("Année"), year);
            patient.composeName();
            patient.validate();
        };
        add(QStringLiteral("LEFÈVRE"), QStringLiteral("Émile"), 1948);
        add(QStringLiteral("LEFÈVRE"), QStringLiteral("Émile"), 1950);
        add(QStringLiteral("LEFÈVRES"), QStringLiteral("Émile"), 1948);
        add(QStringLiteral("MARTIN"), QStringLiteral("Jean"), 1948);
        add(QStringLiteral("MARTIN"), QStringLiteral("Jean"), 1948);
        PatientFinder finder(base.db());
        QCOMPARE(finder.keysOf({QStringLiteral("lefevre"), QStringLiteral("EMILE"), QDate(1948, 5, 3)}),
                 QStringList{QStringLiteral("LEFÈVRE Émile")});
        QCOMPARE(finder.keysOf({QStringLiteral("Martin"), QStringLiteral("Jean"), QDate(1948, 5, 3)}).size(), 2);
        QVERIFY(finder.keysOf({QStringLiteral("ZOLA"), QStringLiteral("Emile"), QDate(1948, 5, 3)}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHprimReceiving)
#include "test_hprimreceiving.moc"
