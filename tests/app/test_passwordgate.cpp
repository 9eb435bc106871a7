#include "shellfixture.h"
#include "support/scripteddialogservice.h"

#include "app/passwordcipher.h"
#include "app/passwordgate.h"
#include "app/settingsstore.h"
#include "app/tmotdepasse.h"
#include "platform/places.h"
#include "platform/textcodec.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using orvane::app::PasswordCipher;
using orvane::app::PasswordGate;
using orvane::app::SettingsStore;
using orvane::app::Tmotdepasse;
using Outcome = PasswordGate::Outcome;

namespace {

QLineEdit *edit(QDialog &window, const char *name)
{
    return window.findChild<QLineEdit *>(QLatin1String(name));
}

// What the person does: type into whatever has the focus, then press Enter.
void typeThenEnter(QDialog &window, const QString &text)
{
    orvane::test::typeText(window.focusWidget(), text);
    QTest::keyClick(window.focusWidget(), Qt::Key_Return);
}

// One answer at a later start: click into the box, type, Enter to OK, Enter to press it.
void answer(QDialog &window, const QString &text)
{
    QTest::mouseClick(edit(window, "Edit2"), Qt::LeftButton);
    typeThenEnter(window, text);
    QTest::keyClick(window.focusWidget(), Qt::Key_Return);
}

} // namespace

class TestPasswordGate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstUseWithBothBoxesEmptyStoresNothing();
    void firstUseStoresConfirmedPasswordAfterMismatch();
    void firstUseClosedWithTextEndsAndStoresNothing();
    void enterAndArrowsMoveTheFocus();
    void escapeDoesNotCloseTheWindow();
    void laterStartRearrangesTheWindow();
    void laterStartAnswers_data();
    void laterStartAnswers();
    void laterStartClosedEnds();
    void aRefusedAnswerIsTypedAgainInTheBox();
    void unreadableStoredTextNeverOpens_data();
    void unreadableStoredTextNeverOpens();

private:
    void storePassword(const QString &password);
    Outcome runGate(Tmotdepasse &window);

    orvane::test::ShellFixture m_fixture;
    orvane::test::ScriptedDialogService m_dialogs;
    std::unique_ptr<SettingsStore> m_settings;
};

void TestPasswordGate::init()
{
    m_fixture.reset();
    m_dialogs.clear();
    m_settings = std::make_unique<SettingsStore>(m_fixture.programFolder());
    m_settings->load();
}

void TestPasswordGate::storePassword(const QString &password)
{
    m_fixture.storeValue(QStringLiteral("Mot de Passe Orvane"),
                         PasswordCipher().encipher(orvane::toWindows1252(password)));
    m_settings->load();
}

Outcome TestPasswordGate::runGate(Tmotdepasse &window)
{
    const Outcome outcome = PasswordGate(m_dialogs, window, *m_settings).run();
    if (m_dialogs.pendingAnswers() != 0)
        QTest::qFail("the password window was not shown", __FILE__, __LINE__);
    return outcome;
}

void TestPasswordGate::firstUseWithBothBoxesEmptyStoresNothing()
{
    Tmotdepasse window;
    m_dialogs.answerModal([](QDialog &shown) {
        QTest::keyClick(shown.focusWidget(), Qt::Key_Return);
        QTest::keyClick(shown.focusWidget(), Qt::Key_Return);
        QTest::keyClick(shown.focusWidget(), Qt::Key_Return);
    });
    QCOMPARE(runGate(window), Outcome::Open);
    QVERIFY(window.isAccepted());
    QVERIFY(!window.terminationRequested());
    QVERIFY(!orvane::places::registryKeyExists(SettingsStore::keyName));
    m_settings->load();
    QVERIFY(m_settings->settings().accessPassword.isEmpty());
}

void TestPasswordGate::firstUseStoresConfirmedPasswordAfterMismatch()
{
    Tmotdepasse window;
    int refusalsAfterMismatch = -1;
    QString confirmationAfterMismatch = QStringLiteral("unread");
    m_dialogs.answerModal([&](QDialog &shown) {
        typeThenEnter(shown, QStringLiteral("Médecin"));
        typeThenEnter(shown, QStringLiteral("Médecins"));
        QTest::keyClick(shown.focusWidget(), Qt::Key_Return);
        refusalsAfterMismatch = window.refusals();
        confirmationAfterMismatch = edit(shown, "Edit2")->text();
        QVERIFY(shown.isVisible());
        answer(shown, QStringLiteral("Médecin"));
    });
    QCOMPARE(runGate(window), Outcome::Open);
    QCOMPARE(refusalsAfterMismatch, 1);
    QCOMPARE(confirmationAfterMismatch, QString());

    const QString stored = m_settings->settings().accessPassword;
    QCOMPARE(stored.size(), 14);
    QCOMPARE(stored, PasswordCipher().encipher(orvane::toWindows1252(QStringLiteral("Médecin"))));
    SettingsStore reread(m_fixture.programFolder());
    reread.load();
    QCOMPARE(reread.settings().accessPassword, stored);
}

void TestPasswordGate::firstUseClosedWithTextEndsAndStoresNothing()
{
    Tmotdepasse window;
    m_dialogs.answerModal([](QDialog &shown) {
        typeThenEnter(shown, QStringLiteral("secret"));
        orvane::test::typeText(shown.focusWidget(), QStringLiteral("secret"));
        shown.close();
    });
    QCOMPARE(runGate(window), Outcome::Ended);
    QVERIFY(window.terminationRequested());
    QVERIFY(!orvane::places::registryKeyExists(SettingsStore::keyName));
}

void TestPasswordGate::enterAndArrowsMoveTheFocus()
{
    Tmotdepasse window;
    m_dialogs.answerModal([](QDialog &shown) {
        QLineEdit *edit1 = edit(shown, "Edit1");
        QLineEdit *edit2 = edit(shown, "Edit2");
        auto *button1 = shown.findChild<QPushButton *>(QStringLiteral("Button1"));
        QCOMPARE(shown.focusWidget(), edit1);
        QTest::keyClick(edit1, Qt::Key_Down);
        QCOMPARE(shown.focusWidget(), edit2);
        QTest::keyClick(edit2, Qt::Key_Up);
        QCOMPARE(shown.focusWidget(), edit1);
        typeThenEnter(shown, QStringLiteral("ab"));
        QCOMPARE(edit1->text(), QStringLiteral("ab")); // Enter is not typed into the box
        QCOMPARE(shown.focusWidget(), edit2);
        typeThenEnter(shown, QStringLiteral("ab"));
        QCOMPARE(shown.focusWidget(), button1);
        QTest::keyClick(button1, Qt::Key_Return);
    });
    QCOMPARE(runGate(window), Outcome::Open);
}

void TestPasswordGate::escapeDoesNotCloseTheWindow()
{
    Tmotdepasse window;
    m_dialogs.answerModal([&](QDialog &shown) {
        QTest::keyClick(shown.focusWidget(), Qt::Key_Escape);
        QVERIFY(shown.isVisible());
        QVERIFY(!window.terminationRequested());
        shown.close();
    });
    QCOMPARE(runGate(window), Outcome::Ended);
}

void TestPasswordGate::laterStartRearrangesTheWindow()
{
    storePassword(QStringLiteral("Orvane2006"));
    Tmotdepasse window;
    m_dialogs.answerModal([](QDialog &shown) {
        QVERIFY(!shown.findChild<QLabel *>(QStringLiteral("Label1"))->isVisible());
        QVERIFY(!edit(shown, "Edit1")->isVisible());
        auto *label2 = shown.findChild<QLabel *>(QStringLiteral("Label2"));
        QCOMPARE(label2->text(), QStringLiteral("Mot de Passe"));
        QCOMPARE(label2->y(), 16);
        QCOMPARE(edit(shown, "Edit2")->y(), 40);
        QCOMPARE(edit(shown, "Edit2")->echoMode(), QLineEdit::Password);
        QCOMPARE(shown.windowTitle(), QStringLiteral("Orvane 2006"));
        answer(shown, QStringLiteral("Orvane2006"));
    });
    QCOMPARE(runGate(window), Outcome::Open);
}

void TestPasswordGate::laterStartAnswers_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<int>("refusals");
    QTest::newRow("right at once") << "Orvane2006" << QStringList{"Orvane2006"} << true << 0;
    QTest::newRow("three wrong then right")
        << "Orvane2006" << QStringList{"a", "", "Orvane", "Orvane2006"} << true << 3;
    QTest::newRow("four wrong") << "Orvane2006" << QStringList{"a", "b", "c", "d"} << false << 4;
    QTest::newRow("letter case differs") << "Orvane2006" << QStringList{"orvane2006", "ORVANE2006", "x", "y"}
                                         << false << 4;
    QTest::newRow("accented password") << QStringLiteral("Zéphyr€") << QStringList{QStringLiteral("Zéphyr€")}
                                       << true << 0;
    QTest::newRow("accent missing") << QStringLiteral("Zéphyr") << QStringList{"Zephyr", "e", "f", "g"}
                                    << false << 4;
}

void TestPasswordGate::laterStartAnswers()
{
    QFETCH(QString, password);
    QFETCH(QStringList, answers);
    QFETCH(bool, opens);
    QFETCH(int, refusals);
    storePassword(password);
    Tmotdepasse window;
    bool stillShownBeforeLast = true;
    m_dialogs.answerModal([&](QDialog &shown) {
        for (int i = 0; i < answers.size(); ++i) {
            stillShownBeforeLast = stillShownBeforeLast && shown.isVisible();
            answer(shown, answers.at(i));
        }
        QVERIFY(!shown.isVisible());
    });
    QCOMPARE(runGate(window), opens ? Outcome::Open : Outcome::Ended);
    QVERIFY(stillShownBeforeLast);
    QCOMPARE(window.refusals(), refusals);
    QCOMPARE(window.terminationRequested(), !opens);
    QCOMPARE(m_settings->settings().accessPassword,
             PasswordCipher().encipher(orvane::toWindows1252(password)));
}

void TestPasswordGate::laterStartClosedEnds()
{
    storePassword(QStringLiteral("secret"));
    Tmotdepasse window;
    m_dialogs.answerModal([](QDialog &shown) {
        answer(shown, QStringLiteral("wrong"));
        orvane::test::typeText(edit(shown, "Edit2"), QStringLiteral("secret"));
        shown.close();
    });
    QCOMPARE(runGate(window), Outcome::Ended);
    QVERIFY(window.terminationRequested());
    QCOMPARE(window.refusals(), 1);
}

void TestPasswordGate::aRefusedAnswerIsTypedAgainInTheBox()
{
    storePassword(QStringLiteral("secret"));
    Tmotdepasse window;
    m_dialogs.answerModal([](QDialog &shown) {
        QVERIFY(QTest::qWaitForWindowActive(&shown));
        const auto typeThenEnterInFocus = [](const QString &text) {
            orvane::test::typeText(QApplication::focusWidget(), text);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        };
        typeThenEnterInFocus(QStringLiteral("wrong"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), edit(shown, "Edit2"));
        QVERIFY(edit(shown, "Edit2")->text().isEmpty());
        // No second refusal for the emptied box: Enter goes on to OK.
        typeThenEnterInFocus(QStringLiteral("secret"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    QCOMPARE(runGate(window), Outcome::Open);
    QCOMPARE(window.refusals(), 1);
}

void TestPasswordGate::unreadableStoredTextNeverOpens_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::newRow("upper-case letters, empty answer") << "IOIO" << "";
    QTest::newRow("upper-case letters, typed as stored") << "IOIO" << "IOIO";
    QTest::newRow("single letter, empty answer") << "i" << "";
    QTest::newRow("digits, empty answer") << "1234" << "";
}

void TestPasswordGate::unreadableStoredTextNeverOpens()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    m_fixture.storeValue(QStringLiteral("Mot de Passe Orvane"), stored);
    m_settings->load();
    Tmotdepasse window;
    m_dialogs.answerModal([&](QDialog &shown) {
        for (int i = 0; i < 4; ++i)
            answer(shown, typed);
    });
    QCOMPARE(runGate(window), Outcome::Ended);
    QCOMPARE(window.refusals(), 4);
}

QTEST_MAIN(TestPasswordGate)
#include "test_passwordgate.moc"
