#include "support/scripteddialogservice.h"

#include "app/application.h"
#include "platform/error.h"

#include <QPushButton>
#include <QTest>

class TestApplication : public QObject
{
    Q_OBJECT

public:
    explicit TestApplication(orvane::test::ScriptedDialogService &dialogs)
        : m_dialogs(dialogs)
    {
    }

private slots:
    void failureInHandlerShownOnceAndProgramGoesOn();

private:
    orvane::test::ScriptedDialogService &m_dialogs;
};

void TestApplication::failureInHandlerShownOnceAndProgramGoesOn()
{
    QPushButton button(QStringLiteral("Valider"));
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] {
        ++clicks;
        if (clicks == 1)
            throw orvane::Error(QStringLiteral("Le champ 'Nom' doit avoir une valeur"));
    });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(m_dialogs.requests().size(), 1);
    QCOMPARE(m_dialogs.requests().first().kind, QStringLiteral("error"));
    QCOMPARE(m_dialogs.requests().first().text, QStringLiteral("Le champ 'Nom' doit avoir une valeur"));
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 2);
    QCOMPARE(m_dialogs.requests().size(), 1);
    QVERIFY(button.isVisible());
}

int main(int argc, char **argv)
{
    orvane::test::ScriptedDialogService dialogs;
    orvane::Application app(argc, argv, dialogs);
    TestApplication test(dialogs);
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"
