#include "prescribing/prescriptionpage.h"

#include "clinical/clearance.h"
#include "platform/clock.h"
#include "platform/dialogservice.h"
#include "platform/radiogroup.h"
#include "platform/textlines.h"
#include "prescribing/drugblock.h"
#include "prescribing/modellibrary.h"
#include "prescribing/posologygroups.h"
#include "prescribing/prescriptionlayout.h"
#include "prescribing/prescriptionprinting.h"
#include "prescribing/prescriptionrecords.h"
#include "prescribing/safetychecks.h"
#include "records/table.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvane::prescribing {

namespace {

const QString pastIllnessesField = QStringLiteral("Antécédents médicaux");
const QString drugAllergiesField = QStringLiteral("Allergies médicamenteuses");

// The memo separates its lines with LF; the program's texts with CR LF.
QString memoText(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

} // namespace

PrescriptionPage::PrescriptionPage(const PrescriptionTables &tables, DialogService &dialogs, const Clock &clock,
                                   PrescriptionPrinting &printing, QWidget *parent)
    : QWidget(parent)
    , m_tables(tables)
    , m_dialogs(dialogs)
    , m_clock(clock)
    , m_printing(printing)
{
    setObjectName(QStringLiteral("Prescri"));
    buildControls();
}

PrescriptionPage::~PrescriptionPage() = default;

QGroupBox *PrescriptionPage::group(const QString &name, const QString &caption)
{
    auto *box = new QGroupBox(caption, this);
    box->setObjectName(name);
    return box;
}

QToolButton *PrescriptionPage::button(const QString &name, const QString &caption, const QString &hint)
{
    auto *tool = new QToolButton(this);
    tool->setObjectName(name);
    tool->setText(caption);
    tool->setToolTip(hint);
    tool->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    tool->setMinimumHeight(28);
    return tool;
}

QGroupBox *PrescriptionPage::buildPosologyGroups()
{
    auto *posology = new QGroupBox(this);
    auto *row = new QHBoxLayout(posology);
    auto add = [this, row](const PosologyGroup &definition, int columns = 1) {
        auto *radio = new RadioGroup(definition.caption, definition.items, columns, this);
        radio->setObjectName(definition.objectName);
        row->addWidget(radio, 0, Qt::AlignTop);
        return radio;
    };
    // Long groups in two columns: the page holds the prescription text and the drug grid below.
    m_quantity = add(posology::quantity(), 2);
    m_dose = add(posology::dose(), 2);
    m_timeOfDay = add(posology::timeOfDay());
    m_period = add(posology::period(), 2);
    auto *renewalColumn = new QVBoxLayout;
    m_renewal = new RadioGroup(posology::renewal().caption, posology::renewal().items, 3, this);
    m_renewal->setObjectName(posology::renewal().objectName);
    m_doNotRenew = new RadioGroup(posology::doNotRenew().caption, posology::doNotRenew().items, 1, this);
    m_doNotRenew->setObjectName(posology::doNotRenew().objectName);
    m_usualPosologyGroup = new RadioGroup(posology::usualPosology().caption, posology::usualPosology().items, 1, this);
    m_usualPosologyGroup->setObjectName(posology::usualPosology().objectName);
    renewalColumn->addWidget(m_renewal);
    renewalColumn->addWidget(m_doNotRenew);
    renewalColumn->addWidget(m_usualPosologyGroup);
    renewalColumn->addStretch();
    row->addLayout(renewalColumn);
    connect(m_usualPosologyGroup, &RadioGroup::clicked, this, &PrescriptionPage::radioposoClick);
    return posology;
}

void PrescriptionPage::buildControls()
{
    auto *layout = new QGridLayout(this);

    m_renewalText = new QLineEdit(this);
    m_renewalText->setObjectName(QStringLiteral("Edit5"));
    m_renewalText->hide();
    m_classes = new QListWidget(this);
    m_classes->setObjectName(QStringLiteral("Erreur"));
    m_classes->hide();
    m_scratch = new QPlainTextEdit(this);
    m_scratch->setObjectName(QStringLiteral("Memo1"));
    m_scratch->hide();

    layout->addWidget(buildPosologyGroups(), 0, 0, 1, 2);

    QGroupBox *prescriptionBox = group(QStringLiteral("GroupBox16"), QStringLiteral("Prescription"));
    m_prescription = new QPlainTextEdit(prescriptionBox);
    m_prescription->setObjectName(QStringLiteral("ordonnanc"));
    m_prescription->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_prescription->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_prescription->setTabChangesFocus(false);
    (new QVBoxLayout(prescriptionBox))->addWidget(m_prescription);
    connect(m_prescription, &QPlainTextEdit::textChanged, this, &PrescriptionPage::ordonnancChange);
    layout->addWidget(prescriptionBox, 1, 0, 2, 1);

    m_drugChoice = group(QStringLiteral("GroupBox17"), QStringLiteral("&Choix Médicament"));
    auto *choiceLayout = new QGridLayout(m_drugChoice);
    auto *choiceLabel = new QLabel(QStringLiteral("Choix"), m_drugChoice);
    choiceLabel->setObjectName(QStringLiteral("Label13"));
    m_choice = new QLineEdit(m_drugChoice);
    m_choice->setObjectName(QStringLiteral("Edit6"));
    choiceLabel->setBuddy(m_choice);
    choiceLayout->addWidget(choiceLabel, 0, 0);
    choiceLayout->addWidget(m_choice, 0, 1);
    connect(m_choice, &QLineEdit::textChanged, this, [this] {
        // A usual posology belongs to the name it was fetched for.
        m_usualPosology.clear();
        m_usualPosologyGroup->setItemIndex(-1);
        m_choiceChecked = m_choice->text().isEmpty();
    });
    connect(m_choice, &QLineEdit::editingFinished, this, [this] {
        if (!m_choiceChecked)
            Edit6Change();
    });
    layout->addWidget(m_drugChoice, 1, 1);

    QStyle *look = style();
    QGroupBox *models = group(QStringLiteral("GroupBox18"), QStringLiteral("&Modèles"));
    auto *modelRow = new QHBoxLayout(models);
    const struct
    {
        const char *name;
        const char *caption;
        const char *hint;
        QStyle::StandardPixmap icon;
        void (PrescriptionPage::*handler)();
    } modelButtons[] = {
        {"IEButton10", "Bilans", "Charger un bilan", QStyle::SP_DialogOpenButton, &PrescriptionPage::IEButton10Click},
        {"IEButton11", "", "Charger un modèle de certificat", QStyle::SP_DialogOpenButton,
         &PrescriptionPage::IEButton11Click},
        {"IEButton12", "", "Enregistrer un Bilan comme modèle", QStyle::SP_DialogSaveButton,
         &PrescriptionPage::IEButton12Click},
        {"IEButton13", "", "Enregistrer un certificat comme modèle", QStyle::SP_DialogSaveButton,
         &PrescriptionPage::IEButton13Click},
    };
    for (const auto &entry : modelButtons) {
        QToolButton *tool = button(QString::fromUtf8(entry.name), QString::fromUtf8(entry.caption),
                                   QString::fromUtf8(entry.hint));
        tool->setIcon(look->standardIcon(entry.icon));
        connect(tool, &QToolButton::clicked, this, entry.handler);
        modelRow->addWidget(tool);
    }

    QGroupBox *printBox = group(QStringLiteral("GroupBox23"), QStringLiteral("&Impression"));
    auto *printRow = new QHBoxLayout(printBox);
    m_printPlain = button(QStringLiteral("IEButton18"), QStringLiteral("Normal"), QStringLiteral("Impression"));
    QToolButton *printFull =
        button(QStringLiteral("IEButton19"), QStringLiteral("100%"), QStringLiteral("Impression 100%"));
    m_printCertificate = button(QStringLiteral("IEButton20"), QStringLiteral("Certif."),
                                QStringLiteral("Impression des Certificats Médicaux et Bilans"));
    m_hprim = button(QStringLiteral("hprim"), QString(), QStringLiteral("Envoyer un message HPRIM"));
    m_hprim->setIcon(look->standardIcon(QStyle::SP_ArrowRight));
    m_hprim->setEnabled(false);
    connect(m_printPlain, &QToolButton::clicked, this, &PrescriptionPage::BitBtn4Click);
    connect(printFull, &QToolButton::clicked, this, &PrescriptionPage::BitBtn5Click);
    connect(m_printCertificate, &QToolButton::clicked, this, &PrescriptionPage::SpeedButton11Click);
    connect(m_hprim, &QToolButton::clicked, this, &PrescriptionPage::hprimRequested);
    for (QToolButton *tool : {m_printPlain, printFull, m_printCertificate, m_hprim})
        printRow->addWidget(tool);
    // Side by side: the height they would take one above the other goes to the drug grid.
    auto *modelsAndPrint = new QHBoxLayout;
    modelsAndPrint->addWidget(models);
    modelsAndPrint->addWidget(printBox);
    layout->addLayout(modelsAndPrint, 2, 1);

    auto *actions = new QHBoxLayout;
    QGroupBox *inputBox = group(QStringLiteral("GroupBox24"), QString());
    auto *inputRow = new QHBoxLayout(inputBox);
    QToolButton *cancel = button(QStringLiteral("IEButton21"), QString(), QStringLiteral("Annulation Saisie"));
    cancel->setIcon(look->standardIcon(QStyle::SP_DialogResetButton));
    QToolButton *separator =
        button(QStringLiteral("IEButton24"), QString(), QStringLiteral("séparateur 100%/non 100%"));
    separator->setIcon(look->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton));
    QToolButton *last = button(QStringLiteral("IEButton23"), QString(), QStringLiteral("Dernière ordonnance"));
    last->setIcon(look->standardIcon(QStyle::SP_FileDialogDetailedView));
    connect(cancel, &QToolButton::clicked, this, &PrescriptionPage::BitBtn2Click);
    connect(separator, &QToolButton::clicked, this, &PrescriptionPage::Button1Click);
    connect(last, &QToolButton::clicked, this, &PrescriptionPage::SpeedButton14Click);
    for (QToolButton *tool : {cancel, separator, last})
        inputRow->addWidget(tool);
    actions->addWidget(inputBox);

    QGroupBox *validateBox = group(QStringLiteral("GroupBox25"), QString());
    QToolButton *ok = button(QStringLiteral("Ok"), QString(), QStringLiteral("Validation Médicament"));
    ok->setIcon(look->standardIcon(QStyle::SP_DialogApplyButton));
    connect(ok, &QToolButton::clicked, this, &PrescriptionPage::OkClick);
    (new QHBoxLayout(validateBox))->addWidget(ok);
    actions->addWidget(validateBox);

    QGroupBox *vidalBox = group(QStringLiteral("GroupBox33"), QString());
    m_vidal = button(QStringLiteral("vidal"), QString(), QStringLiteral("Vidal"));
    m_vidal->setIcon(look->standardIcon(QStyle::SP_FileDialogContentsView));
    m_vidal->setEnabled(false);
    connect(m_vidal, &QToolButton::clicked, this, &PrescriptionPage::vidalRequested);
    (new QHBoxLayout(vidalBox))->addWidget(m_vidal);
    actions->addWidget(vidalBox);
    m_clearance = new QLabel(this);
    m_clearance->setObjectName(QStringLiteral("clearanceShown"));
    actions->addWidget(m_clearance);
    actions->addStretch();
    layout->addLayout(actions, 3, 0, 1, 2);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);
    // The room left goes to the drug grid, so that the list shows as many drugs as it can.
    layout->setRowStretch(1, 1);
}

QString PrescriptionPage::prescriptionText() const
{
    QString text = m_prescription->toPlainText();
    text.replace(QLatin1Char('\n'), lineBreak);
    return text;
}

void PrescriptionPage::setPrescriptionText(const QString &text)
{
    m_prescription->setPlainText(memoText(text));
}

void PrescriptionPage::appendToPrescription(const QString &line)
{
    appendLines({line});
}

void PrescriptionPage::appendLines(const QStringList &lines)
{
    const QString before = prescriptionText();
    QString after = before;
    // An open last line is ended first, so that every line added, the empty ones included, stays
    // a line of its own: a drug block always adds its five lines.
    if (lines.size() > 1 && !after.isEmpty() && !endsWithLineBreak(after))
        after += lineBreak;
    orvane::appendLines(after, lines);
    // Only the new end is inserted, so the physician's undo history and view of the text stay.
    QTextCursor end(m_prescription->document());
    end.movePosition(QTextCursor::End);
    end.insertText(memoText(after.mid(before.size())));
    m_prescription->verticalScrollBar()->setValue(m_prescription->verticalScrollBar()->maximum());
}

void PrescriptionPage::clearPrescription()
{
    m_prescription->clear();
}

QString PrescriptionPage::renewalText() const
{
    return m_renewalText->text();
}

QStringList PrescriptionPage::pickedClasses() const
{
    QStringList classes;
    for (int i = 0; i < m_classes->count(); ++i)
        classes.append(m_classes->item(i)->text());
    return classes;
}

void PrescriptionPage::logDrug(const QString &text)
{
    logPrescribedDrug(m_tables.consultations, m_tables.treatments, text, m_clock.todayText());
}

void PrescriptionPage::setPlainPrintingEnabled(bool enabled)
{
    m_printPlain->setEnabled(enabled);
    m_printCertificate->setEnabled(enabled);
}

void PrescriptionPage::setVidalAvailable(bool available)
{
    m_vidal->setEnabled(available);
}

QString PrescriptionPage::scratchText() const
{
    return m_scratch->toPlainText();
}

void PrescriptionPage::setScratchText(const QString &text)
{
    m_scratch->setPlainText(memoText(text));
}

void PrescriptionPage::setFocusTarget(QWidget *target)
{
    m_focusTarget = target;
}

void PrescriptionPage::setDrugPickList(QWidget *pickList)
{
    auto *choiceLayout = static_cast<QGridLayout *>(m_drugChoice->layout());
    pickList->setParent(m_drugChoice);
    choiceLayout->addWidget(pickList, 1, 0, 1, 2);
}

void PrescriptionPage::chooseDrug(const QString &brand, const QString &drugClass)
{
    m_choice->setText(brand);
    Edit6Change();
    m_classes->addItem(drugClass);
}

void PrescriptionPage::Edit6Change()
{
    m_choiceChecked = true;
    const QString drug = m_choice->text();
    if (!contraIndicated(drug, {m_tables.history.text(pastIllnessesField), m_tables.history.text(drugAllergiesField)}))
        return;
    m_dialogs.showMessage(this, contraIndicationMessage(drug));
    m_choice->clear();
}

void PrescriptionPage::OkClick()
{
    if (!m_choiceChecked) {
        // A typed name not yet checked is checked now; a refused one adds nothing.
        Edit6Change();
        if (m_choice->text().isEmpty())
            return;
    }
    if (classesInteract(pickedClasses())) {
        const bool goOn = m_dialogs.askYesNo(this, interactionWarning, DialogService::Icon::Warning);
        m_classes->clear();
        if (!goOn) {
            resetInput();
            return;
        }
    }
    prescription();
}

PosologyChoice PrescriptionPage::posologyChoice() const
{
    PosologyChoice choice;
    choice.quantity = m_quantity->chosenText();
    choice.dose = m_dose->chosenText();
    choice.timeOfDay = m_timeOfDay->chosenText();
    choice.period = m_period->chosenText();
    choice.renewal = m_renewal->chosenText();
    choice.doNotRenew = m_doNotRenew->chosenText();
    return choice;
}

void PrescriptionPage::prescription()
{
    const QString drug = m_choice->text();
    const PosologyChoice choice = posologyChoice();
    appendLines(drugBlock(drug, choice, m_usualPosology));
    m_renewalText->setText(renewalStatement(choice.renewal));
    logDrug(drug);
    resetInput();
}

void PrescriptionPage::resetInput()
{
    if (m_focusTarget)
        m_focusTarget->setFocus();
    for (RadioGroup *radio :
         {m_quantity, m_dose, m_timeOfDay, m_period, m_renewal, m_doNotRenew, m_usualPosologyGroup})
        radio->setItemIndex(-1);
    m_choice->clear();
    m_usualPosology.clear();
    m_choiceChecked = true;
}

void PrescriptionPage::radioposoClick()
{
    const QString drug = m_choice->text();
    if (drug.isEmpty())
        return;
    const std::optional<QString> posology = usualPosologyOf(m_tables.drugs, drug);
    if (!posology) {
        // Nothing to use: the dose and time of day chosen stay in force.
        m_usualPosologyGroup->setItemIndex(-1);
        return;
    }
    m_usualPosology = *posology;
}

void PrescriptionPage::BitBtn2Click()
{
    resetInput();
    setPlainPrintingEnabled(true);
}

void PrescriptionPage::Button1Click()
{
    setPlainPrintingEnabled(false);
    appendToPrescription(zoneSeparator);
}

void PrescriptionPage::SpeedButton14Click()
{
    emit lastPrescriptionRequested();
}

void PrescriptionPage::BitBtn4Click()
{
    m_printing.printPlain(prescriptionText(), renewalText());
    clearPrescription();
}

void PrescriptionPage::BitBtn5Click()
{
    m_printing.printLongTermIllness(prescriptionText(), renewalText());
    clearPrescription();
    setPlainPrintingEnabled(true);
}

void PrescriptionPage::SpeedButton11Click()
{
    m_printing.printCertificate(prescriptionText());
    clearPrescription();
}

void PrescriptionPage::loadModel(ModelKind kind)
{
    ModelLibrary library(m_dialogs, this);
    if (const std::optional<QStringList> lines = library.load(kind))
        appendLines(*lines);
}

void PrescriptionPage::saveModel(ModelKind kind)
{
    ModelLibrary library(m_dialogs, this);
    library.save(kind, splitLines(prescriptionText()));
}

void PrescriptionPage::IEButton10Click()
{
    loadModel(ModelKind::Bilan);
}

void PrescriptionPage::IEButton11Click()
{
    loadModel(ModelKind::Certificate);
}

void PrescriptionPage::IEButton12Click()
{
    saveModel(ModelKind::Bilan);
}

void PrescriptionPage::IEButton13Click()
{
    saveModel(ModelKind::Certificate);
}

void PrescriptionPage::ordonnancChange()
{
    m_hprim->setEnabled(!m_prescription->toPlainText().isEmpty());
}

void PrescriptionPage::showClearance(const clinical::ClearanceNotice &notice)
{
    m_clearance->setText(notice.text);
    QFont font = m_clearance->font();
    font.setBold(notice.old);
    m_clearance->setFont(font);
    m_clearance->setStyleSheet(notice.old ? QStringLiteral("color: red") : QString());
}

} // namespace orvane::prescribing
