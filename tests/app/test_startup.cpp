#include "shellfixture.h"
#include "support/fixedclock.h"
#include "support/scripteddialogservice.h"

#include "app/programpicture.h"
#include "app/startup.h"
#include "app/tapropos.h"
#include "app/tdialogues.h"
#include "app/tlogo.h"
#include "app/tmotdepasse.h"
#include "clinical/tacuitearch.h"
#include "clinical/tbetablocants.h"
#include "messaging/tfrmmessageeditor.h"
#include "messaging/tparamessage.h"
#include "prescribing/timprime.h"
#include "prescribing/tmarges.h"
#include "prescribing/tordonnance.h"
#include "records/trechercher.h"
#include "platform/places.h"
#include "records/alias.h"
#include "records/database.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QImageReader>
#include <QProcess>
#include <QScopeGuard>
#include <QLabel>
#include <QMessageBox>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QWindow>

using orvane::app::Startup;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void pictureDecodes();
    void splashShowsThePicture();
    void splashIsUpThroughThePause();
    void aMessageTakesTheSplashAway();
    void startsWithEveryWindowHidden();
    void refusedGateEndsTheProgram();
    void unopenableBaseEndsWithOneMessage();
    void unreachableServerEndsWithOneMessage();
    void anEmptyBaseFileIsNotTakenForANewBase();
    void unwritableBaseIsSaidAtStart_data();
    void unwritableBaseIsSaidAtStart();

private:
    orvane::test::ShellFixture m_fixture;
    orvane::test::ScriptedDialogService m_dialogs;
    orvane::test::FixedClock m_clock;
};

void TestStartup::init()
{
    m_fixture.reset();
    m_dialogs.clear();
}

void TestStartup::pictureDecodes()
{
    QVERIFY(QImageReader::supportedImageFormats().contains("jpeg"));
    QImageReader reader(orvane::app::programPicturePath(), "jpeg");
    QVERIFY2(reader.canRead(), qPrintable(reader.errorString()));
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    const QImage picture = reader.read();
    QVERIFY(!picture.isNull());
    QVERIFY(picture.width() > 100 && picture.height() > 100);
}

void TestStartup::splashShowsThePicture()
{
    orvane::app::TLogo logo;
    QVERIFY(logo.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(logo.windowFlags() & Qt::WindowStaysOnTopHint);
    const auto *picture = logo.findChild<QLabel *>(QStringLiteral("Image1"));
    QVERIFY(picture && !picture->pixmap().isNull());
    QCOMPARE(picture->pixmap().size(), orvane::app::programPicture().size());
}

void TestStartup::splashIsUpThroughThePause()
{
    m_dialogs.answerModal([](QDialog &password) {
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(password.focusWidget(), Qt::Key_Return);
    });
    // Ticks only while the window system's events are handled, as they must be for the splash to be painted.
    int splashShownTicks = 0;
    QTimer ticks;
    connect(&ticks, &QTimer::timeout, this, [&splashShownTicks] {
        for (const QWidget *window : QApplication::topLevelWidgets()) {
            if (window->inherits("orvane::app::TLogo") && window->isVisible() && window->windowHandle()->isExposed())
                ++splashShownTicks;
        }
    });
    ticks.start(10);
    Startup startup(m_dialogs, m_clock, std::chrono::milliseconds(300));
    QVERIFY(startup.start());
    QVERIFY2(splashShownTicks >= 5, qPrintable(QString::number(splashShownTicks)));
}

void TestStartup::aMessageTakesTheSplashAway()
{
    orvane::app::TLogo logo;
    logo.showNow();
    bool splashUp = true;
    QTimer::singleShot(0, this, [&] {
        splashUp = logo.isVisible();
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->accept();
    });
    orvane::QtDialogService().showError(QStringLiteral("Le fichier de couleurs ne peut pas être lu."));
    QVERIFY(!splashUp);
}

void TestStartup::startsWithEveryWindowHidden()
{
    m_dialogs.answerModal([](QDialog &password) {
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(password.focusWidget(), Qt::Key_Return);
    });
    Startup startup(m_dialogs, m_clock, std::chrono::milliseconds(0));
    QVERIFY(startup.start());
    QVERIFY(!startup.isTerminated());
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("ORVANE 2006"));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    for (const QWidget *window : QApplication::topLevelWidgets())
        QVERIFY2(!window->inherits("orvane::app::TLogo"), "the splash outlived the start");

    const orvane::app::TOrvane *main = startup.mainWindow();
    QVERIFY(main->isVisible());
    const orvane::app::ProgramWindows &windows = main->windows();
    const QList<const QWidget *> created = {windows.apropos,     windows.betablocants,  windows.acuitearch,
                                             windows.imprime,     windows.rechercher,    windows.marges,
                                             windows.ordonnance,  windows.dialogues,     windows.paramessage,
                                             windows.messageEditor, windows.motdepasse};
    const QStringList captions = {"A propos", QStringLiteral("Bêtablocants"), "", "Imprime", "rechercher",
                                  "Marges (mm)", QStringLiteral("EnTête Ordonnance"), "Ajouter la date ?",
                                  QStringLiteral("Paramètres de messagerie"), "HPRIM", "Orvane 2006"};
    for (int i = 0; i < created.size(); ++i) {
        QVERIFY2(created.at(i), qPrintable(captions.at(i)));
        QCOMPARE(created.at(i)->windowTitle(), captions.at(i));
        QVERIFY(!created.at(i)->isVisible());
        QCOMPARE(created.at(i)->parentWidget(), main);
    }
}

void TestStartup::refusedGateEndsTheProgram()
{
    m_dialogs.answerModal([](QDialog &password) { password.close(); });
    Startup startup(m_dialogs, m_clock, std::chrono::milliseconds(0));
    QVERIFY(startup.start());
    QVERIFY(startup.isTerminated());
    QCOMPARE(m_dialogs.requests().size(), 1);
}

void TestStartup::unopenableBaseEndsWithOneMessage()
{
    // A file where the base's folder should be.
    QFile blocker(QDir(m_fixture.programFolder()).filePath(QStringLiteral("Data")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    Startup startup(m_dialogs, m_clock, std::chrono::milliseconds(0));
    QVERIFY(!startup.start());
    QCOMPARE(startup.mainWindow(), nullptr);
    QCOMPARE(m_dialogs.requests().size(), 1);
    QCOMPARE(m_dialogs.requests().first().kind, QStringLiteral("error"));
    QVERIFY2(m_dialogs.requests().first().text.contains(QStringLiteral("orvane.sqlite")),
             qPrintable(m_dialogs.requests().first().text));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QVERIFY(!orvane::places::registryKeyExists(QStringLiteral("Orvane 32")));
}

void TestStartup::unreachableServerEndsWithOneMessage()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    QFile alias(QDir(m_fixture.programFolder()).filePath(QStringLiteral("alias.ini")));
    QVERIFY(alias.open(QIODevice::WriteOnly));
    alias.write(QStringLiteral("[orvane]\nDriver=QPSQL\nHost=127.0.0.1\nPort=%1\nDatabase=orvane\nUser=orvane\n")
                    .arg(port)
                    .toUtf8());
    alias.close();

    Startup startup(m_dialogs, m_clock, std::chrono::milliseconds(0));
    QVERIFY(!startup.start());
    QCOMPARE(startup.mainWindow(), nullptr);
    QCOMPARE(m_dialogs.requests().size(), 1);
    QCOMPARE(m_dialogs.requests().first().kind, QStringLiteral("error"));
    const QString message = m_dialogs.requests().first().text;
    QVERIFY2(message.startsWith(QStringLiteral("La base de données orvane sur le serveur 127.0.0.1:%1 ne peut pas être "
                                               "ouverte : le serveur ne répond pas")
                                    .arg(port)),
             qPrintable(message));
    // Nothing made in its place.
    QVERIFY(!QFile::exists(QDir(m_fixture.programFolder()).filePath(QStringLiteral("Data"))));
    QVERIFY(!orvane::places::registryKeyExists(QStringLiteral("Orvane 32")));
}

void TestStartup::anEmptyBaseFileIsNotTakenForANewBase()
{
    const QString base = QDir(m_fixture.programFolder()).filePath(QStringLiteral("Data/orvane.sqlite"));
    QVERIFY(QDir().mkpath(QFileInfo(base).absolutePath()));
    QFile empty(base);
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    Startup startup(m_dialogs, m_clock, std::chrono::milliseconds(0));
    QVERIFY(!startup.start());
    QCOMPARE(m_dialogs.requests().size(), 1);
    QVERIFY2(m_dialogs.requests().first().text.startsWith(
                 QStringLiteral("Le fichier de la base de données %1 est vide (0 octet)").arg(QDir::toNativeSeparators(base))),
             qPrintable(m_dialogs.requests().first().text));
    QCOMPARE(QFileInfo(base).size(), 0);
}

void TestStartup::unwritableBaseIsSaidAtStart_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only disk") << true << QStringLiteral("est en lecture seule.");
    QTest::newRow("full disk") << false << QStringLiteral("est plein (il reste");
}

void TestStartup::unwritableBaseIsSaidAtStart()
{
    QFETCH(bool, readOnly);
    QFETCH(QString, reason);
    const QString folder = m_fixture.programFolder();
    const QString data = QDir(folder).filePath(QStringLiteral("Data"));
    QVERIFY(QDir().mkpath(data));
    // A small disk of its own for the base.
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                    QStringLiteral("size=2m"), QStringLiteral("tmpfs"), data}) != 0)
        QSKIP("mounting a small disk needs root");
    const auto unmount = qScopeGuard([&data] { QProcess::execute(QStringLiteral("umount"), {data}); });
    { orvane::records::Database made(orvane::records::AliasSettings::load(folder), folder); }
    if (readOnly) {
        QCOMPARE(QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,ro"), data}), 0);
    } else {
        QFile filler(QDir(data).filePath(QStringLiteral("remplissage")));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
        }
    }
    Startup startup(m_dialogs, m_clock, std::chrono::milliseconds(0));
    QVERIFY(!startup.start());
    QCOMPARE(m_dialogs.requests().size(), 1);
    const QString message = m_dialogs.requests().first().text;
    QVERIFY2(message.startsWith(QStringLiteral("La base de données %1 ne peut pas être modifiée : le disque de %2 ")
                                    .arg(QDir::toNativeSeparators(data + QStringLiteral("/orvane.sqlite")),
                                         QDir::toNativeSeparators(data)) + reason),
             qPrintable(message));
    QVERIFY(message.contains(QStringLiteral("relancez Orvane 2006.")));
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
