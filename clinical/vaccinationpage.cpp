#include "clinical/vaccinationpage.h"

#include "clinical/fieldtext.h"
#include "clinical/memoclicks.h"
#include "clinical/vaccinations.h"
#include "platform/radiogroup.h"
#include "records/boundcontrols.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace orvane::clinical {

namespace {

const QString vaccinationsField = QStringLiteral("Vaccinations");

} // namespace

VaccinationPage::VaccinationPage(records::Table &treatments, const Clock &clock, DateCheck::Question askDateOfToday,
                                 QWidget *parent)
    : QWidget(parent)
    , m_treatments(treatments)
    , m_clock(clock)
    , m_dateCheck(clock, std::move(askDateOfToday))
{
    setObjectName(QStringLiteral("vaccin"));

    // The handlers in the order of the groups.
    void (VaccinationPage::*const handlers[])() = {&VaccinationPage::PentacoqClick, &VaccinationPage::MonovaxClick,
                                                   &VaccinationPage::RORVaxClick,   &VaccinationPage::VaxigripClick,
                                                   &VaccinationPage::TetavaxClick,  &VaccinationPage::mammoClick};
    const QList<VaccinationGroup> &groups = vaccinationGroups();
    Q_ASSERT(groups.size() == qsizetype(std::size(handlers)));
    auto *choices = new QGridLayout;
    for (int i = 0; i < groups.size(); ++i) {
        QStringList items;
        for (const VaccinationItem &item : groups.at(i).items)
            items.append(item.caption);
        auto *group = new RadioGroup(groups.at(i).caption, items, 1, this);
        group->setObjectName(groups.at(i).objectName);
        group->setToolTip(QStringLiteral("Doubleclick"));
        connect(group, &RadioGroup::clicked, this, handlers[i]);
        m_groups.append(group);
        choices->addWidget(group, i / 2, i % 2, Qt::AlignTop);
    }
    choices->setRowStretch(int(groups.size() + 1) / 2, 1);

    auto *textBox = new QGroupBox(QStringLiteral("&Vaccinations"), this);
    m_text = new QPlainTextEdit(textBox);
    m_text->setObjectName(QStringLiteral("vaccinations"));
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    new records::BoundMemo(m_text, treatments, vaccinationsField);
    connect(new MemoClicks(m_text), &MemoClicks::clicked, this, &VaccinationPage::vaccinationsClick);
    (new QVBoxLayout(textBox))->addWidget(m_text);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(textBox, 1);
}

void VaccinationPage::PentacoqClick() { recordChoice(0); }
void VaccinationPage::MonovaxClick() { recordChoice(1); }
void VaccinationPage::RORVaxClick() { recordChoice(2); }
void VaccinationPage::VaxigripClick() { recordChoice(3); }
void VaccinationPage::TetavaxClick() { recordChoice(4); }
void VaccinationPage::mammoClick() { recordChoice(5); }

void VaccinationPage::recordChoice(int group)
{
    RadioGroup *choice = m_groups.at(group);
    const int index = choice->itemIndex();
    if (index < 0)
        return;
    const VaccinationItem item = vaccinationGroups().at(group).items.at(index);
    choice->setItemIndex(-1);
    changeTextField(m_treatments, vaccinationsField,
                    [this, &item](QString &text) { recordVaccination(text, item, m_clock); });
}

void VaccinationPage::vaccinationsClick()
{
    m_dateCheck.run(m_treatments, vaccinationsField);
}

} // namespace orvane::clinical
