#include "recordingtransport.h"
#include "scriptedsmtppeer.h"

#include "messaging/apicryptbridge.h"
#include "messaging/correspondencedialog.h"
#include "messaging/pendingresultsdialog.h"
#include "messaging/resultfiler.h"
#include "messaging/smtpsession.h"
#include "messaging/tajout.h"
#include "messaging/tfrmmessageeditor.h"
#include "messaging/tparamessage.h"
#include "platform/places.h"
#include "platform/textlines.h"
#include "receivedmessages.h"
#include "support/fixedclock.h"
#include "support/openedfiles.h"
#include "support/scripteddialogservice.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace orvane;
using namespace orvane::messaging;

namespace {

template <typename T>
T *control(QWidget &window, const char *name)
{
    T *found = window.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

void typeInto(QWidget &window, const char *name, const QString &text)
{
    QLineEdit *edit = control<QLineEdit>(window, name);
    edit->clear();
    QTest::keyClicks(edit, text);
}

MessageContext dupont(const QString &sentFolder)
{
    MessageContext context;
    context.surname = QStringLiteral("DUPONT");
    context.forename = QStringLiteral("Jean");
    context.patientKey = QStringLiteral("DUPONT Jean");
    context.birthDate = QStringLiteral("5/3/1950");
    context.addressLine1 = QStringLiteral("12 rue des Lilas");
    context.addressLine2 = QStringLiteral("75012 PARIS");
    context.senderEmail = QStringLiteral("dr@cab.fr");
    context.sentFolder = sentFolder;
    return context;
}

} // namespace

class TestMessagingWindows : public QObject
{
    Q_OBJECT

private:
    test::TemporaryHome m_home;
    test::FixedClock m_clock{QDateTime(QDate(2006, 3, 15), QTime(10, 30))};
    test::ScriptedDialogService m_dialogs;
    test::RecordingTransport m_transport;
    test::FixedConnectionState m_connection;
    MessagingSettings m_settings;
    QString m_folder;

    QString hprimIni() const { return m_folder + QStringLiteral("/hprim.ini"); }
    QString sentFolder() const { return m_folder + QStringLiteral("/courrier envoyé"); }
    QByteArray fileBytes(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    std::unique_ptr<TfrmMessageEditor> editor(MailTransport *transport = nullptr)
    {
        auto window = std::make_unique<TfrmMessageEditor>(m_dialogs, m_clock, [this] { return m_settings; }, nullptr,
                                                          transport ? transport : &m_transport, &m_connection);
        window->openFor(dupont(sentFolder()), QStringLiteral("Dr X"), QStringLiteral("Amoxicilline 1 g\r\n2 par jour"));
        return window;
    }
    // Chooses the correspondent of that row by a double click, as the physician does.
    void choose(TfrmMessageEditor &window, int row)
    {
        QTreeWidget *list = control<QTreeWidget>(window, "ListView1");
        QTreeWidgetItem *item = list->topLevelItem(row);
        list->setCurrentItem(item);
        const QRect area = list->visualItemRect(item);
        // The view only counts a double click on the row its last press was on.
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, area.center());
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, area.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, area.center());
    }
    void click(QWidget &window, const char *name) { QTest::mouseClick(control<QPushButton>(window, name), Qt::LeftButton); }
    QString memo(QWidget &window, const char *name) { return control<QPlainTextEdit>(window, name)->toPlainText(); }

private slots:
    void init()
    {
        QDir(places::driveC()).removeRecursively();
        m_folder = places::programFolder();
        m_dialogs.clear();
        m_transport = test::RecordingTransport();
        m_connection.offline = false;
        m_settings = MessagingSettings{QStringLiteral("docteur"), QStringLiteral("secret"), QStringLiteral("smtp.cab.fr"),
                                       QStringLiteral("25"), QStringLiteral("non"), QString(), QStringLiteral("dr@cab.fr"), {}};
        writeWindowsTextFile(hprimIni(), {"Zola Emile", "1 rue Z", "Cardiologue", "zola@x.fr",
                                          "Bernard Luc", "2 rue B", "ORL", "luc@x.fr"});
    }

    // The settings dialog.

    void settingsComeBackFromTheControlsWhateverClosesTheDialog_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("OK button") << false;
        QTest::newRow("close box") << true;
    }
    void settingsComeBackFromTheControlsWhateverClosesTheDialog()
    {
        QFETCH(bool, closeBox);
        Tparamessage dialog(m_dialogs);
        MessagingSettings settings{"id", "pw", "smtp.a.fr", "", "oui", "dr.martin", "a@b.fr",
                                   {"imap.a.fr", "", IncomingServer::tls, "dr", "x", "oui"}};
        m_dialogs.answerModal([&](QDialog &shown) {
            QCOMPARE(control<QLineEdit>(shown, "port")->text(), QString());
            QCOMPARE(control<QLineEdit>(shown, "passe")->echoMode(), QLineEdit::Password);
            QVERIFY(control<QCheckBox>(shown, "cryptage")->isChecked());
            typeInto(shown, "port", QStringLiteral("abc"));
            typeInto(shown, "serveur", QStringLiteral("smtp.b.fr"));
            QTest::mouseClick(control<QCheckBox>(shown, "cryptage"), Qt::LeftButton);
            QCOMPARE(control<QLineEdit>(shown, "imappasse")->echoMode(), QLineEdit::Password);
            QVERIFY(control<QCheckBox>(shown, "releve")->isChecked());
            typeInto(shown, "imapport", QStringLiteral("143"));
            QTest::mouseClick(control<QCheckBox>(shown, "releve"), Qt::LeftButton);
            control<QComboBox>(shown, "imapsecurite")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            if (closeBox)
                shown.close();
            else
                QTest::mouseClick(control<QPushButton>(shown, "Button1"), Qt::LeftButton);
        });
        dialog.edit(settings);
        QCOMPARE(settings.port, QStringLiteral("abc"));
        QCOMPARE(settings.serveur, QStringLiteral("smtp.b.fr"));
        QCOMPARE(settings.cryptage, QStringLiteral("non"));
        QCOMPARE(settings.idMessagerie, QStringLiteral("id"));
        QCOMPARE(settings.apicrypt, QStringLiteral("dr.martin"));
        const IncomingServer incoming{"imap.a.fr", "143", IncomingServer::startTls, "dr", "x", "non"};
        QVERIFY(settings.incoming == incoming);
    }

    void apicryptBoxOnceDisabledStaysDisabledForTheRun()
    {
        Tparamessage dialog(m_dialogs);
        MessagingSettings settings{"", "", "", "", "oui", "", "", {}};
        m_dialogs.answerModal([](QDialog &shown) {
            QCheckBox *box = control<QCheckBox>(shown, "cryptage");
            QVERIFY(!box->isEnabled());
            QVERIFY(box->isChecked());
            typeInto(shown, "cle", QStringLiteral("dr.martin"));
        });
        dialog.edit(settings);
        QCOMPARE(settings.cryptage, QStringLiteral("oui"));
        QCOMPARE(settings.apicrypt, QStringLiteral("dr.martin"));
        m_dialogs.answerModal([](QDialog &shown) { QVERIFY(!control<QCheckBox>(shown, "cryptage")->isEnabled()); });
        dialog.edit(settings);
    }

    // The correspondent dialog.

    void correspondentDialogNeedsANameAndAnAddress()
    {
        Tajout dialog;
        QPushButton *ok = control<QPushButton>(dialog, "ok");
        typeInto(dialog, "nom", QStringLiteral("Martin Paul"));
        QVERIFY(!ok->isEnabled());
        typeInto(dialog, "email", QStringLiteral("pm@x.fr"));
        QVERIFY(ok->isEnabled());
        dialog.reset();
        QVERIFY(!ok->isEnabled());
        QCOMPARE(control<QLineEdit>(dialog, "nom")->text(), QString());
    }

    // The editor.

    void correspondentsListedByNameAndChosenByDoubleClick()
    {
        auto window = editor();
        QTreeWidget *list = control<QTreeWidget>(*window, "ListView1");
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("Bernard Luc"));
        QCOMPARE(list->topLevelItem(0)->text(3), QStringLiteral("luc@x.fr"));
        QVERIFY(!control<QPushButton>(*window, "BitBtn1")->isEnabled());
        choose(*window, 1);
        QCOMPARE(control<QLineEdit>(*window, "edtTo")->text(), QStringLiteral("zola@x.fr"));
        QCOMPARE(control<QLineEdit>(*window, "dest1")->text(), QStringLiteral("Zola Emile"));
        QVERIFY(control<QPushButton>(*window, "BitBtn1")->isEnabled());
    }

    void buildingAppendsTheTemplateEachTime()
    {
        auto window = editor();
        choose(*window, 0);
        click(*window, "BitBtn1");
        const QStringList lines = splitLines(memo(*window, "Memo1"));
        QCOMPARE(lines.size(), 17 + 2 + 2);
        QCOMPARE(lines.at(11), QStringLiteral(".          LUC"));
        QCOMPARE(lines.at(13), QStringLiteral("Dr X- Généraliste"));
        QCOMPARE(lines.mid(17), (QStringList{"Amoxicilline 1 g", "2 par jour", "****FIN****", "****FINFICHIER****"}));
        QVERIFY(control<QPushButton>(*window, "bbtnOk")->isEnabled());
        QVERIFY(!QFile::exists(m_folder + QStringLiteral("/cryptage.txt")));
        click(*window, "BitBtn1");
        QCOMPARE(splitLines(memo(*window, "Memo1")), lines + lines);
    }

    void cipherBoxFollowsTheSettingAtEachShowing()
    {
        m_settings.cryptage = QStringLiteral("oui");
        auto window = editor();
        QCheckBox *crypt = control<QCheckBox>(*window, "crypt");
        QVERIFY(crypt->isChecked());
        m_settings.cryptage = QStringLiteral("non");
        window->close();
        window->openFor(dupont(sentFolder()), QStringLiteral("Dr X"), QString());
        QVERIFY(!crypt->isChecked());
    }

    void closingKeepsTheTextsAndReopeningStoresTheNewContext()
    {
        auto window = editor();
        choose(*window, 0);
        click(*window, "BitBtn1");
        const QString text = memo(*window, "Memo1");
        window->close();
        MessageContext other = dupont(sentFolder());
        other.surname = QStringLiteral("MARTIN");
        window->openFor(other, QStringLiteral("Dr X"), QString());
        QCOMPARE(memo(*window, "Memo1"), text);
        QCOMPARE(window->context().surname, QStringLiteral("MARTIN"));
    }

    void addingRewritesTheFileInNameOrder()
    {
        auto window = editor();
        m_dialogs.answerModal([](QDialog &shown) {
            QVERIFY(!control<QPushButton>(shown, "ok")->isEnabled());
            typeInto(shown, "nom", QStringLiteral("Martin Paul"));
            typeInto(shown, "adresse", QStringLiteral("3 rue M"));
            typeInto(shown, "spec", QStringLiteral("Pneumologue"));
            typeInto(shown, "email", QStringLiteral("pm@x.fr"));
            QTest::mouseClick(control<QPushButton>(shown, "ok"), Qt::LeftButton);
        });
        click(*window, "Button1");
        QCOMPARE(control<QTreeWidget>(*window, "ListView1")->topLevelItem(1)->text(0), QStringLiteral("Martin Paul"));
        QCOMPARE(fileBytes(hprimIni()), QByteArray("Bernard Luc\r\n2 rue B\r\nORL\r\nluc@x.fr\r\n"
                                                   "Martin Paul\r\n3 rue M\r\nPneumologue\r\npm@x.fr\r\n"
                                                   "Zola Emile\r\n1 rue Z\r\nCardiologue\r\nzola@x.fr\r\n"));
        m_dialogs.answerModal([](QDialog &shown) {
            typeInto(shown, "nom", QStringLiteral("Autre"));
            QTest::mouseClick(control<QPushButton>(shown, "Button2"), Qt::LeftButton);
        });
        click(*window, "Button1");
        QCOMPARE(control<QTreeWidget>(*window, "ListView1")->topLevelItemCount(), 3);
    }

    void deletingAsksFirst()
    {
        auto window = editor();
        QTreeWidget *list = control<QTreeWidget>(*window, "ListView1");
        list->setCurrentItem(list->topLevelItem(0));
        m_dialogs.answerNo();
        click(*window, "Button2");
        QCOMPARE(list->topLevelItemCount(), 2);
        m_dialogs.answerYes();
        click(*window, "Button2");
        QCOMPARE(m_dialogs.texts(), (QStringList(2, QStringLiteral("Voulez-vous supprimer ce correspondant?"))));
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(fileBytes(hprimIni()), QByteArray("Zola Emile\r\n1 rue Z\r\nCardiologue\r\nzola@x.fr\r\n"));
    }

    void cancelEmptiesTheMessageButKeepsSubjectBoxesAndList()
    {
        auto window = editor();
        choose(*window, 0);
        click(*window, "BitBtn1");
        control<QCheckBox>(*window, "chkReturnReciept")->setChecked(true);
        click(*window, "bbtnCancel");
        QVERIFY(!window->isVisible());
        QCOMPARE(memo(*window, "Memo1"), QString());
        QCOMPARE(control<QLineEdit>(*window, "edtTo")->text(), QString());
        QCOMPARE(control<QLineEdit>(*window, "exp1")->text(), QString());
        QVERIFY(!control<QPushButton>(*window, "bbtnOk")->isEnabled());
        QVERIFY(!control<QPushButton>(*window, "BitBtn1")->isEnabled());
        QCOMPARE(control<QLineEdit>(*window, "edtSubject")->text(), QStringLiteral("Compte rendu d'examen médical"));
        QVERIFY(control<QCheckBox>(*window, "chkReturnReciept")->isChecked());
        QVERIFY(control<QTreeWidget>(*window, "ListView1")->selectedItems().isEmpty());
    }

    void successfulSendEmptiesTheWindowAndFilesTheCopy()
    {
        auto window = editor();
        choose(*window, 0);
        click(*window, "BitBtn1");
        const QStringList text = splitLines(memo(*window, "Memo1"));
        click(*window, "bbtnOk");
        QCOMPARE(m_transport.deliveries.size(), 1);
        QCOMPARE(m_transport.deliveries.first().recipients, QStringList{"luc@x.fr"});
        QVERIFY(!window->isVisible());
        QCOMPARE(memo(*window, "Memo1"), QString());
        QVERIFY(!control<QPushButton>(*window, "bbtnOk")->isEnabled());
        QCOMPARE(readWindowsTextFile(sentFolder() + QStringLiteral("/DUPONT Jean-en date du 15 3 2006.txt")), text);
    }

    void sentMessageWhoseCopyFailsCannotBeSentTwice()
    {
        auto window = editor();
        QFile blocker(sentFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        choose(*window, 0);
        click(*window, "BitBtn1");
        QVERIFY_THROWS_EXCEPTION(Error, window->bbtnOkClick());
        QCOMPARE(m_transport.deliveries.size(), 1);
        QVERIFY(!control<QPushButton>(*window, "bbtnOk")->isEnabled());
        QCOMPARE(control<QLineEdit>(*window, "edtTo")->text(), QString());
    }

    void failedSendKeepsEverything()
    {
        m_transport.failure = QStringLiteral("Le serveur de messagerie a refusé « DATA » : 554 non");
        auto window = editor();
        choose(*window, 0);
        click(*window, "BitBtn1");
        const QString text = memo(*window, "Memo1");
        try {
            window->bbtnOkClick();
            QFAIL("the failure was not reported");
        } catch (const Error &error) {
            QCOMPARE(error.message(), m_transport.failure);
        }
        QVERIFY(window->isVisible());
        QCOMPARE(memo(*window, "Memo1"), text);
        QCOMPARE(control<QLineEdit>(*window, "edtTo")->text(), QStringLiteral("luc@x.fr"));
        QVERIFY(control<QPushButton>(*window, "bbtnOk")->isEnabled());
        QVERIFY(!QDir(sentFolder()).exists() || QDir(sentFolder()).isEmpty());
    }

    void offlineSaysSoAndStaysOpen()
    {
        m_connection.offline = true;
        auto window = editor();
        choose(*window, 0);
        click(*window, "BitBtn1");
        click(*window, "bbtnOk");
        QCOMPARE(m_dialogs.texts(), QStringList{"Absence de connexion internet active: veuillez vous connecter sur internet"});
        QVERIFY(window->isVisible());
        QVERIFY(!memo(*window, "Memo1").isEmpty());
        QVERIFY(m_transport.deliveries.isEmpty());
    }

    void silentServerGivesUpAndTheWindowIsUsableAgain()
    {
        test::ScriptedSmtpPeer peer;
        peer.greeting.clear();
        m_settings.serveur = QStringLiteral("127.0.0.1");
        m_settings.port = QString::number(peer.port());
        SmtpSession session(200, QStringLiteral("poste.test"));
        auto window = editor(&session);
        choose(*window, 0);
        click(*window, "BitBtn1");
        QVERIFY_THROWS_EXCEPTION(Error, window->bbtnOkClick());
        QVERIFY(window->isVisible());
        QVERIFY(control<QPushButton>(*window, "bbtnOk")->isEnabled());
        QVERIFY(!memo(*window, "Memo1").isEmpty());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void encipheredTextArrivesInTheSecondMemo()
    {
        QVERIFY(QFile::copy(QStringLiteral(APICRYPT_STANDIN), m_folder + QStringLiteral("/dllapi.dll")));
        QVERIFY(QDir(m_folder).mkpath(QStringLiteral("clefs")));
        places::registryKey(ApicryptBridge::identifierKey)->setValue(QStringLiteral("Apicrypt"), QStringLiteral("dr.martin"));
        m_settings.cryptage = QStringLiteral("oui");
        auto window = editor();
        choose(*window, 0);
        click(*window, "BitBtn1");
        QTRY_VERIFY(!memo(*window, "Memo2").isEmpty());
        click(*window, "bbtnOk");
        QCOMPARE(m_transport.deliveries.size(), 1);
        QVERIFY(m_transport.deliveries.first().message.contains("MODULE D'ESSAI"));
        QVERIFY(!m_transport.deliveries.first().message.contains("DUPONT"));
        QVERIFY(QFile::exists(sentFolder() + QStringLiteral("/DUPONT Jean-en date du 15 3 2006.txt")));
        places::registryKey(ApicryptBridge::identifierKey)->clear();
    }

    // The correspondence folders.

    void foldersListThePatientsFilesToOpen_data()
    {
        QTest::addColumn<int>("folder");
        QTest::addColumn<QString>("name");
        QTest::newRow("letters received") << int(CorrespondenceFolder::ReceivedLetters) << "courrier";
        QTest::newRow("letters sent") << int(CorrespondenceFolder::SentLetters) << "courrier envoyé";
        QTest::newRow("results received") << int(CorrespondenceFolder::ReceivedResults) << "examens";
    }
    void foldersListThePatientsFilesToOpen()
    {
        QFETCH(int, folder);
        QFETCH(QString, name);
        const QString path = m_folder + QLatin1Char('/') + name;
        QCOMPARE(correspondenceFolderPath(CorrespondenceFolder(folder)), path);
        // A folder not made yet is said so, and nothing opens.
        browseCorrespondence(m_dialogs, nullptr, CorrespondenceFolder(folder), QStringLiteral("DURAND Marie"));
        QCOMPARE(m_dialogs.requests().last().kind, QStringLiteral("message"));
        QVERIFY(m_dialogs.requests().last().text.contains(QStringLiteral("n'existe pas encore")));

        QDir().mkpath(path);
        const QDateTime morning(QDate(2006, 3, 15), QTime(9, 0));
        for (const auto &[file, age] : {std::pair{"DURAND Marie-examen du 1 3 2006.txt", 2},
                                        std::pair{"DURAND Marie-lettre du Dr Petit, cardiologue.pdf", 1},
                                        std::pair{"Durand marie-en date du 15 3 2006.txt", 0},
                                        std::pair{"DURAND Mariette-examen du 2 3 2006.txt", 0},
                                        std::pair{"DURAND-Marie.txt", 0}}) {
            QFile written(path + QLatin1Char('/') + QString::fromUtf8(file));
            QVERIFY(written.open(QIODevice::WriteOnly));
            written.write("x");
            written.flush();
            written.setFileTime(morning.addDays(-age), QFileDevice::FileModificationTime);
        }
        test::OpenedFiles opened;
        m_dialogs.answerModal([](QDialog &window) {
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QCOMPARE(window.windowTitle().section(QStringLiteral(" : "), 1), QStringLiteral("DURAND Marie"));
            auto *list = control<QTreeWidget>(window, "Fichiers");
            QStringList names;
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                names << list->topLevelItem(i)->text(0);
            // His files whole, newest first; a namesake's files are not his.
            QCOMPARE(names, (QStringList{"Durand marie-en date du 15 3 2006.txt",
                                         "DURAND Marie-lettre du Dr Petit, cardiologue.pdf",
                                         "DURAND Marie-examen du 1 3 2006.txt"}));
            QCOMPARE(QApplication::focusWidget(), list);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            // A double-click: its first click, then the second.
            const QPoint last = list->visualRect(list->model()->index(2, 0)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, last);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, last);
            // The list's own menu opens the file under the mouse too.
            emit list->customContextMenuRequested(list->visualRect(list->model()->index(0, 0)).center());
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QCOMPARE(menu->actions().first()->text(), QStringLiteral("&Ouvrir"));
            QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
            QVERIFY(window.isVisible());
            QTest::mouseClick(control<QPushButton>(window, "Fermer"), Qt::LeftButton);
        });
        browseCorrespondence(m_dialogs, nullptr, CorrespondenceFolder(folder), QStringLiteral("DURAND Marie"));
        QCOMPARE(m_dialogs.pendingAnswers(), 0);
        QCOMPARE(opened.paths, (QStringList{path + QStringLiteral("/DURAND Marie-lettre du Dr Petit, cardiologue.pdf"),
                                            path + QStringLiteral("/DURAND Marie-examen du 1 3 2006.txt"),
                                            path + QStringLiteral("/Durand marie-en date du 15 3 2006.txt")}));
        // Another patient of the same folder: nothing of his there, said so.
        browseCorrespondence(m_dialogs, nullptr, CorrespondenceFolder(folder), QStringLiteral("ABEL Louise"));
        QVERIFY(m_dialogs.requests().last().text.contains(QStringLiteral("aucun fichier de ABEL Louise")));
    }

    void sentCopiesAreListedForTheirPatient()
    {
        const QString copy = sentCopyFileName(QStringLiteral("ABC Def"), QDate(2006, 3, 5));
        QCOMPARE(copy, QStringLiteral("ABC Def-en date du 5 3 2006.txt"));
        QDir().mkpath(sentFolder());
        QFile written(sentFolder() + QLatin1Char('/') + copy);
        QVERIFY(written.open(QIODevice::WriteOnly));
        written.close();
        QCOMPARE(patientFiles(sentFolder(), QStringLiteral("ABC Def")).value(0).fileName(), copy);
        QCOMPARE(sentCopyFileName(QStringLiteral("A/B ../C"), QDate(2006, 3, 5)), QStringLiteral("A_B .._C-en date du 5 3 2006.txt"));
    }

    // The results waiting in "A classer": one is filed to the patient picked, the other deleted.
    void waitingResultsFiledOrDeleted()
    {
        const QString examens = places::inProgramFolder(QStringLiteral("examens"));
        const test::FixedClock clock;
        const ResultFiler filer(examens, [](const HprimIdentity &) { return QStringList(); },
                                [](const QString &) { return std::nullopt; }, clock);
        filer.file(test::plainMessage(test::hprimResult(QStringLiteral("DUPOND"), QStringLiteral("Emile"),
                                                        QStringLiteral("03/05/1948"))));
        filer.file(test::plainMessage(QStringLiteral("Bonjour")));
        std::optional<QString> picked;
        PendingResultsDialog window(filer, m_dialogs, [&] { return picked; });
        window.refresh();
        QTreeWidget *list = control<QTreeWidget>(window, "Liste");
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("DUPOND"));
        QCOMPARE(list->topLevelItem(0)->text(2), QStringLiteral("03/05/1948"));
        QCOMPARE(list->topLevelItem(0)->text(3), ResultFiler::noPatient);
        QCOMPARE(list->topLevelItem(1)->text(3), ResultFiler::noHprimText);

        QTest::mouseClick(control<QPushButton>(window, "Choisir"), Qt::LeftButton); // search cancelled
        QCOMPARE(list->topLevelItemCount(), 2);
        picked = QStringLiteral("DUPONT Émile");
        QTest::mouseClick(control<QPushButton>(window, "Choisir"), Qt::LeftButton);
        QCOMPARE(list->topLevelItemCount(), 1);
        QVERIFY(QFile::exists(QDir(examens).filePath(QStringLiteral("DUPONT Émile-examen du 15 3 2006.txt"))));

        m_dialogs.answerNo();
        QTest::mouseClick(control<QPushButton>(window, "Supprimer"), Qt::LeftButton);
        QCOMPARE(list->topLevelItemCount(), 1);
        m_dialogs.answerYes();
        QTest::mouseClick(control<QPushButton>(window, "Supprimer"), Qt::LeftButton);
        QCOMPARE(list->topLevelItemCount(), 0);
        QVERIFY(!control<QPushButton>(window, "Supprimer")->isEnabled());
        QVERIFY(filer.waitingEntries().isEmpty());
    }
};

QTEST_MAIN(TestMessagingWindows)
#include "test_messagingwindows.moc"
