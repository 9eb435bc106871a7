#include "app/practicesearchwindow.h"
#include "app/tapropos.h"
#include "app/tdialogues.h"
#include "app/tmotdepasse.h"
#include "app/torvane.h"
#include "clinical/tacuitearch.h"
#include "clinical/tbetablocants.h"
#include "prescribing/qprintersurface.h"
#include "prescribing/timprime.h"
#include "prescribing/tmarges.h"
#include "prescribing/tordonnance.h"
#include "records/trechercher.h"
#include "messaging/tfrmmessageeditor.h"
#include "messaging/pendingresultsdialog.h"
#include "messaging/tparamessage.h"
#include "vidal/vidalexchange.h"
#include "records/currentpatient.h"
#include "records/database.h"
#include "records/identitypage.h"
#include "records/table.h"
#include "support/fixedclock.h"
#include "support/newpatient.h"
#include "support/scripteddialogservice.h"
#include "support/storedrow.h"
#include "support/testdatabase.h"
#include "support/openedfiles.h"
#include "support/widgetdriver.h"
#include "platform/places.h"
#include "platform/radiogroup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPlainTextEdit>
#include <QTableView>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
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

    QString currentName() const { return m_window->patient().patients().text(QStringLiteral("Nom")); }
    QString lastText() const { return m_dialogs.requests().last().text; }
    // The window's menu item chosen as from the keyboard: the menu bar opened on "&Edition" by
    // Alt+E, the menu reached with the Right arrow (or the popup already shown), the item with the
    // Down arrow, then Enter. A letter that other controls of the window use too goes to each of
    // them in turn, so Alt+E may take a few presses.
    void chooseMenuItem(const QString &menu, const QString &item)
    {
        const auto popup = [] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); };
        for (int presses = 0; !menu.isEmpty() && !popup() && presses < 4; ++presses)
            test::pressKey(Qt::Key_E, Qt::AltModifier);
        for (int rights = 0; !menu.isEmpty() && popup() && popup()->title() != menu; ++rights) {
            QVERIFY2(rights < m_window->menuBar()->actions().size(), qPrintable(menu));
            QTest::keyClick(popup(), Qt::Key_Right);
        }
        QMenu *shown = popup();
        QVERIFY2(shown, qPrintable(menu));
        for (int downs = 0; !shown->activeAction() || shown->activeAction()->text() != item; ++downs) {
            QVERIFY2(downs < shown->actions().size(), qPrintable(item));
            QTest::keyClick(shown, Qt::Key_Down);
        }
        QTest::keyClick(shown, Qt::Key_Return);
    }
    // The scripted window is closed by that button (or its close box when none); the main window is then
    // active again, as the window manager makes it.
    void answerModalClosedBy(const QString &button)
    {
        m_dialogs.answerModal([this, button](QDialog &window) {
            if (button.isEmpty())
                window.close();
            else
                test::namedChild<QAbstractButton>(&window, button)->click();
            m_window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        });
    }
    QString lastModal() const
    {
        for (auto it = m_dialogs.requests().crbegin(); it != m_dialogs.requests().crend(); ++it) {
            if (it->kind == QStringLiteral("modal"))
                return it->text;
        }
        return QString();
    }
    void showActive()
    {
        showPastTheGate();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
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
        windows.apropos = new app::Tapropos(m_window.get());
        windows.betablocants = new clinical::Tbetablocants(m_base->db(), m_dialogs, m_window.get());
        windows.acuitearch = new clinical::Tacuitearch(m_base->db(), m_dialogs, m_window.get());
        windows.imprime = new prescribing::TImprime(m_window.get());
        windows.rechercher = new records::TRechercher(m_base->db(), m_window.get());
        windows.marges = new prescribing::TMarges(m_window.get());
        windows.ordonnance = new prescribing::Tordonnance(m_dialogs, m_window.get());
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

    void ctrlF7SearchesThePracticeAndOpensTheFileFound()
    {
        showActive();
        auto *treatment = m_window->findChild<QPlainTextEdit *>(QStringLiteral("gen"));
        treatment->setFocus();
        test::typeKeys(QStringLiteral("Kardegic"));
        test::pressKey(Qt::Key_F7, Qt::ControlModifier);
        app::PracticeSearchWindow *search = m_window->practiceSearchWindow();
        QVERIFY(search->isVisible());
        // The person clicks into it.
        QTest::mouseClick(search, Qt::LeftButton);
        QTRY_COMPARE(QApplication::activeWindow(), search);
        test::namedChild<QLineEdit>(search, QStringLiteral("minimumAge"))->setFocus();
        test::typeKeys(QStringLiteral("50"));
        test::pressKey(Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(!search->isSearching(), 10000);
        test::namedChild<QTableView>(search, QStringLiteral("foundPatients"))->setFocus();
        test::pressKey(Qt::Key_End, Qt::ControlModifier);
        test::pressKey(Qt::Key_Return);
        QCOMPARE(currentName(), QStringLiteral("BRUN"));
        QCOMPARE(currentPage(), QStringLiteral("Identite"));
        QCOMPARE(test::storedField(m_base->db(), tables::treatments, 1, QStringLiteral("Traitement général")),
                 QStringLiteral("Kardegic"));
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

    void f1OpensTheGuideOfTheShownTab()
    {
        showActive();
        test::OpenedFiles opened;
        QDir(places::inProgramFolder(QStringLiteral("Help"))).removeRecursively();
        QTest::mouseClick(m_window->notebook()->tabBar(), Qt::LeftButton, {},
                          m_window->notebook()->tabBar()->tabRect(1).center());
        QWidget *focused = QApplication::focusWidget();
        test::pressKey(Qt::Key_F1);
        QCOMPARE(lastText(), QStringLiteral("Le guide de l'onglet « Consultation » n'est pas installé sur ce poste "
                                            "(page « consultation.html » introuvable)."));
        QVERIFY(opened.paths.isEmpty());
        // A practice's own pages in "Help" of the program folder are found first.
        QDir().mkpath(places::inProgramFolder(QStringLiteral("Help")));
        QFile page(places::inProgramFolder(QStringLiteral("Help/consultation.html")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();
        test::pressKey(Qt::Key_F1);
        QCOMPARE(opened.paths, QStringList{QFileInfo(page).absoluteFilePath()});
        QCOMPARE(QApplication::focusWidget(), focused);
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

    void aNewFileIsTypedFromTheKeyboard()
    {
        showActive();
        QApplication::clipboard()->clear();
        auto *age = m_window->findChild<QLineEdit *>(QStringLiteral("Edit3"));
        QVERIFY(!age->text().isEmpty());
        m_dialogs.answerYes();
        test::pressKey(Qt::Key_F8);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("EditNom"));
        QCOMPARE(age->text(), QString());
        for (const QString &typed : {QStringLiteral("de la tour"), QStringLiteral("marie"), QStringLiteral("3"),
                                     QStringLiteral("11"), QStringLiteral("1948")}) {
            test::typeKeys(typed);
            test::pressKey(Qt::Key_Return);
        }
        QCOMPARE(age->text(), QStringLiteral("58"));
        test::pressKey(Qt::Key_F10);
        QCOMPARE(lastText(), QStringLiteral("Enregistrement Validé"));
        Table patients(m_base->db(), tables::patients);
        patients.open();
        QVERIFY(patients.locate(recordNumberField, 3));
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("DE LA TOUR"));
        QCOMPARE(patients.text(QStringLiteral("Prénom")), QStringLiteral("Marie"));
        QCOMPARE(patients.text(QStringLiteral("NomPrénom")), QStringLiteral("DE LA TOUR Marie"));
        QCOMPARE(patients.text(QStringLiteral("Jour")) + "/" + patients.text(QStringLiteral("Mois")) + "/"
                     + patients.text(QStringLiteral("Année")),
                 QStringLiteral("3/11/1948"));
    }

    void aNewFileFromTheCarteVitaleIsCompletedFromTheKeyboard()
    {
        showActive();
        QApplication::clipboard()->setText(
            QStringLiteral("Nom  : DURAND\r\nPrénom  : Marie\r\n\r\n\r\nNé(e) le   : 03/11/1948"));
        m_dialogs.answerYes();
        m_dialogs.answerYes();
        test::pressKey(Qt::Key_F8);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("MemoAdresse"));
        test::typeKeys(QStringLiteral("12 rue des Lilas"));
        test::pressKey(Qt::Key_Return);
        test::typeKeys(QStringLiteral("69003 Lyon"));
        test::pressKey(Qt::Key_Tab);
        test::typeKeys(QStringLiteral("0478123456"));
        test::pressKey(Qt::Key_F10);
        Table patients(m_base->db(), tables::patients);
        patients.open();
        QVERIFY(patients.locate(recordNumberField, 3));
        QCOMPARE(patients.text(QStringLiteral("NomPrénom")), QStringLiteral("DURAND Marie"));
        QCOMPARE(patients.text(QStringLiteral("Adresse")), QStringLiteral("12 rue des Lilas\r\n69003 Lyon"));
        QCOMPARE(patients.text(QStringLiteral("Téléphone")), QStringLiteral("04-78-12-34-56"));
        // The card's text is used once: the next new file is a plain one.
        m_dialogs.answerNo();
        test::pressKey(Qt::Key_F8);
        QCOMPARE(lastText(), QStringLiteral("Nouveau Dossier ?"));
    }

    void everyKeyButtonAndMenuItemStartsItsCommand()
    {
        m_window->patient().patients().first();
        Table &patients = m_window->patient().patients();
        patients.edit();
        patients.setText(QStringLiteral("Adresse"), QStringLiteral("1 place Bellecour"));
        patients.post();
        m_window->printerSurface().printer().setOutputFormat(QPrinter::PdfFormat);
        m_window->printerSurface().printer().setOutputFileName(m_base->home() + QStringLiteral("/ordonnance.pdf"));
        showActive();
        const QString search = m_window->windows().rechercher->objectName();
        const QString lists = m_window->windows().betablocants->objectName();
        auto *prescription = m_window->findChild<QPlainTextEdit *>(QStringLiteral("ordonnanc"));
        const auto deleteQuestions = [this] {
            return m_dialogs.texts().mid(m_dialogs.texts().size() - 2)
                == QStringList{"Attention!!.Voulez-vous vraiment supprimer ce dossier?",
                               "Attention!! La suppression est irrémédiable. Voulez-vous continuer?"};
        };

        // Function keys, where the focus is.
        test::pressKey(Qt::Key_PageDown);
        QCOMPARE(currentName(), QStringLiteral("BRUN"));
        test::pressKey(Qt::Key_PageUp);
        QCOMPARE(currentName(), QStringLiteral("ABEL"));
        answerModalClosedBy(QStringLiteral("BitBtn2"));
        test::pressKey(Qt::Key_F7);
        QCOMPARE(lastModal(), search);
        m_dialogs.answerNo();
        test::pressKey(Qt::Key_F8);
        QCOMPARE(lastText(), QStringLiteral("Nouveau Dossier ?"));
        m_dialogs.answerYes();
        m_dialogs.answerNo();
        test::pressKey(Qt::Key_F9);
        QVERIFY(deleteQuestions());
        QCOMPARE(currentName(), QStringLiteral("ABEL"));
        test::pressKey(Qt::Key_F10);
        QCOMPARE(lastText(), QStringLiteral("Enregistrement Validé"));
        test::pressKey(Qt::Key_F12);
        QVERIFY(!prescription->toPlainText().isEmpty());
        test::pressKey(Qt::Key_F1); // no guide where a test runs
        QVERIFY(lastText().startsWith(QStringLiteral("Le guide de l'onglet « Identité » n'est pas installé")));

        // The tool bar, clicked.
        const auto click = [this](const QString &name) {
            QTest::mouseClick(test::namedChild<QToolButton>(m_window.get(), name), Qt::LeftButton);
        };
        click(QStringLiteral("IEButton1"));
        QCOMPARE(currentName(), QStringLiteral("BRUN"));
        click(QStringLiteral("IEButton2"));
        QCOMPARE(currentName(), QStringLiteral("ABEL"));
        answerModalClosedBy(QStringLiteral("BitBtn2"));
        click(QStringLiteral("IEButton3"));
        QCOMPARE(lastModal(), search);
        m_dialogs.answerNo();
        click(QStringLiteral("IEButton4"));
        QCOMPARE(lastText(), QStringLiteral("Nouveau Dossier ?"));
        m_dialogs.answerYes();
        m_dialogs.answerNo();
        click(QStringLiteral("IEButton5"));
        QVERIFY(deleteQuestions());
        click(QStringLiteral("IEButton6"));
        QCOMPARE(lastText(), QStringLiteral("Enregistrement Validé"));
        click(QStringLiteral("IEButton7")); // no agenda program in the program folder
        QVERIFY(lastText().startsWith(QStringLiteral("Aucun agenda n'est installé")));
        const qsizetype asked = m_dialogs.requests().size();
        answerModalClosedBy(QStringLiteral("non"));
        click(QStringLiteral("IEButton9"));
        QCOMPARE(m_dialogs.requests().last().caption, QStringLiteral("ORVANE 2006"));
        QVERIFY(m_window->isVisible());

        // The menus, from the keyboard.
        const QList<QPair<QString, QString>> tabs = {
            {"&Consultation", "consultation"}, {"&Prescriptions", "Prescri"},         {"&Vaccinations", "vaccin"},
            {"&Bilans et Mesures", "bilans"},  {"&Statistiques", "statistique"},      {"&Identité", "Identite"}};
        for (const auto &[item, page] : tabs) {
            chooseMenuItem(QStringLiteral("&Menu Principal"), item);
            QCOMPARE(currentPage(), page);
        }
        chooseMenuItem(QStringLiteral("&Menu Principal"), QStringLiteral("&Agenda"));
        QCOMPARE(m_dialogs.requests().size(), asked + 1);
        m_dialogs.answerPrinterSetup(false);
        chooseMenuItem(QStringLiteral("&Menu Principal"), QStringLiteral("&Configurer l'imprimante"));
        QCOMPARE(m_dialogs.requests().last().kind, QStringLiteral("printer"));
        answerModalClosedBy(QStringLiteral("non"));
        chooseMenuItem(QStringLiteral("&Menu Principal"), QStringLiteral("&Quitter"));
        QCOMPARE(m_dialogs.requests().last().caption, QStringLiteral("ORVANE 2006"));

        chooseMenuItem(QStringLiteral("&Edition"), QStringLiteral("&Copier"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("1 place Bellecour"));
        QApplication::clipboard()->setText(QStringLiteral("69002 Lyon"));
        chooseMenuItem(QStringLiteral("&Edition"), QStringLiteral("C&oller"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("MemoAdresse"));
        QVERIFY(m_window->identityPage()->address()->toPlainText().contains(QStringLiteral("69002 Lyon")));

        const QString separated = prescription->toPlainText();
        chooseMenuItem(QStringLiteral("En&registrements"), QStringLiteral("&Suivant"));
        QVERIFY(prescription->toPlainText().size() > separated.size());
        chooseMenuItem(QStringLiteral("En&registrements"), QStringLiteral("&Précédent")); // shows the key only
        auto *choice = m_window->findChild<QLineEdit *>(QStringLiteral("Edit6"));
        choice->setText(QStringLiteral("Aspirine"));
        chooseMenuItem(QStringLiteral("En&registrements"), QStringLiteral("&Nouveau"));
        QCOMPARE(choice->text(), QString());
        m_dialogs.answerText(QStringLiteral("brun"));
        chooseMenuItem(QStringLiteral("En&registrements"), QStringLiteral("&Chercher"));
        QCOMPARE(currentName(), QStringLiteral("BRUN"));
        m_dialogs.answerText(QStringLiteral("1"));
        chooseMenuItem(QStringLiteral("En&registrements"), QStringLiteral("C&hercher par N°"));
        QCOMPARE(currentName(), QStringLiteral("ABEL"));
        chooseMenuItem(QStringLiteral("En&registrements"), QStringLiteral("&Valider")); // prints, then empties
        QCOMPARE(prescription->toPlainText(), QString());
        m_dialogs.answerYes();
        m_dialogs.answerYes();
        chooseMenuItem(QStringLiteral("En&registrements"), QStringLiteral("&Supprimer"));
        QVERIFY(deleteQuestions());
        QCOMPARE(currentName(), QStringLiteral("BRUN"));

        const QList<std::tuple<QString, QString, QString>> windows = {
            {"&Paramètres", "Entête Ordonnance", m_window->windows().ordonnance->objectName()},
            {"&Paramètres", "&Marges Imprimante", m_window->windows().marges->objectName()},
            {"&Paramètres", "Messa&gerie", m_window->windows().paramessage->objectName()},
            {"&Paramètres", "Examens à &classer", m_window->pendingResults()->objectName()},
            {"M&édicaments", "Ajout", lists},
            {"&Listes consult.", "&Antécédents", lists},
            {"&Listes consult.", "&Motif", lists},
            {"&Listes consult.", "&Examen Clinique", lists},
            {"&?", "A &Propos", m_window->windows().apropos->objectName()}};
        for (const auto &[menu, item, window] : windows) {
            answerModalClosedBy(QString());
            chooseMenuItem(menu, item);
            QCOMPARE(lastModal(), window);
        }

        // The shortcut menu of the tabs, as a right click gives it.
        auto *notebook = m_window->notebook();
        for (const auto &[item, page] : tabs) {
            QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(10, 40), notebook->mapToGlobal(QPoint(10, 40)));
            QApplication::sendEvent(notebook, &rightClick);
            chooseMenuItem(QString(), QString(item).remove(QLatin1Char('&')).replace(QStringLiteral("Prescriptions"), QStringLiteral("Prescription")));
            QCOMPARE(currentPage(), page);
        }
        QCOMPARE(m_dialogs.pendingAnswers(), 0);
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
            QDir(places::inProgramFolder(folder)).removeRecursively();
            m_window->findChild<QToolButton *>(name)->click();
            QVERIFY2(m_dialogs.requests().last().text.contains(QLatin1Char('/') + folder + QStringLiteral(" »")),
                     qPrintable(name));
            QDir().mkpath(places::inProgramFolder(folder));
            QFile letter(places::inProgramFolder(folder + QStringLiteral("/ABEL X-lettre.txt")));
            QVERIFY(letter.open(QIODevice::WriteOnly));
            letter.close();
            m_dialogs.answerModal([](QDialog &window) { window.close(); });
            m_window->findChild<QToolButton *>(name)->click();
            QCOMPARE(m_dialogs.pendingAnswers(), 0);
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
        // Each opening starts in the first field, wherever the caret was left.
        const auto startsInTheFirstField = [](QDialog &dialog) {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("idmessagerie"));
        };
        m_dialogs.answerModal([&](QDialog &dialog) {
            startsInTheFirstField(dialog);
            QTest::mouseClick(test::namedChild<QLineEdit>(&dialog, QStringLiteral("serveur")), Qt::LeftButton);
            test::typeKeys(QStringLiteral("smtp.cabinet.fr"));
            dialog.close();
        });
        m_window->Messagerie1Click();
        QCOMPARE(m_window->settingsStore().settings().messaging.server, QStringLiteral("smtp.cabinet.fr"));
        m_dialogs.answerModal([&](QDialog &dialog) {
            startsInTheFirstField(dialog);
            dialog.close();
        });
        m_window->Messagerie1Click();
    }

    // The fetch every 10 minutes follows its setting; "Relever" tells how the fetch ended.
    void resultsFetchedByTimerOrOnDemand()
    {
        auto *timer = m_window->findChild<QTimer *>(QStringLiteral("TimerReleve"));
        QVERIFY(!timer->isActive());
        m_dialogs.answerModal([](QDialog &dialog) {
            QTest::mouseClick(dialog.findChild<QCheckBox *>(QStringLiteral("releve")), Qt::LeftButton);
        });
        m_window->Messagerie1Click();
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 600000);

        const qsizetype before = m_dialogs.texts().size();
        m_window->Relever1Click();
        QTRY_COMPARE(m_dialogs.texts().size(), before + 1);
        const QString noServer = QStringLiteral("Aucun serveur de réception n'est indiqué dans les paramètres de messagerie");
        QCOMPARE(m_dialogs.texts().last(), noServer);

        // The timer's fetches say their failure once, not at every fetch.
        timer->setInterval(20);
        QTRY_COMPARE(m_dialogs.texts().size(), before + 2);
        QCOMPARE(m_dialogs.texts().last(), noServer);
        QTest::qWait(300);
        QCOMPARE(m_dialogs.texts().size(), before + 2);
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
        showActive();
        QApplication::clipboard()->clear();
        m_dialogs.answerYes();
        test::pressKey(Qt::Key_F8);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("EditNom"));
        // The quit question takes the focus from the name boxes, which compose a blank name.
        m_dialogs.answerModal([](QDialog &question) {
            question.findChild<QAbstractButton *>(QStringLiteral("ok"))->click();
        });
        QVERIFY(m_window->close());
        QCOMPARE(m_dialogs.pendingAnswers(), 0);
        // No second question after the quit question.
        QCOMPARE(m_dialogs.requests().last().kind, QStringLiteral("modal"));
        QVERIFY(!m_dialogs.texts().join(QLatin1Char('|')).contains(QStringLiteral("Le champ")));
        Table patients(m_base->db(), tables::patients);
        patients.open();
        QVERIFY(patients.locate(recordNumberField, 2));
        QVERIFY(!patients.locate(recordNumberField, 3));
    }

    void aSecondNewFileDoesNotInheritTheFirstOnesSexOption()
    {
        showActive();
        QApplication::clipboard()->clear();
        auto *sexe = test::namedChild<RadioGroup>(m_window.get(), QStringLiteral("Sexe"));
        const auto typeIdentity = [this](const QString &name) {
            m_dialogs.answerYes();
            test::pressKey(Qt::Key_F8);
            for (const QString &typed : {name, QStringLiteral("marie"), QStringLiteral("3"), QStringLiteral("11"),
                                         QStringLiteral("1948")}) {
                test::typeKeys(typed);
                test::pressKey(Qt::Key_Return);
            }
        };
        typeIdentity(QStringLiteral("durand"));
        QCOMPARE(QApplication::focusWidget()->parentWidget(), sexe);
        test::pressKey(Qt::Key_Right);
        test::pressKey(Qt::Key_Space); // the second option, "Feminin", chosen and focused
        QCOMPARE(sexe->itemIndex(), 1);
        test::pressKey(Qt::Key_F10);
        typeIdentity(QStringLiteral("martin"));
        // Enter out of the year lands on the first option of an empty choice, as in the first file.
        QCOMPARE(QApplication::focusWidget(), sexe->findChildren<QRadioButton *>().first());
        QCOMPARE(sexe->itemIndex(), -1);
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
