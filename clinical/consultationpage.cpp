#include "clinical/consultationpage.h"

#include "clinical/archivemove.h"
#include "clinical/consultationlines.h"
#include "clinical/fieldtext.h"
#include "clinical/finddialog.h"
#include "clinical/picklist.h"
#include "clinical/textfind.h"
#include "platform/clock.h"
#include "platform/dialogservice.h"
#include "platform/radiogroup.h"
#include "records/boundcontrols.h"
#include "records/currentpatient.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvane::clinical {

namespace {

const QString notesField = QStringLiteral("Consultation");

// A choice group with the two value fields typed beside it.
RadioGroup *addMeasureGroup(const QString &name, const QString &caption, const QStringList &items,
                            const QStringList &fieldNames, QList<QLineEdit *> &fields, QHBoxLayout *row,
                            QWidget *parent)
{
    auto *group = new RadioGroup(caption, items, 1, parent);
    group->setObjectName(name);
    auto *values = new QVBoxLayout;
    for (const QString &fieldName : fieldNames) {
        auto *field = new QLineEdit(parent);
        field->setObjectName(fieldName);
        field->setMaximumWidth(60);
        values->addWidget(field);
        fields.append(field);
    }
    row->addWidget(group);
    row->addLayout(values);
    return group;
}

} // namespace

ConsultationPage::ConsultationPage(records::CurrentPatient &patient, const Clock &clock, DialogService &dialogs,
                                   DateCheck::Question askDateOfToday, QWidget *parent)
    : QWidget(parent)
    , m_patient(patient)
    , m_clock(clock)
    , m_dialogs(dialogs)
    , m_dateCheck(clock, std::move(askDateOfToday))
    , m_findDialog(new FindDialog(this))
{
    setObjectName(QStringLiteral("consultation"));
    auto *layout = new QGridLayout(this);
    layout->addWidget(buildNotes(), 0, 0, 2, 1);
    m_reasons = addPickList(QStringLiteral("&Motif"), layout, 0, patient.reasons(), QStringLiteral("Motif"),
                            QStringLiteral("alphabet3"), QStringLiteral("recherche3"), QStringLiteral("Motif"));
    m_examinations = addPickList(QStringLiteral("Examen Clinique"), layout, 1, patient.examinations(),
                                 QStringLiteral("Laf"), QStringLiteral("alphabet4"), QStringLiteral("recherche4"),
                                 QStringLiteral("laf"));
    layout->addWidget(buildEntries(), 2, 0, 1, 2);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);
    layout->setRowStretch(0, 1);
    layout->setRowStretch(1, 1);

    connect(m_reasons, &PickList::picked, this, &ConsultationPage::DBGrid1DblClick);
    connect(m_examinations, &PickList::picked, this, &ConsultationPage::lafDblClick);
    connect(m_findDialog, &FindDialog::find, this, &ConsultationPage::FindDialog1Find);
}

QWidget *ConsultationPage::buildNotes()
{
    QGroupBox *group = new QGroupBox(QStringLiteral("&Consultation"), this);
    m_notes = new QPlainTextEdit(group);
    m_notes->setObjectName(QStringLiteral("consul"));
    m_notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    new records::BoundMemo(m_notes, m_patient.consultations(), notesField);
    // The click into the notes is the mouse button's release, after the caret has moved.
    m_notes->viewport()->installEventFilter(this);
    (new QVBoxLayout(group))->addWidget(m_notes);
    return group;
}

PickList *ConsultationPage::addPickList(const QString &caption, QGridLayout *layout, int row, records::Table &table,
                                        const QString &field, const QString &letters, const QString &search,
                                        const QString &grid)
{
    QGroupBox *group = new QGroupBox(caption, this);
    PickListLook look{letters, search, grid, QStringList{field}, QStringLiteral("Double Click"), false, true};
    auto *list = new PickList(table, field, look, group);
    (new QVBoxLayout(group))->addWidget(list);
    layout->addWidget(group, row, 1);
    return list;
}

QWidget *ConsultationPage::buildEntries()
{
    auto *entries = new QWidget(this);
    auto *row = new QHBoxLayout(entries);
    row->setContentsMargins(0, 0, 0, 0);

    m_measures = addMeasureGroup(QStringLiteral("Mesures"), QStringLiteral("Mesures"),
                                 {QStringLiteral("Poids (kg)"), QStringLiteral("Taille (cm)")},
                                 {QStringLiteral("poids"), QStringLiteral("taille")}, m_measureFields, row, entries);
    m_measures->setToolTip(QStringLiteral("Click simple"));
    connect(m_measures, &RadioGroup::clicked, this, &ConsultationPage::MesuresClick);
    m_bloodPressure = addMeasureGroup(QStringLiteral("Tension"), QStringLiteral("Tension artérielle"),
                                      {QStringLiteral("Systol./ Diastol.")}, {QStringLiteral("max"), QStringLiteral("min")},
                                      m_pressureFields, row, entries);
    connect(m_bloodPressure, &RadioGroup::clicked, this, &ConsultationPage::TensionClick);

    QGroupBox *appointment = new QGroupBox(QStringLiteral("&RV dans::"), entries);
    m_appointment = new QListWidget(appointment);
    m_appointment->setObjectName(QStringLiteral("arevoir"));
    m_appointment->addItems(appointmentIntervals());
    m_appointment->setToolTip(QStringLiteral("prochain rendez-vous (Double-Click ou Espace)"));
    m_appointment->setMaximumHeight(90);
    m_appointment->installEventFilter(this);
    (new QVBoxLayout(appointment))->addWidget(m_appointment);
    row->addWidget(appointment);
    connect(m_appointment, &QListWidget::itemDoubleClicked, this, &ConsultationPage::arevoirDblClick);

    struct Button
    {
        const char *name;
        QString hint;
        void (ConsultationPage::*handler)();
        QStyle::StandardPixmap picture;
    };
    const Button buttons[] = {
        {"IEButton14", QStringLiteral("Rien à signaler"), &ConsultationPage::SpeedButton2Click, QStyle::SP_DialogYesButton},
        {"IEButton15", QStringLiteral("Idem"), &ConsultationPage::SpeedButton3Click, QStyle::SP_BrowserReload},
        {"IEButton28", QStringLiteral("Recherche Texte"), &ConsultationPage::IEButton28Click,
         QStyle::SP_FileDialogContentsView},
        {"IEButton16", QStringLiteral("Archives"), &ConsultationPage::SpeedButton12Click, QStyle::SP_DirOpenIcon},
        {"IEButton17", QStringLiteral("Ajout archives"), &ConsultationPage::SpeedButton13Click, QStyle::SP_DriveHDIcon},
    };
    auto *buttonColumn = new QGridLayout;
    int index = 0;
    for (const Button &button : buttons) {
        auto *tool = new QToolButton(entries);
        tool->setObjectName(QString::fromLatin1(button.name));
        tool->setToolTip(button.hint);
        tool->setIcon(style()->standardIcon(button.picture));
        connect(tool, &QToolButton::clicked, this, button.handler);
        buttonColumn->addWidget(tool, index / 3, index % 3);
        ++index;
    }
    row->addLayout(buttonColumn);
    return entries;
}

bool ConsultationPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_notes->viewport() && event->type() == QEvent::MouseButtonRelease)
        consulClick();
    if (watched == m_appointment && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space && m_appointment->currentItem()) {
        arevoirDblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ConsultationPage::consulClick()
{
    if (m_dateCheck.run(m_patient.consultations(), notesField))
        m_notes->moveCursor(QTextCursor::End);
}

void ConsultationPage::appendToNotes(const QString &line)
{
    consulClick();
    appendLinesToField(m_patient.consultations(), notesField, {line});
    m_notes->moveCursor(QTextCursor::End);
}

void ConsultationPage::takeWord(PickList *list)
{
    appendToNotes(list->word());
    list->finishPick(m_notes);
}

void ConsultationPage::lafDblClick()
{
    takeWord(m_examinations);
}

void ConsultationPage::DBGrid1DblClick()
{
    takeWord(m_reasons);
}

void ConsultationPage::SpeedButton2Click()
{
    appendToNotes(normalExaminationLine());
    m_notes->setFocus();
}

void ConsultationPage::SpeedButton3Click()
{
    appendToNotes(sameExaminationLine());
    m_notes->setFocus();
}

void ConsultationPage::arevoirDblClick()
{
    const QListWidgetItem *chosen = m_appointment->currentItem();
    if (!chosen)
        return;
    appendToNotes(appointmentLine(chosen->text()));
    m_appointment->clearSelection();
    m_notes->setFocus();
}

void ConsultationPage::writeMeasure(const std::optional<MeasureEntry> &entry, RadioGroup *group,
                                    const QList<QLineEdit *> &typed)
{
    if (!entry)
        return;
    appendLinesToField(m_patient.consultations(), notesField, {entry->notesLine});
    addToValueLists(m_patient.measures(), entry->values, m_clock.todayText());
    group->setItemIndex(-1);
    for (QLineEdit *field : typed)
        field->clear();
    m_notes->moveCursor(QTextCursor::End);
    m_notes->setFocus();
}

void ConsultationPage::MesuresClick()
{
    consulClick();
    const bool weight = m_measures->itemIndex() == 0;
    QLineEdit *field = m_measureFields.at(weight ? 0 : 1);
    writeMeasure(weight ? weightEntry(field->text()) : heightEntry(field->text()), m_measures, {field});
}

void ConsultationPage::TensionClick()
{
    consulClick();
    writeMeasure(bloodPressureEntry(m_pressureFields.at(0)->text(), m_pressureFields.at(1)->text()), m_bloodPressure,
                 m_pressureFields);
}

void ConsultationPage::IEButton28Click()
{
    m_notes->setFocus();
    m_notes->moveCursor(QTextCursor::Start);
    m_findDialog->show();
    m_findDialog->raise();
}

void ConsultationPage::FindDialog1Find()
{
    m_notes->setFocus();
    m_notes->verticalScrollBar()->setValue(0);
    const auto found =
        findLineAfterCaret(m_notes->toPlainText(), m_notes->textCursor().selectionStart(), m_findDialog->findText());
    if (!found)
        return;
    QTextCursor selection = m_notes->textCursor();
    selection.setPosition(int(found->start));
    selection.setPosition(int(found->start + found->length), QTextCursor::KeepAnchor);
    m_notes->setTextCursor(selection);
    const QTextBlock block = m_notes->document()->findBlockByNumber(found->number);
    m_notes->verticalScrollBar()->setValue(block.firstLineNumber());
}

void ConsultationPage::SpeedButton12Click()
{
    emit archivesRequested();
}

void ConsultationPage::SpeedButton13Click()
{
    records::Table &patients = m_patient.patients();
    // Without a patient there is no archive row to write.
    if (patients.isEmpty())
        return;
    ArchiveMove move(m_patient.consultations(), m_patient.archive(), [this] {
        return m_dialogs.askYesNo(this, ArchiveMove::question(), DialogService::Icon::Information);
    });
    move.run({patients.number(records::recordNumberField), patients.text(QStringLiteral("NomPrénom"))});
}

} // namespace orvane::clinical
