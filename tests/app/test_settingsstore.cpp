#include "shellfixture.h"

#include "app/settingsstore.h"
#include "platform/error.h"
#include "platform/places.h"

#include <QDir>
#include <QSettings>
#include <QTest>

using orvane::app::Letterhead;
using orvane::app::MessagingSettings;
using orvane::app::PrintMargins;
using orvane::app::Settings;
using orvane::app::SettingsStore;

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void noKeyKeepsEveryDefault();
    void derivesTheWorkingFolders();
    void storedTextReplacesOnlyWhenNotEmpty_data();
    void storedTextReplacesOnlyWhenNotEmpty();
    void wholeNumbers_data();
    void wholeNumbers();
    void encipherSettingsNeedTheKeyFolder_data();
    void encipherSettingsNeedTheKeyFolder();
    void messagingAccountLoadsWithoutLetterhead();
    void textWithCommasWrittenByHand();
    void marginsWriterStoresAllFive();
    void writersRoundTrip();
    void unwritableKeyIsReported();

private:
    Settings loaded() const;

    orvane::test::ShellFixture m_fixture;
};

void TestSettingsStore::init()
{
    m_fixture.reset();
}

Settings TestSettingsStore::loaded() const
{
    SettingsStore store(m_fixture.programFolder());
    store.load();
    return store.settings();
}

void TestSettingsStore::noKeyKeepsEveryDefault()
{
    SettingsStore store(m_fixture.programFolder());
    store.load();
    const Settings &settings = store.settings();
    QCOMPARE(settings.letterhead, Letterhead());
    QCOMPARE(settings.letterhead.libre1, QStringLiteral("Sur Rendez-vous"));
    QCOMPARE(settings.letterhead.libre2, QStringLiteral("Fermé le Jeudi Après-Midi"));
    QVERIFY(settings.letterhead.telephone.startsWith(QStringLiteral("Tél. : ")));
    QCOMPARE(settings.margins, PrintMargins());
    QCOMPARE(settings.margins.left, 150);
    QCOMPARE(settings.margins.bottom, 50);
    QCOMPARE(settings.letterhead.aga, 0);
    QCOMPARE(settings.messaging, MessagingSettings());
    QCOMPARE(settings.messaging.encipher, QString()); // neither "oui" nor "non"
    QVERIFY(settings.accessPassword.isEmpty());
    QVERIFY(store.loadProblems().isEmpty());
    QVERIFY(!orvane::places::registryKeyExists(SettingsStore::keyName)); // reading creates nothing
}

void TestSettingsStore::derivesTheWorkingFolders()
{
    m_fixture.storeValue(QStringLiteral("Identifiant"), QStringLiteral("Dr Test"));
    const QDir folder(m_fixture.programFolder());
    const Settings settings = loaded();
    QCOMPARE(settings.folders.receivedLetters, folder.filePath(QStringLiteral("courrier")));
    QCOMPARE(settings.folders.receivedResults, folder.filePath(QStringLiteral("examens")));
    QCOMPARE(settings.folders.sentLetters, folder.filePath(QStringLiteral("courrier envoyé")));
}

void TestSettingsStore::storedTextReplacesOnlyWhenNotEmpty_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty keeps the default") << "Libre 1" << "" << "Sur Rendez-vous";
    QTest::newRow("text replaces the default") << "Libre 1" << "Visites à domicile" << "Visites à domicile";
    QTest::newRow("blank is not empty") << "Libre 2" << " " << " ";
    QTest::newRow("accented name") << QStringLiteral("Diplôme") << "Pédiatre" << "Pédiatre";
    QTest::newRow("access password") << "Mot de Passe Orvane" << "jmkdifbpdihc" << "jmkdifbpdihc";
    QTest::newRow("far too long keeps the default") << "Libre 1" << QString(5 * 1024 * 1024, QLatin1Char('x'))
                                                    << "Sur Rendez-vous";
}

void TestSettingsStore::storedTextReplacesOnlyWhenNotEmpty()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    m_fixture.storeValue(name, stored);
    const Settings settings = loaded();
    const QString actual = name == QLatin1String("Libre 1")  ? settings.letterhead.libre1
                         : name == QLatin1String("Libre 2")  ? settings.letterhead.libre2
                         : name.startsWith(QLatin1String("Dipl")) ? settings.letterhead.diplome
                                                                  : settings.accessPassword;
    QCOMPARE(actual, expected);
}

void TestSettingsStore::wholeNumbers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("reported");
    QTest::newRow("zero bottom margin") << "Marge Bas" << "0" << 0 << false;
    QTest::newRow("left margin") << "Marge Gauche" << "210" << 210 << false;
    QTest::newRow("empty keeps 150") << "Marge Droite" << "" << 150 << false;
    QTest::newRow("leading blanks") << "Espacement" << "  95" << 95 << false;
    QTest::newRow("hexadecimal") << "Intervalle" << "$78" << 120 << false;
    QTest::newRow("negative Aga") << "Aga" << "-1" << -1 << false;
    QTest::newRow("letters keep 50") << "Marge Bas" << "abc" << 50 << true;
    QTest::newRow("decimal point keeps 100") << "Intervalle" << "1.5" << 100 << true;
    QTest::newRow("beyond a whole number keeps 0") << "Aga" << "99999999999" << 0 << true;
}

void TestSettingsStore::wholeNumbers()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    QFETCH(int, expected);
    QFETCH(bool, reported);
    m_fixture.storeValue(name, stored);
    SettingsStore store(m_fixture.programFolder());
    store.load();
    const Settings &settings = store.settings();
    const QHash<QString, int> values = {
        {QStringLiteral("Marge Gauche"), settings.margins.left},
        {QStringLiteral("Marge Droite"), settings.margins.right},
        {QStringLiteral("Marge Bas"), settings.margins.bottom},
        {QStringLiteral("Espacement"), settings.margins.horizontalSpacing},
        {QStringLiteral("Intervalle"), settings.margins.lineSpacing},
        {QStringLiteral("Aga"), settings.letterhead.aga},
    };
    QCOMPARE(values.value(name), expected);
    QCOMPARE(store.loadProblems().size(), reported ? 1 : 0);
    if (reported) {
        QVERIFY(store.loadProblems().first().startsWith(orvane::Error::notWholeNumber(stored).message()));
        QVERIFY(store.loadProblems().first().contains(name));
    }
}

void TestSettingsStore::encipherSettingsNeedTheKeyFolder_data()
{
    QTest::addColumn<bool>("keyFolder");
    QTest::addColumn<QString>("storedEncipher");
    QTest::addColumn<QString>("encipher");
    QTest::addColumn<QString>("apicrypt");
    QTest::newRow("folder, oui") << true << "oui" << "oui" << "dr.test";
    QTest::newRow("no folder, oui") << false << "oui" << "non" << "";
    QTest::newRow("folder, nothing stored") << true << "" << "" << "dr.test";
}

void TestSettingsStore::encipherSettingsNeedTheKeyFolder()
{
    QFETCH(bool, keyFolder);
    QFETCH(QString, storedEncipher);
    QFETCH(QString, encipher);
    QFETCH(QString, apicrypt);
    if (keyFolder)
        QVERIFY(QDir(m_fixture.programFolder()).mkpath(QStringLiteral("clefs")));
    m_fixture.storeValue(QStringLiteral("Cryptage"), storedEncipher);
    m_fixture.storeValue(QStringLiteral("Apicrypt"), QStringLiteral("dr.test"));
    const Settings settings = loaded();
    QCOMPARE(settings.messaging.encipher, encipher);
    QCOMPARE(settings.messaging.apicryptId, apicrypt);
}

void TestSettingsStore::messagingAccountLoadsWithoutLetterhead()
{
    m_fixture.storeValue(QStringLiteral("IdMessagerie"), QStringLiteral("cabinet42"));
    m_fixture.storeValue(QStringLiteral("Serveur"), QStringLiteral("smtp.example.fr"));
    const Settings settings = loaded();
    QCOMPARE(settings.messaging.accountId, QStringLiteral("cabinet42"));
    QCOMPARE(settings.messaging.server, QStringLiteral("smtp.example.fr"));
    QCOMPARE(settings.letterhead.identifiant, Letterhead().identifiant);
}

void TestSettingsStore::textWithCommasWrittenByHand()
{
    m_fixture.writeSettingsFile("[General]\nLibre%202=Ferm\xc3\xa9 le Jeudi, le Samedi\n");
    QCOMPARE(loaded().letterhead.libre2, QStringLiteral("Fermé le Jeudi, le Samedi"));
}

void TestSettingsStore::marginsWriterStoresAllFive()
{
    SettingsStore store(m_fixture.programFolder());
    store.load();
    PrintMargins margins;
    margins.bottom = 0;
    store.writeMargins(margins);
    QCOMPARE(store.settings().margins.bottom, 0);

    const auto key = orvane::places::registryKey(SettingsStore::keyName);
    QCOMPARE(key->value(QStringLiteral("Marge Gauche")).toString(), QStringLiteral("150"));
    QCOMPARE(key->value(QStringLiteral("Marge Droite")).toString(), QStringLiteral("150"));
    QCOMPARE(key->value(QStringLiteral("Marge Bas")).toString(), QStringLiteral("0"));
    QCOMPARE(key->value(QStringLiteral("Espacement")).toString(), QStringLiteral("100"));
    QCOMPARE(key->value(QStringLiteral("Intervalle")).toString(), QStringLiteral("100"));
    QVERIFY(!key->contains(QStringLiteral("Identifiant"))); // only its own group
    QCOMPARE(loaded().margins, margins);
}

void TestSettingsStore::writersRoundTrip()
{
    SettingsStore store(m_fixture.programFolder());
    store.load();
    Letterhead letterhead;
    letterhead.identifiant = QStringLiteral("Docteur Anne LEFÈVRE");
    letterhead.libre1 = QStringLiteral("Consultations libres le matin");
    letterhead.aga = 1;
    MessagingSettings messaging;
    messaging.email = QStringLiteral("a.lefevre@example.fr");
    messaging.accountId = QStringLiteral("alefevre");
    messaging.accountPassword = QStringLiteral("s3cret");
    messaging.server = QStringLiteral("smtp.example.fr");
    messaging.port = QStringLiteral("587");
    messaging.encipher = QStringLiteral("oui");
    messaging.apicryptId = QStringLiteral("a.lefevre");
    messaging.incoming = {QStringLiteral("imap.cabinet.fr"), QStringLiteral("143"), QStringLiteral("STARTTLS"),
                          QStringLiteral("a.lefevre"), QStringLiteral("secret"), QStringLiteral("oui")};
    QVERIFY(QDir(m_fixture.programFolder()).mkpath(QStringLiteral("clefs")));

    store.writeLetterhead(letterhead);
    store.writeMessaging(messaging);
    store.writeAccessPassword(QStringLiteral("io"));
    QCOMPARE(store.settings().letterhead, letterhead);
    QCOMPARE(store.settings().messaging, messaging);

    const Settings reread = loaded();
    QCOMPARE(reread.letterhead, letterhead);
    QCOMPARE(reread.messaging, messaging);
    QCOMPARE(reread.accessPassword, QStringLiteral("io"));
    QCOMPARE(orvane::places::registryKey(SettingsStore::keyName)->value(QStringLiteral("Aga")).toString(),
             QStringLiteral("1"));
}

void TestSettingsStore::unwritableKeyIsReported()
{
    // A folder where the key's file should be: nothing can be written there.
    QVERIFY(QDir().mkpath(m_fixture.settingsFile()));
    SettingsStore store(m_fixture.programFolder());
    store.load();
    PrintMargins margins;
    margins.left = 99;
    QVERIFY_THROWS_EXCEPTION(orvane::Error, store.writeMargins(margins));
    QCOMPARE(store.settings().margins.left, 99); // still in force for this run
    QDir(m_fixture.settingsFile()).removeRecursively();
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settingsstore.moc"
