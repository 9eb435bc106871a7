#include "support/scripteddialogservice.h"

#include "app/tdialogues.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using orvane::app::Tdialogues;

namespace {

enum class Gesture { ClickOui, ClickNon, Enter, Escape, CloseWindow };

void perform(QDialog &window, Gesture gesture)
{
    switch (gesture) {
    case Gesture::ClickOui:
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("ok")), Qt::LeftButton);
        break;
    case Gesture::ClickNon:
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("non")), Qt::LeftButton);
        break;
    case Gesture::Enter:
        QTest::keyClick(window.focusWidget(), Qt::Key_Return);
        break;
    case Gesture::Escape:
        QTest::keyClick(window.focusWidget(), Qt::Key_Escape);
        break;
    case Gesture::CloseWindow:
        window.close();
        break;
    }
}

} // namespace

class TestTdialogues : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void showsTheCallersQuestion();
    void eachQuestionStartsUnanswered();
};

void TestTdialogues::answers_data()
{
    QTest::addColumn<Gesture>("gesture");
    QTest::addColumn<bool>("yes");
    QTest::newRow("click Oui") << Gesture::ClickOui << true;
    QTest::newRow("click Non") << Gesture::ClickNon << false;
    QTest::newRow("Enter presses Oui") << Gesture::Enter << true;
    QTest::newRow("Escape presses Non") << Gesture::Escape << false;
    QTest::newRow("closed otherwise") << Gesture::CloseWindow << false;
}

void TestTdialogues::answers()
{
    QFETCH(Gesture, gesture);
    QFETCH(bool, yes);
    orvane::test::ScriptedDialogService dialogs;
    Tdialogues window(dialogs);
    dialogs.answerModal([&](QDialog &shown) {
        perform(shown, gesture);
        QVERIFY(!shown.isVisible());
    });
    QCOMPARE(window.ask(QStringLiteral("Ajouter la Date"), QStringLiteral("Date du jour?")), yes);
    QCOMPARE(window.answer(), yes);
}

void TestTdialogues::showsTheCallersQuestion()
{
    orvane::test::ScriptedDialogService dialogs;
    Tdialogues window(dialogs);
    QCOMPARE(window.windowTitle(), QStringLiteral("Ajouter la date ?"));
    dialogs.answerModal([](QDialog &shown) {
        QCOMPARE(shown.findChild<QLabel *>(QStringLiteral("action"))->text(), QStringLiteral("Quitter Orvane 2006?"));
        auto *ok = shown.findChild<QPushButton *>(QStringLiteral("ok"));
        QCOMPARE(ok->text(), QStringLiteral("&Oui"));
        QVERIFY(ok->isDefault());
        QCOMPARE(shown.focusWidget(), ok);
        QCOMPARE(shown.findChild<QPushButton *>(QStringLiteral("non"))->text(), QStringLiteral("&Non"));
        QVERIFY(shown.findChild<QLabel *>(QStringLiteral("Image1"))->pixmap().isNull() == false);
        shown.close();
    });
    window.ask(QStringLiteral("ORVANE 2006"), QStringLiteral("Quitter Orvane 2006?"));
    QCOMPARE(dialogs.requests().first().caption, QStringLiteral("ORVANE 2006"));
}

void TestTdialogues::eachQuestionStartsUnanswered()
{
    orvane::test::ScriptedDialogService dialogs;
    Tdialogues window(dialogs);
    dialogs.answerModal([](QDialog &shown) { perform(shown, Gesture::ClickOui); });
    dialogs.answerModal([](QDialog &) {}); // left open: the service closes it
    QVERIFY(window.ask(QStringLiteral("Ajouter la Date"), QStringLiteral("Date du jour?")));
    QVERIFY(!window.ask(QStringLiteral("Ajouter la Date"), QStringLiteral("Date du jour?")));
}

QTEST_MAIN(TestTdialogues)
#include "test_tdialogues.moc"
