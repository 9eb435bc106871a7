#include "clinical/resultspage.h"

#include "clinical/labresults.h"
#include "clinical/memoclicks.h"
#include "clinical/pregnancy.h"
#include "platform/clock.h"
#include "records/boundcontrols.h"
#include "records/currentpatient.h"
#include "records/enteredit.h"
#include "records/patientchange.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvane::clinical {

namespace {

const QString resultsField = QStringLiteral("Bilans");
const QString pregnancyField = QStringLiteral("Début grossesse");
const QString sexField = QStringLiteral("Sexe");

QLabel *labelFor(QWidget *control, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(control);
    return label;
}

QLineEdit *displayField(const QString &name, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    return field;
}

} // namespace

ResultsPage::ResultsPage(records::CurrentPatient &patient, const Clock &clock, DateCheck::Question askDateOfToday,
                         QWidget *parent)
    : QWidget(parent)
    , m_patient(patient)
    , m_clock(clock)
    , m_dateCheck(clock, std::move(askDateOfToday))
{
    setObjectName(QStringLiteral("bilans"));

    QWidget *resultsBox = nullptr;
    QPlainTextEdit *results = addMemo(QStringLiteral("Bilanssanguins"), QStringLiteral("Résultats bilans"), QString(),
                                      resultsBox);
    results->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(new MemoClicks(results), &MemoClicks::clicked, this, &ResultsPage::BilanssanguinsClick);
    QWidget *weightBox = nullptr;
    m_weights = addMemo(QStringLiteral("poids1"), QStringLiteral("&Poids"), QStringLiteral("Poids"), weightBox);
    QWidget *heightBox = nullptr;
    m_heights = addMemo(QStringLiteral("taille1"), QStringLiteral("&Taille"), QStringLiteral("Taille"), heightBox);

    auto *layout = new QGridLayout(this);
    layout->addWidget(resultsBox, 0, 0, 2, 1);
    layout->addWidget(buildLabValues(), 0, 1, 2, 1);
    layout->addWidget(weightBox, 0, 2);
    layout->addWidget(heightBox, 1, 2);
    layout->addWidget(buildPregnancy(), 2, 0, 1, 3);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(2, 1);

    // The box follows the patient shown, so no other patient's pregnancy is ever on screen.
    connect(&patient.measures(), &records::Table::currentChanged, this, &ResultsPage::refreshPregnancy);
    refreshPregnancy();
    // The clearance stays after its validation, but only while its patient is shown.
    connect(new records::PatientChange(patient.patients(), this), &records::PatientChange::changed, m_clearance,
            &QLineEdit::clear);
}

QPlainTextEdit *ResultsPage::addMemo(const QString &name, const QString &caption, const QString &field, QWidget *&box)
{
    auto *group = new QGroupBox(caption, this);
    auto *memo = new QPlainTextEdit(group);
    memo->setObjectName(name);
    (new QVBoxLayout(group))->addWidget(memo);
    if (field.isEmpty()) {
        new records::BoundMemo(memo, m_patient.history(), resultsField);
    } else {
        new records::BoundMemo(memo, m_patient.measures(), field);
        // A list edited by hand is stored as soon as it is left: nothing else stores the measures
        // row before the patient changes.
        memo->installEventFilter(this);
    }
    box = group;
    return memo;
}

QGroupBox *ResultsPage::buildLabValues()
{
    auto *box = new QGroupBox(QStringLiteral("Paramètres"), this);
    auto *grid = new QGridLayout(box);
    const auto addField = [this, box, grid](const QString &name, const QString &label) {
        auto *edit = new records::TEnterEdit(box);
        edit->setObjectName(name);
        const int row = grid->rowCount();
        grid->addWidget(labelFor(edit, label, box), row, 0);
        grid->addWidget(edit, row, 1);
        return edit;
    };
    for (const LabField &field : labFields())
        m_labValues.append(addField(field.objectName, field.label));
    m_clearance = addField(clearanceObjectName, clearanceLabel);

    auto *validate = new QToolButton(box);
    validate->setObjectName(QStringLiteral("IEButton22"));
    validate->setToolTip(QStringLiteral("Valider"));
    validate->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    connect(validate, &QToolButton::clicked, this, &ResultsPage::Button3Click);
    grid->addWidget(validate, grid->rowCount(), 1, Qt::AlignRight);
    auto *received = new QPushButton(QStringLiteral("Résultats reçus..."), box);
    received->setObjectName(QStringLiteral("resultatsrecus"));
    received->setToolTip(QStringLiteral("Les résultats envoyés par les laboratoires, analyse par analyse"));
    connect(received, &QPushButton::clicked, this, &ResultsPage::receivedResultsRequested);
    grid->addWidget(received, grid->rowCount(), 0, 1, 2);
    grid->setRowStretch(grid->rowCount(), 1);
    return box;
}

namespace {

// Qt's calendar asks for a size that cuts the sixth week's row at the bottom: a line more.
class RoomyCalendar : public QCalendarWidget
{
public:
    using QCalendarWidget::QCalendarWidget;
    QSize sizeHint() const override { return QCalendarWidget::sizeHint() + QSize(0, fontMetrics().height()); }
};

} // namespace

QGroupBox *ResultsPage::buildPregnancy()
{
    m_pregnancy = new QGroupBox(QStringLiteral("&Grossesse"), this);
    m_pregnancy->setObjectName(QStringLiteral("alertegrossesse"));
    auto *grid = new QGridLayout(m_pregnancy);

    m_picker = new QDateEdit(m_pregnancy);
    m_picker->setObjectName(QStringLiteral("DateTimePicker1"));
    m_picker->setCalendarPopup(true);
    showPickerToday();
    connect(m_picker, &QDateEdit::dateChanged, this, [this] {
        if (!m_settingPicker)
            DateTimePicker1Click();
    });
    m_picker->setCalendarWidget(new RoomyCalendar(m_picker));
    // The calendar lives in a pop-up window of its own: its closing is the picker's close-up.
    m_picker->calendarWidget()->window()->installEventFilter(this);

    m_start = displayField(QStringLiteral("debut"), m_pregnancy);
    m_weeks = displayField(QStringLiteral("semaines"), m_pregnancy);
    m_term = displayField(QStringLiteral("terme"), m_pregnancy);
    auto *cancel = new QToolButton(m_pregnancy);
    cancel->setObjectName(QStringLiteral("annuler"));
    cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(cancel, &QToolButton::clicked, this, &ResultsPage::annulerClick);

    grid->addWidget(labelFor(m_picker, QStringLiteral("Date:"), m_pregnancy), 0, 0);
    grid->addWidget(m_picker, 0, 1);
    grid->addWidget(labelFor(m_start, QStringLiteral("&Date de Début"), m_pregnancy), 0, 2);
    grid->addWidget(m_start, 0, 3);
    grid->addWidget(cancel, 0, 4);
    grid->addWidget(labelFor(m_weeks, QStringLiteral("Semaines"), m_pregnancy), 0, 5);
    grid->addWidget(m_weeks, 0, 6);
    grid->addWidget(labelFor(m_term, QStringLiteral("Terme prévu"), m_pregnancy), 0, 7);
    grid->addWidget(m_term, 0, 8);
    return m_pregnancy;
}

bool ResultsPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched == m_picker->calendarWidget()->window())
        DateTimePicker1CloseUp();
    else if (event->type() == QEvent::FocusOut && (watched == m_weights || watched == m_heights))
        m_patient.measures().checkBrowseMode();
    return QWidget::eventFilter(watched, event);
}

void ResultsPage::BilanssanguinsClick()
{
    m_dateCheck.run(m_patient.history(), resultsField);
}

void ResultsPage::Button3Click()
{
    LabEntry entry;
    for (const records::TEnterEdit *edit : m_labValues)
        entry.typed.append(edit->text());
    entry.clearance = m_clearance->text();
    validateLabResults(m_patient.history(), m_patient.measures(), entry, m_clock.today());
    // Only once both rows are stored: a refused store keeps what was typed.
    for (records::TEnterEdit *edit : m_labValues)
        edit->clear();
}

void ResultsPage::storePregnancyStart(const QDate &start)
{
    records::Table &measures = m_patient.measures();
    measures.edit();
    measures.setValue(pregnancyField, start);
    measures.post();
}

void ResultsPage::DateTimePicker1Click()
{
    storePregnancyStart(m_picker->date());
    refreshPregnancy();
}

void ResultsPage::DateTimePicker1CloseUp()
{
    showPickerToday();
}

void ResultsPage::showPickerToday()
{
    const QScopedValueRollback<bool> guard(m_settingPicker, true);
    m_picker->setDate(m_clock.today());
}

void ResultsPage::annulerClick()
{
    storePregnancyStart(noPregnancyDate());
    m_start->clear();
    m_weeks->clear();
    m_term->clear();
}

void ResultsPage::refreshPregnancy()
{
    const PregnancyDisplay shown = pregnancyDisplay(m_patient.measures().date(pregnancyField), m_clock.today());
    m_start->setText(shown.start);
    m_weeks->setText(shown.weeks);
    m_term->setText(shown.term);
    m_pregnancy->setEnabled(pregnancyBoxEnabled(m_patient.patients().text(sexField)));
}

} // namespace orvane::clinical
