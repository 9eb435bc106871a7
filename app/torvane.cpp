#include "app/torvane.h"

#include "app/passwordgate.h"
#include "app/practicesearchwindow.h"
#include "app/tdialogues.h"
#include "app/tmotdepasse.h"
#include "clinical/analytes.h"
#include "platform/clock.h"
#include "platform/dialogservice.h"
#include "platform/screenplacement.h"

#include "app/tapropos.h"
#include "clinical/clearance.h"
#include "clinical/clearancerecord.h"
#include "clinical/consultationpage.h"
#include "clinical/labresults.h"
#include "clinical/labresultswindow.h"
#include "clinical/picklist.h"
#include "clinical/picklists.h"
#include "clinical/tacuitearch.h"
#include "clinical/tbetablocants.h"
#include "clinical/resultspage.h"
#include "clinical/statisticspage.h"
#include "clinical/vaccinationpage.h"
#include "app/prescriptionvidalhost.h"
#include "messaging/apicryptbridge.h"
#include "app/helpguide.h"
#include "messaging/correspondencedialog.h"
#include "platform/desktopopen.h"
#include "messaging/mailfetch.h"
#include "messaging/patientfinder.h"
#include "messaging/pendingresultsdialog.h"
#include "messaging/receivedresults.h"
#include "messaging/resultfiler.h"
#include "messaging/messagecontext.h"
#include "messaging/tfrmmessageeditor.h"
#include "messaging/tparamessage.h"
#include "vidal/vidalexchange.h"
#include "platform/error.h"
#include "platform/places.h"
#include "app/printsettingsmapping.h"
#include "prescribing/patientlistlayout.h"
#include "prescribing/prescriptionpage.h"
#include "prescribing/printcontext.h"
#include "prescribing/prescriptionprinter.h"
#include "prescribing/printfiles.h"
#include "prescribing/qprintersurface.h"
#include "prescribing/tmarges.h"
#include "prescribing/tordonnance.h"
#include "records/boundcontrols.h"
#include "records/identitypage.h"
#include "records/patientfilecommands.h"
#include "records/trechercher.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScopedValueRollback>
#include <utility>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace orvane::app {

namespace {

// The window holds its six tabs with their content, and fits a 1366 x 768 screen with the
// window's frame and a task bar.
const QSize chosenWindow(1100, 700);
const QSize largestWindow(1360, 700);

} // namespace

TOrvane::TOrvane(records::Database &db, DialogService &dialogs, const Clock &clock,
                 const QString &programFolder, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                              | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_dialogs(dialogs)
    , m_clock(clock)
    , m_programFolder(programFolder)
    , m_patient(db)
    , m_printerSurface(std::make_unique<prescribing::QPrinterSurface>(dialogs, clock))
    , m_prescriptionPrinter(std::make_unique<prescribing::PrescriptionPrinter>(
          *m_printerSurface, m_patient.patients(), m_patient.archive(),
          [this] { return printSettingsOf(m_settings.settings()); }, dialogs, clock))
    , m_settings(programFolder)
{
    setObjectName(QStringLiteral("Orvane"));
    setWindowTitle(QStringLiteral("Orvane 2006"));
    buildFrame();
    setFixedSize(chosenWindow.expandedTo(minimumSizeHint()).boundedTo(largestWindow));

    placeAtTopLeft(*this);
    m_patient.open();
    m_dateBox->setText(m_clock.todayText());
    m_settings.load();
    m_notebook->setCurrentIndex(0);
    m_vidalAvailable = QFileInfo::exists(QDir(m_programFolder).filePath(QStringLiteral("accesvidalcd.exe")));
    m_prescriptions->setVidalAvailable(m_vidalAvailable);
    buildResultsFetch();
}

TOrvane::~TOrvane()
{
    qApp->removeEventFilter(this);
}

void TOrvane::buildFrame()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);

    m_toolBar = new QToolBar(panel);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    buildToolBar();
    layout->addWidget(m_toolBar);

    m_notebook = new QTabWidget(panel);
    m_notebook->setObjectName(QStringLiteral("TabbedNotebook1"));
    m_identity = new records::IdentityPage(m_patient, m_clock, m_notebook);
    m_notebook->addTab(m_identity, QStringLiteral("&Identité"));
    buildConsultationPage();
    buildPrescriptionPage();
    buildPickLists();
    buildMeasurePages();
    layout->addWidget(m_notebook, 1);

    setCentralWidget(panel);
    buildMenus();

    m_commands = new records::PatientFileCommands(m_patient, m_dialogs, QGuiApplication::clipboard(), this, this);
    connect(m_commands, &records::PatientFileCommands::identityTabRequested, this,
            [this] { showTab(QStringLiteral("Identite")); });
    connect(m_commands, &records::PatientFileCommands::tabsFocusRequested, this, [this] { m_notebook->setFocus(); });
    connect(m_commands, &records::PatientFileCommands::prescriptionEmptied, this, &TOrvane::prescriptionEmptied);
    connect(m_commands, &records::PatientFileCommands::nameFocusRequested, this,
            [this] { m_identity->nameEdit()->setFocus(); });
    connect(m_commands, &records::PatientFileCommands::addressFocusRequested, this,
            [this] { m_identity->address()->setFocus(); });
    m_practiceSearch = new PracticeSearchWindow(
        m_patient.database(), m_dialogs, m_clock,
        [this](const QString &criteria, const QList<QStringList> &rows) {
            prescribing::printPatientList(prescribing::PrintContext(*m_printerSurface, printSettingsOf(m_settings.settings()),
                                                                    m_clock.todayText()),
                                          criteria, rows);
        },
        this);
    connect(m_practiceSearch, &PracticeSearchWindow::patientChosen, this, [this](qint64 rowId) {
        m_commands->openPatientRow(rowId);
        raise();
        activateWindow();
    });
    const QList<QPair<void (records::IdentityPage::*)(), messaging::CorrespondenceFolder>> folders = {
        {&records::IdentityPage::receivedLettersClicked, messaging::CorrespondenceFolder::ReceivedLetters},
        {&records::IdentityPage::sentLettersClicked, messaging::CorrespondenceFolder::SentLetters},
        {&records::IdentityPage::receivedResultsClicked, messaging::CorrespondenceFolder::ReceivedResults}};
    for (const auto &[clicked, folder] : folders) {
        connect(m_identity, clicked, this, [this, folder = folder] {
            messaging::browseCorrespondence(m_dialogs, this, folder, m_patient.patients().text(QStringLiteral("NomPrénom")));
        });
    }
    m_shownTab = m_notebook->currentIndex();
    connect(m_notebook, &QTabWidget::currentChanged, this, [this](int index) {
        const int left = std::exchange(m_shownTab, index);
        if (m_tabChangeByProgram)
            return;
        try {
            TabbedNotebook1Change(index);
        } catch (const Error &) {
            // A refused store leaves in sight the tab its text was typed in.
            const QScopedValueRollback<bool> guard(m_tabChangeByProgram, true);
            m_notebook->setCurrentIndex(left);
            throw;
        }
    });

    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(QStringLiteral("Timer1"));
    m_clockTimer->setInterval(1000);
    connect(m_clockTimer, &QTimer::timeout, this, &TOrvane::Timer1Timer);
    m_clockTimer->start();
    Timer1Timer();
    // Every key reaches the window's handler before the focused control.
    qApp->installEventFilter(this);
}

void TOrvane::buildToolBar()
{
    struct Button
    {
        const char *name;
        QString hint;
        void (TOrvane::*handler)();
        QStyle::StandardPixmap picture;
    };
    const Button buttons[] = {
        {"IEButton2", QStringLiteral("Dossier précédent"), &TOrvane::SpeedButton5Click, QStyle::SP_ArrowLeft},
        {"IEButton1", QStringLiteral("Dossier suivant"), &TOrvane::SpeedButton4Click, QStyle::SP_ArrowRight},
        {"IEButton3", QStringLiteral("Chercher (F7)"), &TOrvane::SpeedButton6Click, QStyle::SP_FileDialogContentsView},
        {"IEButton4", QStringLiteral("Nouveau (F8)"), &TOrvane::SpeedButton7Click, QStyle::SP_FileIcon},
        {"IEButton5", QStringLiteral("Supprimer (F9)"), &TOrvane::SpeedButton8Click, QStyle::SP_TrashIcon},
        {"IEButton6", QStringLiteral("Valider (F10)"), &TOrvane::SpeedButton9Click, QStyle::SP_DialogApplyButton},
        {"IEButton7", QStringLiteral("Agenda"), &TOrvane::IEButton7Click, QStyle::SP_FileDialogDetailedView},
        {"IEButton9", QStringLiteral("Quitter"), &TOrvane::Quitter1Click, QStyle::SP_DialogCloseButton},
    };
    for (const Button &button : buttons) {
        auto *tool = new QToolButton(m_toolBar);
        tool->setObjectName(QString::fromLatin1(button.name));
        tool->setToolTip(button.hint);
        tool->setIcon(style()->standardIcon(button.picture));
        tool->setFocusPolicy(Qt::NoFocus);
        connect(tool, &QToolButton::clicked, this, button.handler);
        m_toolBar->addWidget(tool);
    }
    auto *current = new QGroupBox(QStringLiteral("Dossier en cours:"), m_toolBar);
    auto *currentLayout = new QHBoxLayout(current);
    currentLayout->setContentsMargins(4, 0, 4, 2);
    auto *name = new QLineEdit(current);
    name->setObjectName(QStringLiteral("DBEdit1"));
    name->setFocusPolicy(Qt::ClickFocus);
    name->setStyleSheet(QStringLiteral("color: navy; font-weight: bold;"));
    name->setMinimumWidth(220);
    new records::BoundLineEdit(name, m_patient.patients(), QStringLiteral("NomPrénom"));
    currentLayout->addWidget(name);
    m_toolBar->addWidget(current);

    auto *clock = new QGroupBox(m_toolBar);
    auto *clockLayout = new QHBoxLayout(clock);
    clockLayout->setContentsMargins(4, 0, 4, 2);
    m_timeBox = new QLineEdit(QStringLiteral("0:0:0"), clock);
    m_timeBox->setObjectName(QStringLiteral("Edit1"));
    m_dateBox = new QLineEdit(QStringLiteral("-/-/-"), clock);
    m_dateBox->setObjectName(QStringLiteral("Edit2"));
    for (QLineEdit *box : {m_timeBox, m_dateBox}) {
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->setMaximumWidth(90);
        clockLayout->addWidget(box);
    }
    m_toolBar->addWidget(clock);
}

void TOrvane::buildMenus()
{
    const auto add = [this](QMenu *menu, const QString &text, auto handler, const QKeySequence &keys = {}) {
        QAction *action = menu->addAction(text);
        action->setShortcut(keys);
        // The function keys belong to the window's key handler; the menu only shows them.
        action->setShortcutContext(Qt::WidgetShortcut);
        if constexpr (!std::is_same_v<decltype(handler), std::nullptr_t>)
            connect(action, &QAction::triggered, this, handler);
        return action;
    };
    const auto show = [this](const QString &page) { return [this, page] { showTab(page); }; };

    QMenu *main = menuBar()->addMenu(QStringLiteral("&Menu Principal"));
    add(main, QStringLiteral("&Agenda"), nullptr);
    main->addSeparator();
    add(main, QStringLiteral("&Identité"), show(QStringLiteral("Identite")))->setObjectName(QStringLiteral("Identit1"));
    add(main, QStringLiteral("&Consultation"), show(QStringLiteral("consultation")))
        ->setObjectName(QStringLiteral("Consultaton1"));
    add(main, QStringLiteral("&Prescriptions"), show(QStringLiteral("Prescri")))->setObjectName(QStringLiteral("Prescription2"));
    add(main, QStringLiteral("&Vaccinations"), show(QStringLiteral("vaccin")))->setObjectName(QStringLiteral("Vaccinations2"));
    add(main, QStringLiteral("&Bilans et Mesures"), show(QStringLiteral("bilans")))
        ->setObjectName(QStringLiteral("BilansetMesures1"));
    add(main, QStringLiteral("&Statistiques"), show(QStringLiteral("statistique")))
        ->setObjectName(QStringLiteral("Statistiques2"));
    main->addSeparator();
    add(main, QStringLiteral("Recherche multicritère"), &TOrvane::RechercheMulticritere1Click,
        QKeySequence(Qt::CTRL | Qt::Key_F7))
        ->setObjectName(QStringLiteral("RechercheMulticritere1"));
    main->addSeparator();
    add(main, QStringLiteral("Calculatrice"), &TOrvane::Calculatrice1Click);
    main->addSeparator();
    add(main, QStringLiteral("&Configurer l'imprimante"), &TOrvane::Configurerlimpression1Click);
    main->addSeparator();
    add(main, QStringLiteral("Ouvrir une nouvelle fenêtre"), &TOrvane::NouvelleFentre1Click);
    main->addSeparator();
    add(main, QStringLiteral("&Quitter"), &TOrvane::Quitter1Click);

    QMenu *edition = menuBar()->addMenu(QStringLiteral("&Edition"));
    add(edition, QStringLiteral("&Copier"), &TOrvane::Copier1Click);
    add(edition, QStringLiteral("C&oller"), &TOrvane::Coller1Click);

    QMenu *records = menuBar()->addMenu(QStringLiteral("En&registrements"));
    add(records, QStringLiteral("&Précédent"), nullptr, QKeySequence(Qt::Key_F11));
    m_separatorAction = add(records, QStringLiteral("&Suivant"), [this] { m_prescriptions->Button1Click(); },
                             QKeySequence(Qt::Key_F12));
    records->addSeparator();
    m_cancelPosologyAction = add(records, QStringLiteral("&Nouveau"), [this] { m_prescriptions->BitBtn2Click(); });
    add(records, QStringLiteral("&Chercher"), &TOrvane::BitBtn3Click);
    add(records, QStringLiteral("C&hercher par N°"), &TOrvane::ChercherparN1Click);
    m_printAction = add(records, QStringLiteral("&Valider"), [this] { m_prescriptions->BitBtn4Click(); });
    add(records, QStringLiteral("&Supprimer"), &TOrvane::Supprimer1Click);

    QMenu *settings = menuBar()->addMenu(QStringLiteral("&Paramètres"));
    m_letterheadAction = add(settings, QStringLiteral("Entête Ordonnance"), &TOrvane::EntteOrdonnance1Click);
    settings->addSeparator();
    m_marginsAction = add(settings, QStringLiteral("&Marges Imprimante"), &TOrvane::MargesImprimante1Click);
    settings->addSeparator();
    add(settings, QStringLiteral("Messa&gerie"), &TOrvane::Messagerie1Click);
    add(settings, QStringLiteral("&Relever"), &TOrvane::Relever1Click)->setObjectName(QStringLiteral("Relever1"));
    add(settings, QStringLiteral("Examens à &classer"), &TOrvane::ExamensAClasser1Click)
        ->setObjectName(QStringLiteral("ExamensAClasser1"));

    QMenu *drugs = menuBar()->addMenu(QStringLiteral("M&édicaments"));
    add(drugs, QStringLiteral("Ajout"), &TOrvane::Voieorale1Click);

    QMenu *lists = menuBar()->addMenu(QStringLiteral("&Listes consult."));
    add(lists, QStringLiteral("&Antécédents"), &TOrvane::Antcdents1Click);
    add(lists, QStringLiteral("&Motif"), &TOrvane::Motif1Click);
    add(lists, QStringLiteral("&Examen Clinique"), &TOrvane::LAF1Click);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&?"));
    add(help, QStringLiteral("A &Propos"), &TOrvane::APropos1Click);
    add(help, QStringLiteral("&Aide"), &TOrvane::Aide2Click);

    m_shortcutMenu = new QMenu(this);
    m_shortcutMenu->setObjectName(QStringLiteral("Raccourci"));
    const QList<QPair<QString, QString>> shortcuts = {
        {QStringLiteral("Identité"), QStringLiteral("Identite")},
        {QStringLiteral("Consultation"), QStringLiteral("consultation")},
        {QStringLiteral("Prescription"), QStringLiteral("Prescri")},
        {QStringLiteral("Vaccinations"), QStringLiteral("vaccin")},
        {QStringLiteral("Bilans et Mesures"), QStringLiteral("bilans")},
        {QStringLiteral("Statistiques"), QStringLiteral("statistique")}};
    for (const auto &[text, page] : shortcuts)
        add(m_shortcutMenu, text, show(page));
    for (QWidget *body : {static_cast<QWidget *>(m_notebook), centralWidget()}) {
        body->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(body, &QWidget::customContextMenuRequested, this,
                [this, body](const QPoint &at) { m_shortcutMenu->popup(body->mapToGlobal(at)); });
    }
}

void TOrvane::buildConsultationPage()
{
    m_consultation = new clinical::ConsultationPage(
        m_patient, m_clock, m_dialogs,
        [this] { return askDateOfToday(); }, m_notebook);
    m_notebook->addTab(m_consultation, QStringLiteral("&Consultation"));
    connect(m_consultation, &clinical::ConsultationPage::archivesRequested, this,
            [this] { showArchive(QStringLiteral("Consultation"), QStringLiteral("Archive Consultation")); });
}

void TOrvane::buildPickLists()
{
    m_pickLists = new clinical::PickLists(m_patient, m_identity->treatmentBox(), m_identity->historyPages(), this);
    m_pickLists->setFocusTarget(m_prescriptions->findChild<QLineEdit *>(QStringLiteral("Edit6")));
    m_prescriptions->setDrugPickList(m_pickLists->drugChoice());
    connect(m_pickLists, &clinical::PickLists::drugChosen, m_prescriptions, &prescribing::PrescriptionPage::chooseDrug);
    connect(m_prescriptions, &prescribing::PrescriptionPage::lastPrescriptionRequested, this,
            [this] { showArchive(QStringLiteral("Prescription"), QStringLiteral("Dernier Traitement")); });
}

void TOrvane::showArchive(const QString &field, const QString &caption)
{
    records::Table &patients = m_patient.patients();
    const QString recordNumber = patients.isEmpty() ? QString() : patients.text(records::recordNumberField);
    m_windows.acuitearch->showArchive(field, recordNumber, patients.text(QStringLiteral("NomPrénom")), caption);
}

void TOrvane::editWordList(const QString &tableName, const QString &caption, records::Table &shown)
{
    m_windows.betablocants->editList(tableName, caption, 237, 354);
    shown.refresh();
    shown.findNearest({QStringLiteral("a")});
}

void TOrvane::Antcdents1Click()
{
    editWordList(QStringLiteral("MotsMed.db"), QStringLiteral("Antécédents"), m_patient.historyWords());
}

void TOrvane::Motif1Click()
{
    editWordList(QStringLiteral("Motif.db"), QStringLiteral("Motif"), m_patient.reasons());
}

void TOrvane::LAF1Click()
{
    editWordList(QStringLiteral("Examen.db"), QStringLiteral("Examen"), m_patient.examinations());
}

// The drug grids show the editor's changes from their next letter or search, which re-read the table.
void TOrvane::Voieorale1Click()
{
    m_windows.betablocants->editList(QStringLiteral("Orvane.db"), QStringLiteral("Liste des Médicaments"), 87, 658);
}

void TOrvane::buildPrescriptionPage()
{
    const prescribing::PrescriptionTables tables{m_patient.drugs(), m_patient.consultations(), m_patient.treatments(),
                                                 m_patient.history()};
    m_prescriptions = new prescribing::PrescriptionPage(tables, m_dialogs, m_clock, *m_prescriptionPrinter, m_notebook);
    m_prescriptions->setFocusTarget(m_notebook);
    m_notebook->addTab(m_prescriptions, QStringLiteral("&Prescriptions"));
    connect(this, &TOrvane::prescriptionEmptied, m_prescriptions, &prescribing::PrescriptionPage::clearPrescription);
    connect(this, &TOrvane::tabChangedByUser, m_prescriptions,
            [this] { m_prescriptions->setPlainPrintingEnabled(true); });

    m_vidalHost = std::make_unique<PrescriptionVidalHost>(*m_prescriptions, m_patient, m_clock);
    m_vidal = new vidal::VidalExchange(*m_vidalHost, QGuiApplication::clipboard(), this);
    m_prescriptions->setVidalAvailable(vidal::VidalExchange::accessProgramInstalled());
    connect(m_prescriptions, &prescribing::PrescriptionPage::vidalRequested, m_vidal, &vidal::VidalExchange::vidalClick);
    // Leaving the page in any way ends the watch for the access program's answer.
    connect(m_notebook, &QTabWidget::currentChanged, m_vidal,
            [this] { m_vidal->pageChanged(m_notebook->currentWidget() == m_prescriptions); });
    connect(m_prescriptions, &prescribing::PrescriptionPage::hprimRequested, this, &TOrvane::hprimClick);
    // The measures row is re-read after every change of patient and every filing of results.
    connect(&m_patient.measures(), &records::Table::currentChanged, this, &TOrvane::showClearance);
    connect(&m_patient.measures(), &records::Table::stateChanged, this, &TOrvane::showClearance);
    showClearance();
}

void TOrvane::showClearance()
{
    const records::Table &measures = m_patient.measures();
    const QString value = measures.isEmpty() ? QString() : measures.text(clinical::clearanceField);
    std::optional<QDate> day;
    if (!value.trimmed().isEmpty())
        day = clinical::ClearanceRecord(measures.database()).dayOf(measures.number(records::recordNumberField), value);
    m_prescriptions->showClearance(clinical::clearanceNotice(value, day, m_clock.today()));
}

void TOrvane::buildMeasurePages()
{
    const auto askDate = [this] { return askDateOfToday(); };
    m_vaccinations = new clinical::VaccinationPage(m_patient.treatments(), m_clock, askDate, m_notebook);
    m_notebook->addTab(m_vaccinations, QStringLiteral("&Vaccinations"));
    m_results = new clinical::ResultsPage(m_patient, m_clock, askDate, m_notebook);
    m_notebook->addTab(m_results, QStringLiteral("&Bilans et Mesures"));
    connect(m_results, &clinical::ResultsPage::receivedResultsRequested, this, &TOrvane::showReceivedResults);
    m_statistics = new clinical::StatisticsPage(
        m_patient.measures(), *m_printerSurface, m_clock,
        [this] {
            const records::Table &patients = m_patient.patients();
            return clinical::StatisticsPage::ChartPatient{
                prescribing::PrintFiles::ownerOf(patients),
                patients.isEmpty() ? QString() : patients.text(QStringLiteral("NomPrénom"))};
        },
        m_notebook);
    m_notebook->addTab(m_statistics, QStringLiteral("&Statistiques"));
    connect(this, &TOrvane::tabChangedByUser, this, [this](int index) {
        if (m_notebook->widget(index) == m_statistics)
            m_statistics->clearChoices();
        m_results->refreshPregnancy();
    });
}

bool TOrvane::askDateOfToday()
{
    return m_windows.dialogues->ask(QStringLiteral("Ajouter la Date"), QStringLiteral("Date du jour?"));
}

void TOrvane::hprimClick()
{
    records::Table &patients = m_patient.patients();
    const Settings &settings = m_settings.settings();
    messaging::MessageContext context;
    context.surname = patients.text(QStringLiteral("Nom"));
    context.forename = patients.text(QStringLiteral("Prénom"));
    context.patientKey = patients.text(QStringLiteral("NomPrénom"));
    context.birthDate = messaging::MessageContext::birthDateText(
        patients.text(QStringLiteral("Jour")), patients.text(QStringLiteral("Mois")), patients.text(QStringLiteral("Année")));
    context.socialSecurity = patients.text(QStringLiteral("SS"));
    const QString address = patients.text(QStringLiteral("Adresse"));
    context.addressLine1 = messaging::MessageContext::addressLine(address, 0);
    context.addressLine2 = messaging::MessageContext::addressLine(address, 1);
    context.senderEmail = settings.messaging.email;
    context.sentFolder = settings.folders.sentLetters;
    m_windows.messageEditor->openFor(context, settings.letterhead.identifiant, m_prescriptions->prescriptionText());
}

void TOrvane::showReceivedResults()
{
    records::Table &patients = m_patient.patients();
    if (patients.isEmpty())
        return;
    const messaging::PatientFile file{
        {patients.text(QStringLiteral("NomPrénom")), patients.number(QStringLiteral("N°Dossier")), patients.text(QStringLiteral("SS"))},
        patients.text(QStringLiteral("Nom")),
        patients.text(QStringLiteral("Prénom")),
        int(patients.number(QStringLiteral("Jour"))),
        int(patients.number(QStringLiteral("Mois"))),
        int(patients.number(QStringLiteral("Année")))};
    // Files put into the folder by hand are read now.
    const QStringList notes = m_receivedResults->readNewFiles(file);
    m_patient.measures().refresh();
    if (!m_resultsWindow) {
        m_resultsWindow = new clinical::LabResultsWindow(
            patients.database(), *m_printerSurface, m_dialogs,
            [this]() -> const clinical::AnalyteCatalogue & { return m_receivedResults->catalogue(); },
            [this](const QString &analyte, const QString &label) { m_receivedResults->addLabel(analyte, label); }, this);
    }
    m_resultsWindow->load({file.match.number, file.match.key, prescribing::PrintFiles::ownerOf(patients), notes});
    m_dialogs.execModal(*m_resultsWindow);
}

void TOrvane::Messagerie1Click()
{
    messaging::MessagingSettings values = toMessagingWindows(m_settings.settings().messaging);
    m_windows.paramessage->edit(values);
    m_settings.writeMessaging(fromMessagingWindows(values));
    followFetchSetting();
}

void TOrvane::buildResultsFetch()
{
    m_patientFinder = std::make_unique<messaging::PatientFinder>(m_patient.patients().database());
    m_receivedResults = std::make_unique<messaging::ReceivedResults>(
        m_patient.patients().database(), m_settings.settings().folders.receivedResults,
        places::inProgramFolder(QStringLiteral("Analyses.txt")));
    QStringList analytes;
    for (const clinical::Analyte &analyte : m_receivedResults->catalogue().analytes())
        analytes.append(analyte.name);
    m_practiceSearch->setAnalytes(analytes);
    m_resultFiler = std::make_unique<messaging::ResultFiler>(
        m_settings.settings().folders.receivedResults,
        [this](const messaging::HprimIdentity &identity) { return m_patientFinder->matchesOf(identity); },
        [this](const QString &text) {
            return messaging::ApicryptBridge::decipher(m_programFolder, m_settings.settings().messaging.apicryptId, text);
        },
        m_clock,
        [this](const messaging::PatientMatch &patient, const QString &path) {
            m_receivedResults->read(patient.number, path);
            // The lists and the clearance on screen are the stored ones.
            if (!m_patient.patients().isEmpty()
                && m_patient.patients().number(QStringLiteral("N°Dossier")) == patient.number)
                m_patient.measures().refresh();
        });
    m_mailFetch = std::make_unique<messaging::MailFetch>([this](const QByteArray &raw) { return m_resultFiler->file(raw); });
    connect(m_mailFetch.get(), &messaging::MailFetch::finished, this, [this](const messaging::MailFetch::Report &report) {
        if (m_pendingResults->isVisible())
            m_pendingResults->refresh();
        // The fetch of the timer does not interrupt the consultation but to say, once, that the
        // server cannot be reached; "Relever" tells what came.
        if (m_fetchByUser) {
            m_dialogs.showMessage(this, messaging::MailFetch::summary(report));
        } else if (report.failure != m_timedFetchFailure) {
            m_timedFetchFailure = report.failure;
            if (!report.failure.isEmpty())
                m_dialogs.showMessage(this, report.failure);
        }
    });
    m_pendingResults = new messaging::PendingResultsDialog(*m_resultFiler, m_dialogs, [this]() -> std::optional<messaging::PatientMatch> {
        m_dialogs.execModal(*m_windows.rechercher);
        if (!m_windows.rechercher->answeredOk())
            return std::nullopt;
        const QVariantList key = m_windows.rechercher->selectedKey();
        return messaging::PatientMatch{key.value(0).toString(), key.value(3).toDouble(), QString()};
    }, this);

    m_fetchTimer = new QTimer(this);
    m_fetchTimer->setObjectName(QStringLiteral("TimerReleve"));
    m_fetchTimer->setInterval(10 * 60 * 1000);
    connect(m_fetchTimer, &QTimer::timeout, this, [this] {
        if (!m_mailFetch->isRunning())
            startFetch(false);
    });
    followFetchSetting();
}

void TOrvane::followFetchSetting()
{
    if (m_settings.settings().messaging.incoming.fetchesByItself())
        m_fetchTimer->start();
    else
        m_fetchTimer->stop();
}

void TOrvane::startFetch(bool byUser)
{
    m_fetchByUser = byUser;
    m_mailFetch->start(m_settings.settings().messaging.incoming);
}

void TOrvane::Relever1Click()
{
    // A fetch of the timer under way is not started again: its outcome is told instead.
    if (m_mailFetch->isRunning())
        m_fetchByUser = true;
    else
        startFetch(true);
}

void TOrvane::ExamensAClasser1Click()
{
    m_pendingResults->showEntries();
}

void TOrvane::showTab(const QString &name)
{
    QWidget *page = m_notebook->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
    if (!page)
        page = m_notebook->findChild<QWidget *>(name);
    const QScopedValueRollback<bool> guard(m_tabChangeByProgram, true);
    m_notebook->setCurrentWidget(page);
}

void TOrvane::TabbedNotebook1Change(int index)
{
    m_patient.storeOpenRows();
    emit tabChangedByUser(index);
}

void TOrvane::Timer1Timer()
{
    m_timeBox->setText(QLocale().toString(m_clock.now().time(), QStringLiteral("HH:mm:ss")));
}

bool TOrvane::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this && isActiveWindow()) {
        // Seen once, by the widget the key is for.
        if (watched == QApplication::focusWidget() || (watched == this && !QApplication::focusWidget()))
            FormKeyDown(static_cast<QKeyEvent *>(event));
    }
    return QMainWindow::eventFilter(watched, event);
}

void TOrvane::FormKeyDown(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_F1: openHelpFile(); break;
    case Qt::Key_F7:
        if (event->modifiers() & Qt::ControlModifier)
            RechercheMulticritere1Click();
        else
            SpeedButton6Click();
        break;
    case Qt::Key_F8: SpeedButton7Click(); break;
    case Qt::Key_F9: SpeedButton8Click(); break;
    case Qt::Key_F10: SpeedButton9Click(); break;
    case Qt::Key_PageUp: SpeedButton5Click(); break;
    case Qt::Key_PageDown: SpeedButton4Click(); break;
    case Qt::Key_F12: m_separatorAction->trigger(); break;
    default: break;
    }
}

void TOrvane::SpeedButton5Click() { m_commands->previousFile(); }
void TOrvane::SpeedButton4Click() { m_commands->nextFile(); }
void TOrvane::SpeedButton6Click() { m_commands->searchWindow(*m_windows.rechercher); }
void TOrvane::SpeedButton7Click() { m_commands->newFile(); }
void TOrvane::SpeedButton8Click() { m_commands->deleteFile(records::PatientFileCommands::DeleteVariant::ToolBar); }
void TOrvane::SpeedButton9Click() { m_commands->validate(); }
void TOrvane::Supprimer1Click() { m_commands->deleteFile(records::PatientFileCommands::DeleteVariant::Menu); }
void TOrvane::BitBtn3Click() { m_commands->searchByName(); }
void TOrvane::RechercheMulticritere1Click()
{
    m_practiceSearch->show();
    m_practiceSearch->raise();
    m_practiceSearch->activateWindow();
}
void TOrvane::ChercherparN1Click() { m_commands->searchByNumber(); }
void TOrvane::Copier1Click() { m_identity->Copier1Click(); }
void TOrvane::Coller1Click() { m_identity->Coller1Click(); }

void TOrvane::startProgram(const QString &path)
{
    if (!QProcess::startDetached(path, {}))
        m_dialogs.showMessage(this, QStringLiteral("Le programme « %1 » n'a pas pu être lancé.")
                                        .arg(QDir::toNativeSeparators(path)));
}

void TOrvane::IEButton7Click()
{
    const QString agenda = QDir(m_programFolder).filePath(QStringLiteral("calendrier.exe"));
    if (!QFileInfo::exists(agenda)) {
        m_dialogs.showMessage(this, QStringLiteral("Aucun agenda n'est installé : le programme « calendrier.exe » "
                                                   "n'est pas dans le dossier « %1 ».")
                                        .arg(QDir::toNativeSeparators(m_programFolder)));
        return;
    }
    startProgram(agenda);
}

void TOrvane::Calculatrice1Click()
{
    const QString calculator = places::calculator();
    if (calculator.isEmpty()) {
        m_dialogs.showMessage(this, QStringLiteral("Aucune calculatrice n'est installée sur ce poste "
                                                   "(gnome-calculator, kcalc, galculator, mate-calc ou xcalc)."));
        return;
    }
    startProgram(calculator);
}

void TOrvane::NouvelleFentre1Click()
{
    startProgram(places::secondCopyExecutable());
}

void TOrvane::Configurerlimpression1Click()
{
    m_printerSurface->setUpPrinter(this);
}

void TOrvane::Aide2Click()
{
    // A practice's own help page comes first; without one, the guide from its first page.
    const QString practicePage = QDir(m_programFolder).filePath(QStringLiteral("aide/Orvane.htm"));
    if (QFileInfo::exists(practicePage))
        openWithDesktop(m_dialogs, this, practicePage);
    else
        openGuide(0);
}

void TOrvane::openHelpFile()
{
    openGuide(m_notebook->currentIndex());
}

void TOrvane::openGuide(int tab)
{
    const QString page = guidePageName(m_notebook->widget(tab)->objectName());
    const QString file = findGuidePage(page, places::guideFolders());
    if (file.isEmpty()) {
        m_dialogs.showMessage(this, QStringLiteral("Le guide de l'onglet « %1 » n'est pas installé sur ce poste "
                                                   "(page « %2 » introuvable).")
                                        .arg(m_notebook->tabText(tab).remove(QLatin1Char('&')), page));
        return;
    }
    openWithDesktop(m_dialogs, this, file);
}

void TOrvane::APropos1Click()
{
    m_dialogs.execModal(*m_windows.apropos);
}

void TOrvane::EntteOrdonnance1Click()
{
    prescribing::Tordonnance &dialog = *m_windows.ordonnance;
    dialog.load(printSettingsOf(m_settings.settings()));
    m_dialogs.execModal(dialog);
    // The close box keeps what was typed as well as "OK" does.
    m_settings.writeLetterhead(letterheadOf(dialog.edited()));
}

void TOrvane::MargesImprimante1Click()
{
    prescribing::TMarges &dialog = *m_windows.marges;
    dialog.load(printSettingsOf(m_settings.settings()));
    m_dialogs.execModal(dialog);
    // All five values are written, the unchanged ones too.
    m_settings.writeMargins(marginsOf(dialog.edited()));
}

void TOrvane::setWindows(const ProgramWindows &windows)
{
    m_windows = windows;
    m_prescriptionPrinter->setPrintingWindow(windows.imprime);
}

void TOrvane::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_gateRun) {
        m_gateRun = true;
        FormShow();
    }
}

// Runs once, when the window first shows: nothing of the files is usable before the gate.
void TOrvane::FormShow()
{
    PasswordGate gate(m_dialogs, *m_windows.motdepasse, m_settings);
    if (gate.run() == PasswordGate::Outcome::Ended) {
        m_ending = true;
        emit terminationRequested();
        return;
    }
    reportSettingsProblems();
}

void TOrvane::reportSettingsProblems()
{
    for (const QString &problem : m_settings.loadProblems())
        m_dialogs.showMessage(this, problem);
}

bool TOrvane::FormCloseQuery()
{
    return m_windows.dialogues->ask(QStringLiteral("ORVANE 2006"), QStringLiteral("Quitter Orvane 2006?"));
}

void TOrvane::closeEvent(QCloseEvent *event)
{
    if (!m_ending && !FormCloseQuery()) {
        event->ignore();
        return;
    }
    // Leaving closes the tables, which stores what was typed and not yet stored. When the store refuses
    // a row, the physician hears what would be lost and chooses: leave anyway, or stay and keep it.
    try {
        m_patient.close();
    } catch (const Error &error) {
        if (!m_ending && !m_dialogs.askYesNo(this, leavingWithoutStoringQuestion(error.message()), DialogService::Icon::Warning)) {
            event->ignore();
            return;
        }
        m_patient.closeWithoutStoring();
    }
    event->accept();
}

QString TOrvane::leavingWithoutStoringQuestion(const QString &failure)
{
    QStringList parts = m_patient.unsavedParts();
    if (parts.isEmpty())
        parts.append(QStringLiteral("ce qui a été tapé depuis le dernier enregistrement"));
    return QStringLiteral("%1\n\nSi vous quittez maintenant, ceci ne sera pas enregistré : %2.\n\n"
                          "Quitter quand même Orvane 2006 ?")
        .arg(failure, parts.join(QStringLiteral(", ")));
}

// The open rows stay stored even when the user then decides to stay.
void TOrvane::Quitter1Click()
{
    m_patient.storeOpenRows();
    close();
}

} // namespace orvane::app
