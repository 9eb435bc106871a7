#include "app/tdialogues.h"
#include "app/tmotdepasse.h"
#include "app/torvane.h"
#include "messaging/tfrmmessageeditor.h"
#include "messaging/tparamessage.h"
#include "vidal/vidalexchange.h"
#include "records/currentpatient.h"
#include "records/database.h"
#include "records/identitypage.h"
#include "records/table.h"
#include "support/fixedclock.h"
#include "support/newpatient.h"
#include "support/scripteddialogservice.h"
#include "support/testdatabase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace orvane;
using namespace orvane::records;

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    test::ScriptedDialogService m_dialogs;
    test::FixedClock m_clock;
    std::unique_ptr<app::TOrvane> m_window;
    app::Tdialogues *m_question = nullptr;

    void addPatient(const QString &nom) { test::addPatient(m_window->patient(), nom, QStringLiteral("X")); }
    QString currentPage() const { return m_window->notebook()->currentWidget()->objectName(); }
    // First use with both boxes left empty: the gate lets the test in.
    void showPastTheGate()
    {
        m_dialogs.answerModal([](QDialog &gate) {
            gate.findChild<QAbstractButton *>(QStringLiteral("Button1"))->click();
        });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_dialogs.clear();
        m_window = std::make_unique<app::TOrvane>(m_base->db(), m_dialogs, m_clock, m_base->home());
        m_question = new app::Tdialogues(m_dialogs, m_window.get());
        app::ProgramWindows windows;
        windows.dialogues = m_question;
        windows.motdepasse = new app::Tmotdepasse(m_window.get());
        windows.paramessage = new messaging::Tparamessage(m_dialogs, m_window.get());
        windows.messageEditor = new messaging::TfrmMessageEditor(
            m_dialogs, m_clock, [this] { return app::toMessagingWindows(m_window->settingsStore().settings().messaging); },
            m_window.get());
        m_window->setWindows(windows);
        addPatient(QStringLiteral("ABEL"));
        addPatient(QStringLiteral("BRUN"));
        m_window->patient().patients().first();
    }
    void cleanup()
    {
        m_window.reset();
        m_base.reset();
    }

    void toolBarHasItsButtonsAndHints()
    {
        const QList<QPair<QString, QString>> expected = {
            {"IEButton2", "Dossier précédent"}, {"IEButton1", "Dossier suivant"}, {"IEButton3", "Chercher (F7)"},
            {"IEButton4", "Nouveau (F8)"},      {"IEButton5", "Supprimer (F9)"}, {"IEButton6", "Valider (F10)"},
            {"IEButton7", "Agenda"},            {"IEButton9", "Quitter"}};
        for (const auto &[name, hint] : expected) {
            auto *button = m_window->findChild<QToolButton *>(name);
            QVERIFY2(button, qPrintable(name));
            QCOMPARE(button->toolTip(), hint);
        }
        QCOMPARE(m_window->findChild<QLineEdit *>(QStringLiteral("DBEdit1"))->text(), QStringLiteral("ABEL X"));
        QStringList menus;
        for (QAction *menu : m_window->menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, (QStringList{"&Menu Principal", "&Edition", "En&registrements", "&Paramètres", "M&édicaments",
                                     "&Listes consult.", "&?"}));
    }

    void pageDownInANoteMovesToTheNextPatientFirst()
    {
        showPastTheGate();
        auto *treatment = m_window->findChild<QPlainTextEdit *>(QStringLiteral("gen"));
        treatment->setFocus();
        QTest::keyClick(treatment, Qt::Key_PageDown);
        QCOMPARE(m_window->patient().patients().text(QStringLiteral("Nom")), QStringLiteral("BRUN"));
        QCOMPARE(currentPage(), QStringLiteral("Identite"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
        QCOMPARE(m_window->patient().patients().text(QStringLiteral("Nom")), QStringLiteral("ABEL"));
    }

    void functionKeysReachTheFileCommands()
    {
        showPastTheGate();
        m_window->identityPage()->nameEdit()->setFocus();
        m_dialogs.answerNo();
        QTest::keyClick(m_window->identityPage()->nameEdit(), Qt::Key_F8);
        QCOMPARE(m_dialogs.texts().last(), QStringLiteral("Nouveau Dossier ?"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
        QCOMPARE(m_dialogs.texts().last(), QStringLiteral("Enregistrement Validé"));
    }

    void menuShowsATabWithoutStoringAClickedTabStores()
    {
        m_window->patient().patients().last(); // BRUN, whose rows were never stored
        Table consultations(m_base->db(), tables::consultations);
        consultations.open();
        QVERIFY(!consultations.locate(recordNumberField, 2));
        m_window->showTab(QStringLiteral("consultation"));
        QVERIFY(!consultations.locate(recordNumberField, 2));
        m_window->showTab(QStringLiteral("Identite"));
        m_window->notebook()->setCurrentIndex(1); // as a click on the tab does
        QVERIFY(consultations.locate(recordNumberField, 2));
    }

    void letterButtonsBrowseThePatientsFilesInTheirFolders()
    {
        const QList<QPair<QString, QString>> buttons = {{QStringLiteral("courrierrecu"), QStringLiteral("courrier")},
                                                        {QStringLiteral("courrierenvoye"), QStringLiteral("courrier envoyé")},
                                                        {QStringLiteral("examensrecus"), QStringLiteral("examens")}};
        for (const auto &[name, folder] : buttons) {
            m_dialogs.answerFile(QString());
            m_window->findChild<QToolButton *>(name)->click();
            QVERIFY2(m_dialogs.requests().last().caption.endsWith(QLatin1Char('/') + folder), qPrintable(name));
            QVERIFY(m_dialogs.requests().last().text.contains(QStringLiteral("ABEL?X-*.*")));
        }
    }

    void hprimButtonOpensTheEditorOnThePatient()
    {
        m_window->findChild<QToolButton *>(QStringLiteral("hprim"))->setEnabled(true);
        m_window->hprimClick();
        QVERIFY(m_window->windows().messageEditor->isVisible());
        QCOMPARE(m_window->windows().messageEditor->context().patientKey, QStringLiteral("ABEL X"));
        QCOMPARE(m_window->windows().messageEditor->context().birthDate.right(4), QStringLiteral("1950"));
    }

    void messagingSettingsAreStoredWhenTheDialogCloses()
    {
        m_dialogs.answerModal([](QDialog &dialog) {
            auto *server = dialog.findChild<QLineEdit *>(QStringLiteral("serveur"));
            QVERIFY(server);
            server->setText(QStringLiteral("smtp.cabinet.fr"));
            dialog.close();
        });
        m_window->Messagerie1Click();
        QCOMPARE(m_window->settingsStore().settings().messaging.server, QStringLiteral("smtp.cabinet.fr"));
    }

    void leavingThePrescriptionsPageStopsTheVidalWatch()
    {
        m_window->showTab(QStringLiteral("Prescri"));
        m_window->vidalExchange().vidalClick();
        QVERIFY(m_window->vidalExchange().isWatching());
        m_window->showTab(QStringLiteral("bilans"));
        QVERIFY(!m_window->vidalExchange().isWatching());
    }

    void leavingStoresWhatWasTypedOrStaysOpenWhenARowIsRefused()
    {
        showPastTheGate();
        auto *treatment = m_window->findChild<QPlainTextEdit *>(QStringLiteral("gen"));
        treatment->setFocus();
        QTest::keyClicks(treatment, QStringLiteral("aspirine"));
        m_dialogs.answerModal([](QDialog &question) {
            question.findChild<QAbstractButton *>(QStringLiteral("ok"))->click();
        });
        QVERIFY(m_window->close());
        Table treatments(m_base->db(), tables::treatments);
        treatments.open();
        QVERIFY(treatments.locate(recordNumberField, 1));
        QCOMPARE(treatments.text(QStringLiteral("Traitement général")), QStringLiteral("aspirine"));
    }

    void leavingARefusedFileSaysWhatIsLostAndLetsHimChoose_data()
    {
        QTest::addColumn<bool>("leave");
        QTest::newRow("stays") << false;
        QTest::newRow("leaves") << true;
    }

    void leavingARefusedFileSaysWhatIsLostAndLetsHimChoose()
    {
        QFETCH(bool, leave);
        showPastTheGate();
        m_window->patient().beginNewFile();
        auto *name = m_window->findChild<QLineEdit *>(QStringLiteral("EditNom"));
        name->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("DURAND"));
        m_dialogs.answerModal([](QDialog &question) {
            question.findChild<QAbstractButton *>(QStringLiteral("ok"))->click();
        });
        leave ? m_dialogs.answerYes() : m_dialogs.answerNo();
        QCOMPARE(m_window->close(), leave);
        const QString question = m_dialogs.requests().last().text;
        QVERIFY2(question.startsWith(QStringLiteral("Le champ 'Prénom' doit avoir une valeur")) && question.contains(QStringLiteral("ceci ne sera pas enregistré : le nouveau dossier")),
                 qPrintable(question));
        if (!leave) {
            QCOMPARE(m_window->patient().patients().state(), Table::State::Insert);
            QCOMPARE(name->text(), QStringLiteral("DURAND"));
        }
    }

    void aNewFileNothingWasTypedIntoIsDroppedOnLeaving()
    {
        showPastTheGate();
        m_window->patient().beginNewFile();
        m_dialogs.answerModal([](QDialog &question) {
            question.findChild<QAbstractButton *>(QStringLiteral("ok"))->click();
        });
        QVERIFY(m_window->close());
        QCOMPARE(m_dialogs.pendingAnswers(), 0);
        Table patients(m_base->db(), tables::patients);
        patients.open();
        QVERIFY(patients.locate(recordNumberField, 2));
        QVERIFY(!patients.locate(recordNumberField, 3));
    }

    void answeringNoToTheQuitQuestionKeepsEverything()
    {
        showPastTheGate();
        m_dialogs.answerModal([](QDialog &question) {
            question.findChild<QAbstractButton *>(QStringLiteral("non"))->click();
        });
        m_window->Quitter1Click();
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_window->patient().patients().text(QStringLiteral("Nom")), QStringLiteral("ABEL"));
        QCOMPARE(m_dialogs.requests().last().caption, QStringLiteral("ORVANE 2006"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
