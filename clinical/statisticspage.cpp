#include "clinical/statisticspage.h"

#include "clinical/barchartview.h"
#include "clinical/chartdata.h"
#include "clinical/chartpage.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/pageprinter.h"
#include "platform/radiogroup.h"
#include "records/patientchange.h"
#include "records/table.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvane::clinical {

namespace {

// The blood pressure group, which the tab keeps chosen and whose one item has no text.
const QString bloodPressureGroup = QStringLiteral("choix2");

} // namespace

StatisticsPage::StatisticsPage(records::Table &measures, PagePrinter &printer, const Clock &clock,
                               PatientSource patient, QWidget *parent)
    : QWidget(parent)
    , m_measures(measures)
    , m_printer(printer)
    , m_clock(clock)
    , m_patient(std::move(patient))
{
    setObjectName(QStringLiteral("statistique"));

    // The handlers in the order of the groups.
    void (StatisticsPage::*const handlers[])() = {&StatisticsPage::ChoixClick, &StatisticsPage::choix1Click,
                                                  &StatisticsPage::choix2Click};
    const QList<ChartGroup> &groups = chartGroups();
    Q_ASSERT(groups.size() == qsizetype(std::size(handlers)));
    auto *choices = new QVBoxLayout;
    for (int i = 0; i < groups.size(); ++i) {
        const ChartGroup &definition = groups.at(i);
        auto *group = new RadioGroup(definition.caption, definition.items, definition.items.size() > 4 ? 2 : 1, this);
        group->setObjectName(definition.objectName);
        if (definition.objectName != bloodPressureGroup)
            group->setToolTip(QStringLiteral("Click simple"));
        connect(group, &RadioGroup::clicked, this, handlers[i]);
        m_groups.append(group);
        choices->addWidget(group);
    }

    auto *printBox = new QGroupBox(this);
    auto *print = new QToolButton(printBox);
    print->setObjectName(QStringLiteral("SpeedButton1"));
    print->setToolTip(QStringLiteral("Imprimer le tableau"));
    print->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    connect(print, &QToolButton::clicked, this, &StatisticsPage::SpeedButton1Click);
    (new QHBoxLayout(printBox))->addWidget(print);
    choices->addWidget(printBox);
    choices->addStretch();

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel4"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_chart = new BarChartView(panel);
    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    panelLayout->addWidget(m_chart);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(panel, 1);

    // Bars stay on screen only while their patient is the current one.
    connect(new records::PatientChange(measures, this), &records::PatientChange::changed, this, [this] {
        clearChoices();
        m_chart->showChart(ChartData{});
        m_chartTitle.clear();
    });
}

void StatisticsPage::clearChoices()
{
    for (RadioGroup *group : m_groups) {
        if (group->objectName() != bloodPressureGroup)
            group->setItemIndex(-1);
    }
}

void StatisticsPage::ChoixClick() { chartChoice(m_groups.at(0)); }
void StatisticsPage::choix1Click() { chartChoice(m_groups.at(1)); }
void StatisticsPage::choix2Click() { chartChoice(m_groups.at(2)); }

void StatisticsPage::chartChoice(RadioGroup *clicked)
{
    const std::optional<ChartChoice> choice = clinical::chartChoice(clicked->objectName(), clicked->chosenText());
    if (!choice)
        return;
    for (RadioGroup *group : m_groups) {
        if (group != clicked)
            group->setItemIndex(-1);
    }
    const QString second = choice->secondValueList.isEmpty() ? QString() : m_measures.text(choice->secondValueList);
    const ChartData data = buildChart(*choice, m_measures.text(choice->valueList), second);
    m_chart->showChart(data);
    m_chartTitle = data.title;
    // The bars before a faulty value stay on the chart under the message.
    if (!data.error.isEmpty())
        throw Error(data.error);
}

void StatisticsPage::SpeedButton1Click()
{
    if (!m_printer.setUpPrinter(this))
        return;
    const ChartPatient patient = m_patient();
    const ChartHeading heading{patient.name, m_chartTitle, m_clock.todayText()};
    m_printer.printPage(
        [this, &heading](QPainter &painter, const QRectF &page) {
            m_chart->drawInto(painter, drawChartHeading(painter, page, heading));
        },
        {patient.printFolder, QStringLiteral("graphique")});
}

} // namespace orvane::clinical
