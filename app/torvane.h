#pragma once

#include "app/programwindows.h"
#include "app/settingsstore.h"
#include "records/currentpatient.h"

#include <QMainWindow>
#include <memory>

class QLineEdit;
class QAction;
class QKeyEvent;
class QMenu;
class QTabWidget;
class QTimer;
class QToolBar;

namespace orvane {
class Clock;
class DialogService;
}

namespace orvane::prescribing {
class PrescriptionPage;
class PrescriptionPrinter;
class QPrinterSurface;
}
namespace orvane::vidal {
class VidalExchange;
class VidalHost;
}
namespace orvane::clinical {
class ConsultationPage;
class PickLists;
class ResultsPage;
class LabResultsWindow;
class StatisticsPage;
class VaccinationPage;
}
namespace orvane::messaging {
class MailFetch;
class PatientFinder;
class PendingResultsDialog;
class ReceivedResults;
class ResultFiler;
}
namespace orvane::records {
class IdentityPage;
class PatientFileCommands;
}

namespace orvane::app {

class PracticeSearchWindow;

// The main window: the frame around the current patient's file, its tables and the settings.
class TOrvane : public QMainWindow
{
    Q_OBJECT

public:
    TOrvane(records::Database &db, DialogService &dialogs, const Clock &clock,
            const QString &programFolder, QWidget *parent = nullptr);
    ~TOrvane() override;

    // The windows created after this one; the frame shows them when needed.
    void setWindows(const ProgramWindows &windows);
    const ProgramWindows &windows() const { return m_windows; }

    records::CurrentPatient &patient() { return m_patient; }
    PracticeSearchWindow *practiceSearchWindow() const { return m_practiceSearch; }
    records::PatientFileCommands &fileCommands() { return *m_commands; }
    records::IdentityPage *identityPage() const { return m_identity; }
    prescribing::QPrinterSurface &printerSurface() { return *m_printerSurface; }
    vidal::VidalExchange &vidalExchange() { return *m_vidal; }
    prescribing::PrescriptionPage *prescriptionPage() const { return m_prescriptions; }
    messaging::MailFetch &mailFetch() { return *m_mailFetch; }
    messaging::PendingResultsDialog *pendingResults() const { return m_pendingResults; }
    clinical::ConsultationPage *consultationPage() const { return m_consultation; }
    clinical::VaccinationPage *vaccinationPage() const { return m_vaccinations; }
    clinical::ResultsPage *resultsPage() const { return m_results; }
    clinical::LabResultsWindow *resultsWindow() const { return m_resultsWindow; }
    clinical::StatisticsPage *statisticsPage() const { return m_statistics; }
    SettingsStore &settingsStore() { return m_settings; }
    QTabWidget *notebook() const { return m_notebook; }
    // Whether the Vidal access program is installed in the program folder.
    bool vidalAvailable() const { return m_vidalAvailable; }

signals:
    // The access password was not given: the program ends without any question.
    void terminationRequested();

public slots:
    void FormShow();
    bool FormCloseQuery();
    void Quitter1Click();

    // Tool bar, menus and function keys.
    void SpeedButton5Click();
    void SpeedButton4Click();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton8Click();
    void SpeedButton9Click();
    void Supprimer1Click();
    void BitBtn3Click();
    void ChercherparN1Click();
    void IEButton7Click();
    void Calculatrice1Click();
    void NouvelleFentre1Click();
    void Configurerlimpression1Click();
    void EntteOrdonnance1Click();
    void MargesImprimante1Click();
    void Aide2Click();
    void APropos1Click();
    void Copier1Click();
    void Coller1Click();
    void TabbedNotebook1Change(int index);
    void Timer1Timer();
    void FormKeyDown(QKeyEvent *event);
    void showTab(const QString &name);
    void Messagerie1Click();
    // The results received for the current patient, his files put there by hand read first.
    void showReceivedResults();
    // Fetches the results received on the incoming server, and lists those waiting to be filed.
    void Relever1Click();
    void ExamensAClasser1Click();
    // The list editor on the history words, the reasons, the examination phrases, the drugs.
    void Antcdents1Click();
    void Motif1Click();
    void LAF1Click();
    void Voieorale1Click();
    void hprimClick();
    // "Recherche multicritère" (Ctrl+F7).
    void RechercheMulticritere1Click();

signals:
    // Filled by the prescription tab: the prescription being composed is emptied.
    void prescriptionEmptied();
    // The user changed the tab (not a menu): the pages refresh what they show.
    void tabChangedByUser(int index);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The question asked when leaving cannot store everything: the failure and what would be lost.
    QString leavingWithoutStoringQuestion(const QString &failure);
    void buildFrame();
    void buildToolBar();
    void buildMenus();
    void buildPrescriptionPage();
    void buildConsultationPage();
    void buildPickLists();
    // The archive viewer on a text of the current patient's archive row.
    void showArchive(const QString &field, const QString &caption);
    // The list editor on a word table; the window's own view of it is then re-read, at "a".
    void editWordList(const QString &tableName, const QString &caption, records::Table &shown);
    void buildMeasurePages();
    // The clearance the prescription reads, with its day, on "&Prescriptions".
    void showClearance();
    // "Date du jour?" in the question window, for the date check of the patient's running texts.
    bool askDateOfToday();
    // F1: the guide's page of the shown tab, in the desktop's browser.
    void openHelpFile();
    void openGuide(int tab);
    void startProgram(const QString &path);
    void reportSettingsProblems();
    void buildResultsFetch();
    // The fetch every 10 minutes runs while the setting asks for it.
    void followFetchSetting();
    void startFetch(bool byUser);

    DialogService &m_dialogs;
    const Clock &m_clock;
    QString m_programFolder;
    records::CurrentPatient m_patient;
    std::unique_ptr<prescribing::QPrinterSurface> m_printerSurface;
    std::unique_ptr<prescribing::PrescriptionPrinter> m_prescriptionPrinter;
    records::PatientFileCommands *m_commands = nullptr;
    PracticeSearchWindow *m_practiceSearch = nullptr;
    records::IdentityPage *m_identity = nullptr;
    prescribing::PrescriptionPage *m_prescriptions = nullptr;
    clinical::ConsultationPage *m_consultation = nullptr;
    clinical::PickLists *m_pickLists = nullptr;
    clinical::VaccinationPage *m_vaccinations = nullptr;
    clinical::ResultsPage *m_results = nullptr;
    clinical::LabResultsWindow *m_resultsWindow = nullptr;
    clinical::StatisticsPage *m_statistics = nullptr;
    QMenu *m_shortcutMenu = nullptr;
    QTimer *m_clockTimer = nullptr;
    QLineEdit *m_timeBox = nullptr;
    bool m_tabChangeByProgram = false;
    int m_shownTab = 0;
    std::unique_ptr<vidal::VidalHost> m_vidalHost;
    vidal::VidalExchange *m_vidal = nullptr;
    // Menu items whose work belongs to the other tabs and dialogs, which connect to them.
    QAction *m_separatorAction = nullptr;
    QAction *m_cancelPosologyAction = nullptr;
    QAction *m_printAction = nullptr;
    QAction *m_letterheadAction = nullptr;
    QAction *m_marginsAction = nullptr;
    SettingsStore m_settings;
    ProgramWindows m_windows;
    std::unique_ptr<messaging::PatientFinder> m_patientFinder;
    std::unique_ptr<messaging::ReceivedResults> m_receivedResults;
    std::unique_ptr<messaging::ResultFiler> m_resultFiler;
    // Declared after the filer it files with, so that it stops first.
    std::unique_ptr<messaging::MailFetch> m_mailFetch;
    messaging::PendingResultsDialog *m_pendingResults = nullptr;
    QTimer *m_fetchTimer = nullptr;
    bool m_fetchByUser = false;
    // The failure of the timer's fetches last shown: the same one is not shown every 10 minutes.
    QString m_timedFetchFailure;

    QToolBar *m_toolBar = nullptr;
    QLineEdit *m_dateBox = nullptr;
    QTabWidget *m_notebook = nullptr;
    bool m_vidalAvailable = false;
    bool m_gateRun = false;
    bool m_ending = false;
};

} // namespace orvane::app
