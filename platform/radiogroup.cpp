#include "platform/radiogroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace orvane {

namespace {

QString withoutAccelerator(QString text)
{
    return text.remove(QLatin1Char('&'));
}

} // namespace

RadioGroup::RadioGroup(const QString &caption, const QStringList &items, int columns, QWidget *parent)
    : QGroupBox(caption, parent)
    , m_items(items)
    , m_buttons(new QButtonGroup(this))
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(2);
    const int perColumn = (items.size() + columns - 1) / std::max(columns, 1);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items.at(i), this);
        button->setObjectName(QStringLiteral("%1_%2").arg(objectName()).arg(i));
        m_buttons->addButton(button, i);
        layout->addWidget(button, perColumn ? i % perColumn : i, perColumn ? i / perColumn : 0);
    }
    connect(m_buttons, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

int RadioGroup::itemIndex() const
{
    return m_buttons->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (index >= 0 && index < m_items.size()) {
        m_buttons->button(index)->setChecked(true);
    } else if (QAbstractButton *checked = m_buttons->checkedButton()) {
        // An exclusive group cannot uncheck its checked button; lift the rule for a moment.
        m_buttons->setExclusive(false);
        checked->setChecked(false);
        m_buttons->setExclusive(true);
    }
    giveTabFocusToChoice();
}

void RadioGroup::giveTabFocusToChoice()
{
    // Qt leaves the Tab key's way in on the option that last had the focus, even once the choice
    // is cleared: Enter from the box before would land there, in another patient's choice.
    const QList<QAbstractButton *> buttons = m_buttons->buttons();
    QAbstractButton *target = m_buttons->checkedButton();
    if (!target && !buttons.isEmpty())
        target = m_buttons->button(0);
    for (QAbstractButton *button : buttons) {
        const Qt::FocusPolicy policy = button->focusPolicy();
        button->setFocusPolicy(button == target ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                                : Qt::FocusPolicy(policy & ~Qt::TabFocus));
    }
}

QString RadioGroup::chosenText() const
{
    const int index = itemIndex();
    return index < 0 ? QString() : withoutAccelerator(m_items.at(index));
}

int RadioGroup::indexOfText(const QString &text) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (withoutAccelerator(m_items.at(i)).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace orvane
