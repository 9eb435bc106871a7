#include "windowtour.h"

#include "app/practicesearchwindow.h"
#include "app/startup.h"
#include "app/tlogo.h"
#include "clinical/labresultgrid.h"
#include "app/torvane.h"
#include "platform/dialogservice.h"
#include "messaging/correspondencefolders.h"
#include "messaging/hprimtext.h"
#include "messaging/receivedresults.h"
#include "platform/textlines.h"
#include "records/currentpatient.h"
#include "records/schema.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSet>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace orvane::test {

namespace {

// A text of that many characters made of words, as long texts are.
QString wordsOfLength(int length)
{
    static const QString words = QStringLiteral("Hypertension artérielle essentielle traitée depuis longtemps ");
    QString text;
    while (text.size() < length)
        text += words;
    return text.left(length).trimmed();
}

QString longMemo()
{
    QStringList lines;
    for (int i = 1; i <= 12; ++i)
        lines << QStringLiteral("%1. ").arg(i) + wordsOfLength(70);
    return lines.join(QStringLiteral("\r\n"));
}

void fillRow(records::Table &table, const QHash<QString, QVariant> &values)
{
    if (table.isEmpty())
        table.insert();
    else
        table.edit();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        table.setValue(it.key(), it.value());
    table.post();
}

void addListRows(records::Table &table, const QString &field, const QStringList &texts)
{
    for (const QString &text : texts) {
        table.insert();
        table.setText(field, text);
        table.post();
    }
}

} // namespace

WindowTour::WindowTour()
{
    m_dialogs.answerModal([](QDialog &password) {
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(password.focusWidget(), Qt::Key_Return);
    });
    m_startup = std::make_unique<app::Startup>(m_dialogs, m_clock, std::chrono::milliseconds(0));
    if (!m_startup->start() || m_startup->isTerminated())
        qFatal("the program did not start");
    fillSampleBase();
}

WindowTour::~WindowTour() = default;

void WindowTour::fillSampleBase()
{
    records::CurrentPatient &patient = m_startup->mainWindow()->patient();
    const QString valueList = QStringLiteral("12/01/2005\r72\r15/06/2005\r74,5\r15/03/2006\r73\r");
    addListRows(patient.reasons(), QStringLiteral("Motif"),
                {QStringLiteral("Angine"), QStringLiteral("Certificat de non contre-indication au sport"),
                 QStringLiteral("Douleurs abdominales"), QStringLiteral("Fièvre"), QStringLiteral("Lombalgie"),
                 QStringLiteral("Renouvellement"), QStringLiteral("Toux"), wordsOfLength(60)});
    addListRows(patient.historyWords(), QStringLiteral("Mots"),
                {QStringLiteral("Appendicectomie"), QStringLiteral("Asthme"), QStringLiteral("Diabète de type 2"),
                 QStringLiteral("Hypertension artérielle"), QStringLiteral("Pénicilline"), wordsOfLength(50)});
    addListRows(patient.examinations(), QStringLiteral("Laf"),
                {QStringLiteral("Auscultation normale"), QStringLiteral("Tympans normaux"), wordsOfLength(60)});
    for (const QString &drug : {QStringLiteral("AMOXICILLINE 1 g"), QStringLiteral("DOLIPRANE 1000 mg"),
                                QStringLiteral("KARDEGIC 75 mg"), QStringLiteral("LEVOTHYROX 100 microgrammes"),
                                QStringLiteral("SPASFON LYOC 80 mg"), QStringLiteral("TAHOR 20 mg"),
                                QStringLiteral("VENTOLINE 100 microgrammes/dose")}) {
        patient.drugs().insert();
        patient.drugs().setText(QStringLiteral("Marque"), drug);
        patient.drugs().setText(QStringLiteral("Posologie"), QStringLiteral("1 comprimé matin, midi et soir"));
        patient.drugs().setText(QStringLiteral("Classe"), QStringLiteral("A"));
        patient.drugs().post();
    }

    patient.beginNewFile();
    records::Table &identity = patient.patients();
    identity.setText(QStringLiteral("Nom"), QStringLiteral("DE LA FONTAINE-MARTINEZ"));
    identity.setText(QStringLiteral("Prénom"), QStringLiteral("Marie-Christine-Élodie"));
    identity.setText(QStringLiteral("Téléphone"), QStringLiteral("01-23-45-67-89"));
    identity.setText(QStringLiteral("Adresse"), QStringLiteral("Résidence des Acacias, bâtiment C, escalier 4\r\n"
                                                              "128 avenue du Maréchal de Lattre de Tassigny\r\n"
                                                              "69003 LYON"));
    identity.setText(QStringLiteral("Profession"), wordsOfLength(50));
    identity.setValue(QStringLiteral("Jour"), 28);
    identity.setValue(QStringLiteral("Mois"), 12);
    identity.setValue(QStringLiteral("Année"), 1948);
    identity.setText(QStringLiteral("Medecins spécialistes"), longMemo());
    identity.setText(QStringLiteral("Sexe"), QStringLiteral("Féminin"));
    identity.setText(QStringLiteral("SS"), QStringLiteral("2481269123456-789"));
    patient.composeName();
    patient.validate();

    fillRow(patient.history(), {{QStringLiteral("Antécédents médicaux"), longMemo()},
                                {QStringLiteral("Bilans"), longMemo()},
                                {QStringLiteral("Antécédents chirugicaux"), longMemo()},
                                {QStringLiteral("Allergies médicamenteuses"), longMemo()}});
    fillRow(patient.consultations(), {{QStringLiteral("Consultation"), longMemo()}});
    fillRow(patient.treatments(), {{QStringLiteral("Traitement général"), longMemo()},
                                   {QStringLiteral("Vaccinations"), longMemo()}});
    QHash<QString, QVariant> measures;
    for (const records::FieldDef &field : records::tableDef(records::tables::measures).fields) {
        if (field.type == records::FieldType::Memo)
            measures.insert(field.name, valueList);
    }
    measures.insert(QStringLiteral("Clearance"), QStringLiteral("85 ml/min"));
    fillRow(patient.measures(), measures);
    fillRow(patient.insurance(), {{QStringLiteral("Type d'AM"), QStringLiteral("100%")}});
    // The window shows the patient as a move to him shows him.
    patient.patients().refresh();

    // Received results waiting for their patient: one whose header names nobody of the base, one
    // message without HPRIM text.
    const QString waiting = messaging::pendingResultsFolder(
        m_startup->mainWindow()->settingsStore().settings().folders.receivedResults);
    QDir().mkpath(waiting);
    messaging::MessageContext header;
    header.surname = QStringLiteral("DE LA FONTAINE-MARTINES");
    header.forename = QStringLiteral("Marie-Christine-Élodie");
    header.birthDate = QStringLiteral("28/12/1948");
    const QString name = header.surname + QLatin1Char(' ') + header.forename;
    writeWindowsTextFile(
        QDir(waiting).filePath(messaging::receivedResultBaseName(name, QDate(2006, 3, 15)) + QStringLiteral(".txt")),
        messaging::HprimText(header, QDate(2006, 3, 15), QString(), QString()).lines(wordsOfLength(200)));
    // Two results filed for the patient, which "Examens reçus" lists: the first one read and seen,
    // the second one read when the results window opens, so not seen yet.
    const QString key = patient.patients().text(QStringLiteral("NomPrénom"));
    messaging::MessageContext self;
    self.surname = identity.text(QStringLiteral("Nom"));
    self.forename = identity.text(QStringLiteral("Prénom"));
    self.birthDate = QStringLiteral("28/12/1948");
    self.socialSecurity = identity.text(QStringLiteral("SS"));
    const QString received = messaging::correspondenceFolderPath(messaging::CorrespondenceFolder::ReceivedResults);
    const auto fileResults = [&](const QDate &day, const QString &results) {
        const QString path = received + QLatin1Char('/') + messaging::receivedResultBaseName(key, day) + QStringLiteral(".txt");
        writeWindowsTextFile(path, messaging::HprimText(self, day, QString(), QStringLiteral("Laboratoire des Acacias")).lines(results));
        return path;
    };
    const QString seen = fileResults(
        QDate(2006, 1, 10),
        QStringLiteral("****LAB****\nRES|HEMOGLOBINE|HB|N|13.5|g/dL|12.0|16.0|N|F\n"
                       "RES|GLYCEMIE A JEUN|GLY|N|1.32|g/l|0.70|1.10|H|F|7.33|mmol/l|3.89|6.11\n"
                       "RES|CREATININE|CREA|N|72|µmol/l|45|90|N|F\n****FIN****"));
    const double number = identity.number(records::recordNumberField);
    messaging::ReceivedResults(identity.database(), received, QString()).read(number, seen);
    clinical::markResultsSeen(identity.database(), number);
    fileResults(QDate(2006, 3, 16),
                QStringLiteral("****LAB****\nRES|HEMOGLOBINE|HB|N|11.2|g/dL|12.0|16.0|L|F\n"
                               "RES|GLYCEMIE A JEUN|GLY|N|0.98|g/l|0.70|1.10|N|F|5.44|mmol/l|3.89|6.11\n"
                               "RES|CREATININE|CREA|N|70|µmol/l|45|90|N|F\n"
                               "RES|CHOLESTEROL HDL (METHODE ENZYMATIQUE)|HDL|N|0.52|g/l|0.40|0.80|N|F\n****FIN****"));
    QFile message(QDir(waiting).filePath(QStringLiteral("message du 16 3 2006.eml")));
    message.open(QIODevice::WriteOnly);
    message.write("From: labo@bio.fr\r\nSubject: Bonjour\r\nContent-Type: text/plain\r\n\r\nBonjour\r\n");
}

// The search across the practice with its list filled, then with what it cannot read said.
void WindowTour::visitPracticeSearch(app::TOrvane &main, const Visit &visit)
{
    app::PracticeSearchWindow &search = *main.practiceSearchWindow();
    search.show();
    const auto type = [&search](const char *field, const QString &text) {
        search.findChild<QLineEdit *>(QString::fromLatin1(field))->setText(text);
    };
    type("minimumAge", QStringLiteral("1"));
    search.startSearch();
    QTRY_VERIFY(!search.isSearching());
    visit(QStringLiteral("PracticeSearchWindow"), search);
    type("minimumAge", QStringLiteral("8,5,2"));
    type("drug", QStringLiteral("500 mg"));
    type("from", QStringLiteral("31/02/2026"));
    search.startSearch();
    visit(QStringLiteral("PracticeSearchWindow-erreurs"), search);
    search.hide();
}

void WindowTour::visitEveryWindow(const Visit &visit)
{
    app::TOrvane &main = *m_startup->mainWindow();
    QTabWidget *tabs = main.notebook();
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        visit(QStringLiteral("main-") + tabs->widget(i)->objectName(), main);
    }
    tabs->setCurrentIndex(0);
    // Windows that their command fills before it shows them are opened by that command.
    QSet<QWidget *> visited;
    for (const auto &[name, command] : {std::pair{"betablocants-Motif", "Motif1Click"},
                                        std::pair{"betablocants-Orvane", "Voieorale1Click"},
                                        std::pair{"rechercher", "SpeedButton6Click"},
                                        std::pair{"ExamensAClasser", "ExamensAClasser1Click"}}) {
        m_dialogs.answerModal([&, name = name](QDialog &window) {
            visit(QString::fromLatin1(name), window);
            visited.insert(&window);
        });
        QMetaObject::invokeMethod(&main, command);
    }
    visitPracticeSearch(main, visit);
    visited.insert(main.practiceSearchWindow());
    m_dialogs.answerModal([&](QDialog &window) {
        visit(QStringLiteral("Correspondance"), window);
        visited.insert(&window);
    });
    QTest::mouseClick(main.findChild<QAbstractButton *>(QStringLiteral("examensrecus")), Qt::LeftButton);
    // The patient's results, and the chart of the first analyte.
    m_dialogs.answerModal([&](QDialog &window) {
        auto *grid = window.findChild<QTableView *>(QStringLiteral("grille"));
        grid->setCurrentIndex(grid->model()->index(0, 0));
        visit(QStringLiteral("ResultatsRecus"), window);
        visited.insert(&window);
        m_dialogs.answerModal([&](QDialog &chart) { visit(QStringLiteral("ResultatsRecus-graphique"), chart); });
        QTest::mouseClick(window.findChild<QAbstractButton *>(QStringLiteral("Graphique")), Qt::LeftButton);
    });
    main.showTab(QStringLiteral("bilans"));
    QTest::mouseClick(main.findChild<QAbstractButton *>(QStringLiteral("resultatsrecus")), Qt::LeftButton);
    main.showTab(QStringLiteral("Identite"));
    for (QWidget *window : main.findChildren<QWidget *>()) {
        // Menus and pop-ups are Qt's own; they appear only while a person holds them open.
        if (!window->isWindow() || window->windowType() == Qt::Popup || visited.contains(window))
            continue;
        window->show();
        QApplication::processEvents();
        visit(window->objectName().isEmpty() ? QString::fromLatin1(window->metaObject()->className())
                                             : window->objectName(),
              *window);
        window->hide();
    }
    visitToolkitWindows(visit);
    app::TLogo splash;
    splash.show();
    QApplication::processEvents();
    visit(QStringLiteral("splash"), splash);
}

void WindowTour::visitToolkitWindows(const Visit &visit)
{
    app::TOrvane &main = *m_startup->mainWindow();
    QtDialogService dialogs;
    // Each box is seen once shown, then closed, which ends its exec().
    const auto visitNextModal = [&](const QString &name) {
        QTimer::singleShot(100, [&, name] {
            if (QWidget *window = QApplication::activeModalWidget()) {
                visit(name, *window);
                window->close();
            }
        });
    };
    visitNextModal(QStringLiteral("message"));
    dialogs.showMessage(&main, QStringLiteral("Enregistrement Validé"));
    visitNextModal(QStringLiteral("question"));
    dialogs.askYesNo(&main, QStringLiteral("Nouveau Dossier ?"), DialogService::Icon::Information);
    visitNextModal(QStringLiteral("search-by-name"));
    dialogs.askText(&main, QStringLiteral("Nom du patient"), QStringLiteral("tapez le nom"), QString());
    visitNextModal(QStringLiteral("search-by-number"));
    dialogs.askText(&main, QStringLiteral("Recherche par numéro de dossier"), QStringLiteral("Taper un numéro"), QString());
    visitNextModal(QStringLiteral("file-dialog"));
    dialogs.chooseFileToOpen(&main, messaging::correspondenceFolderPath(messaging::CorrespondenceFolder::ReceivedResults),
                             QString(), QStringLiteral("Modèles"));

    // The date picker's calendar, opened by its arrow as a person opens it.
    main.showTab(QStringLiteral("bilans"));
    QApplication::processEvents();
    auto *picker = main.findChild<QDateEdit *>(QStringLiteral("DateTimePicker1"));
    QTest::mouseClick(picker, Qt::LeftButton, {}, QPoint(picker->width() - 6, picker->height() / 2));
    QWidget *calendar = picker->calendarWidget()->window();
    if (calendar->isVisible()) {
        visit(QStringLiteral("calendar"), *calendar);
        calendar->close();
    }
    main.showTab(QStringLiteral("Identite"));
}

} // namespace orvane::test
