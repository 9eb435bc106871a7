#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QToolButton;
class QGroupBox;
class QLabel;

namespace orvane {
class Clock;
class DialogService;
class RadioGroup;
namespace records {
class Table;
}
namespace clinical {
struct ClearanceNotice;
}
} // namespace orvane

namespace orvane::prescribing {

class PrescriptionPrinting;
struct PosologyChoice;
enum class ModelKind;

// The table objects of the main window that the prescription tab reads and writes: the drug list
// and the current patient's consultation, treatment and history rows.
struct PrescriptionTables
{
    records::Table &drugs;
    records::Table &consultations;
    records::Table &treatments;
    records::Table &history;
};

// The "&Prescriptions" tab: the posology builder, the prescription text, the model and print
// buttons. The drug pick list is placed into it by its owner and hands the chosen drug to chooseDrug().
class PrescriptionPage : public QWidget
{
    Q_OBJECT

public:
    PrescriptionPage(const PrescriptionTables &tables, DialogService &dialogs, const Clock &clock,
                     PrescriptionPrinting &printing, QWidget *parent = nullptr);
    ~PrescriptionPage() override;

    // The prescription text, its lines separated by CR LF.
    QString prescriptionText() const;
    void setPrescriptionText(const QString &text);
    // Appends a line by the line-append rule of the patient texts.
    void appendToPrescription(const QString &line);
    // Emptied on a change of patient and after each print.
    void clearPrescription();

    // The renewal statement of the last validated drug (`Edit5`).
    QString renewalText() const;
    // The classes of the drugs picked so far (`Erreur`).
    QStringList pickedClasses() const;

    // Records a drug in the patient's consultation and treatment texts.
    void logDrug(const QString &text);

    // "Normal" and "Certif.": enabled again by every change of tab.
    void setPlainPrintingEnabled(bool enabled);
    void setVidalAvailable(bool available);
    // The hidden scratch memo `Memo1` of the clipboard exchange.
    QString scratchText() const;
    void setScratchText(const QString &text);

    // Where the keyboard focus goes after a drug is validated or refused (the tab control).
    void setFocusTarget(QWidget *target);
    // The drug pick list (grid, letters, search) goes into the group "&Choix Médicament".
    void setDrugPickList(QWidget *pickList);
    // The patient's clearance beside the buttons, in red when it is old.
    void showClearance(const clinical::ClearanceNotice &notice);

public slots:
    // A drug picked in the drug grid: its name becomes the choice, its class joins the picked classes.
    void chooseDrug(const QString &brand, const QString &drugClass);

    void OkClick();
    void radioposoClick();
    void Edit6Change();
    void BitBtn2Click();
    void Button1Click();
    void SpeedButton14Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void SpeedButton11Click();
    void IEButton10Click();
    void IEButton11Click();
    void IEButton12Click();
    void IEButton13Click();
    void ordonnancChange();

signals:
    // "Dernière ordonnance": the archive viewer shows the patient's last printed prescription.
    void lastPrescriptionRequested();
    void hprimRequested();
    void vidalRequested();

private:
    void buildControls();
    QGroupBox *buildPosologyGroups();
    QGroupBox *group(const QString &name, const QString &caption);
    QToolButton *button(const QString &name, const QString &caption, const QString &hint);
    void prescription();
    PosologyChoice posologyChoice() const;
    void resetInput();
    void appendLines(const QStringList &lines);
    void loadModel(ModelKind kind);
    void saveModel(ModelKind kind);

    PrescriptionTables m_tables;
    DialogService &m_dialogs;
    const Clock &m_clock;
    PrescriptionPrinting &m_printing;
    QWidget *m_focusTarget = nullptr;

    QString m_usualPosology;
    // A typed name is checked once typing ends; a picked one at once.
    bool m_choiceChecked = true;

    RadioGroup *m_quantity = nullptr;
    RadioGroup *m_dose = nullptr;
    RadioGroup *m_timeOfDay = nullptr;
    RadioGroup *m_period = nullptr;
    RadioGroup *m_renewal = nullptr;
    RadioGroup *m_doNotRenew = nullptr;
    RadioGroup *m_usualPosologyGroup = nullptr;
    QLineEdit *m_renewalText = nullptr;
    QListWidget *m_classes = nullptr;
    QPlainTextEdit *m_scratch = nullptr;
    QPlainTextEdit *m_prescription = nullptr;
    QLineEdit *m_choice = nullptr;
    QGroupBox *m_drugChoice = nullptr;
    QToolButton *m_printPlain = nullptr;
    QToolButton *m_printCertificate = nullptr;
    QToolButton *m_hprim = nullptr;
    QToolButton *m_vidal = nullptr;
    QLabel *m_clearance = nullptr;
};

} // namespace orvane::prescribing
