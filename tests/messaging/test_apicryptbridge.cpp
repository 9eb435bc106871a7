#include "messaging/apicryptbridge.h"
#include "platform/places.h"
#include "platform/textlines.h"
#include "support/scripteddialogservice.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace orvane;
using namespace orvane::messaging;

namespace {

typedef int (*DecipherFunction)(const char *, const char *, const char *);

const QStringList hprimLines{QString(), QStringLiteral("DUPONT"), QStringLiteral("Généraliste"),
                             QStringLiteral("****FIN****"), QStringLiteral("****FINFICHIER****")};

// A message box keeps the event loop running while it is open, so timer ticks arrive meanwhile.
class MessageLoopDialogs final : public DialogService
{
public:
    int messages = 0;
    void showMessage(QWidget *, const QString &) override
    {
        ++messages;
        QTest::qWait(350);
    }
    bool askYesNo(QWidget *, const QString &, Icon) override { return false; }
    void showError(const QString &) override {}
    std::optional<QString> askText(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFileToOpen(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFileToSave(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QFont> chooseFont(QWidget *, const QFont &) override { return {}; }
    bool setUpPrinter(QWidget *, QPrinter &) override { return false; }
    int execModal(QDialog &) override { return 0; }
};

} // namespace

class TestApicryptBridge : public QObject
{
    Q_OBJECT

private:
    test::TemporaryHome m_home;
    QString m_folder;

    QString inFolder(const QString &name) const { return m_folder + QLatin1Char('/') + name; }
    void installStandIn() { QVERIFY(QFile::copy(QStringLiteral(APICRYPT_STANDIN), inFolder(ApicryptBridge::libraryFileName))); }
    void makeKeyFolder() { QVERIFY(QDir(m_folder).mkpath(ApicryptBridge::keyFolderName)); }
    void registerUser(const QString &user)
    {
        places::registryKey(ApicryptBridge::identifierKey)->setValue(QStringLiteral("Apicrypt"), user);
    }

private slots:
    // The settings files stay where the first use put them, so each case empties them instead.
    void init()
    {
        QDir(places::driveC()).removeRecursively();
        m_folder = places::programFolder();
        places::registryKey(ApicryptBridge::identifierKey)->clear();
        places::registryKey(QStringLiteral("Orvane 32"))->clear();
    }

    void withoutTheLibraryNothingStarts()
    {
        test::ScriptedDialogService dialogs;
        ApicryptBridge bridge(m_folder, dialogs, nullptr);
        bridge.start(hprimLines);
        QVERIFY(!QFile::exists(inFolder(ApicryptBridge::inputFileName)));
        QVERIFY(!bridge.encipheringTimer()->isActive());
        QCOMPARE(bridge.encipheringTimer()->objectName(), QStringLiteral("Timer2"));
        QCOMPARE(bridge.outputTimer()->interval(), 100);
    }

    void roundTripThroughTheLibrary()
    {
        installStandIn();
        makeKeyFolder();
        registerUser(QStringLiteral("dr.martin"));
        test::ScriptedDialogService dialogs;
        ApicryptBridge bridge(m_folder, dialogs, nullptr);
        QSignalSpy spy(&bridge, &ApicryptBridge::enciphered);
        bridge.start(hprimLines);
        QCOMPARE(QFile(inFolder(ApicryptBridge::inputFileName)).size(), windowsTextBytes(hprimLines).size());
        QTRY_COMPARE(spy.count(), 1);
        QVERIFY(!bridge.encipheringTimer()->isActive());
        QVERIFY(!bridge.outputTimer()->isActive());
        QVERIFY(dialogs.requests().isEmpty());

        const QStringList enciphered = spy.at(0).at(0).toStringList();
        QVERIFY(enciphered.size() > 2);
        QVERIFY(!enciphered.join(QLatin1Char('\n')).contains(QStringLiteral("DUPONT")));

        QLibrary library(inFolder(ApicryptBridge::libraryFileName));
        const auto decipher = reinterpret_cast<DecipherFunction>(library.resolve("orvaneStandInDecipher"));
        QVERIFY(decipher);
        const QByteArray output = QFile::encodeName(inFolder(QStringLiteral("clair.txt")));
        QCOMPARE(decipher(QFile::encodeName(inFolder(ApicryptBridge::outputFileName)).constData(), output.constData(),
                          "dr.martin"),
                 0);
        QFile plain(inFolder(QStringLiteral("clair.txt")));
        QVERIFY(plain.open(QIODevice::ReadOnly));
        QCOMPARE(plain.readAll(), windowsTextBytes(hprimLines));
    }

    void missingKeyFolderIsReportedOncePerBuild()
    {
        installStandIn();
        registerUser(QStringLiteral("dr.martin"));
        test::ScriptedDialogService dialogs;
        ApicryptBridge bridge(m_folder, dialogs, nullptr);
        bridge.start(hprimLines);
        QTRY_VERIFY(!bridge.encipheringTimer()->isActive());
        QTest::qWait(300);
        QCOMPARE(dialogs.texts(), QStringList{"Le répertoire <Clefs> d'Apicrypt n'existe pas"});
        QVERIFY(!bridge.outputTimer()->isActive());
        bridge.start(hprimLines);
        QTRY_COMPARE(dialogs.requests().size(), 2);
    }

    void identifierComesOnlyFromTheSiblingProductsKey()
    {
        installStandIn();
        makeKeyFolder();
        places::registryKey(QStringLiteral("Orvane 32"))->setValue(QStringLiteral("Apicrypt"), QStringLiteral("dr.martin"));
        test::ScriptedDialogService dialogs;
        ApicryptBridge bridge(m_folder, dialogs, nullptr);
        bridge.start(hprimLines);
        QTRY_VERIFY(bridge.outputTimer()->isActive());
        QCOMPARE(dialogs.texts(), QStringList{"Il n'y a pas d'utilisateur enregistré pour Apicrypt"});
        QTest::qWait(300);
        QVERIFY(!QFile::exists(inFolder(ApicryptBridge::outputFileName)));
        QVERIFY(bridge.outputTimer()->isActive());
    }

    void aSecondBuildRemovesTheOldFilesFirst()
    {
        QVERIFY(QDir(m_folder).mkpath(QStringLiteral(".")));
        QFile lib(inFolder(ApicryptBridge::libraryFileName));
        QVERIFY(lib.open(QIODevice::WriteOnly)); // present but not a library: nothing is called
        lib.close();
        makeKeyFolder();
        registerUser(QStringLiteral("dr.martin"));
        test::ScriptedDialogService dialogs;
        ApicryptBridge bridge(m_folder, dialogs, nullptr);
        writeWindowsTextFile(inFolder(ApicryptBridge::outputFileName), {QStringLiteral("ancienne réponse")});
        QSignalSpy spy(&bridge, &ApicryptBridge::enciphered);
        bridge.start({QStringLiteral("nouveau")});
        QVERIFY(!QFile::exists(inFolder(ApicryptBridge::outputFileName)));
        QCOMPARE(readWindowsTextFile(inFolder(ApicryptBridge::inputFileName)), QStringList{"nouveau"});
        QTRY_VERIFY(bridge.outputTimer()->isActive());
        QCOMPARE(spy.count(), 0);
        writeWindowsTextFile(inFolder(ApicryptBridge::outputFileName), {QStringLiteral("réponse")});
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toStringList(), QStringList{"réponse"});
    }

    void aTickDuringAStepDoesNotStartItAgain()
    {
        installStandIn();
        makeKeyFolder();
        MessageLoopDialogs dialogs;
        ApicryptBridge bridge(m_folder, dialogs, nullptr);
        bridge.start(hprimLines);
        QTRY_VERIFY(bridge.outputTimer()->isActive());
        QTest::qWait(300);
        QCOMPARE(dialogs.messages, 1);
    }

    void filesOfAnEarlierRunGoAtStart()
    {
        writeWindowsTextFile(inFolder(ApicryptBridge::inputFileName), {QStringLiteral("a")});
        writeWindowsTextFile(inFolder(ApicryptBridge::outputFileName), {QStringLiteral("b")});
        test::ScriptedDialogService dialogs;
        ApicryptBridge bridge(m_folder, dialogs, nullptr);
        QVERIFY(!QFile::exists(inFolder(ApicryptBridge::inputFileName)));
        QVERIFY(!QFile::exists(inFolder(ApicryptBridge::outputFileName)));
    }
};

QTEST_MAIN(TestApicryptBridge)
#include "test_apicryptbridge.moc"
