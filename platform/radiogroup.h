#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

namespace orvane {

// A framed group of option buttons laid out in columns, with an item index that may be -1 (no
// choice), as the program's option groups have.
class RadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    RadioGroup(const QString &caption, const QStringList &items, int columns = 1, QWidget *parent = nullptr);

    QStringList items() const { return m_items; }
    int itemIndex() const;
    void setItemIndex(int index); // -1 clears the choice
    // The chosen caption without its "&"; empty when nothing is chosen.
    QString chosenText() const;
    int indexOfText(const QString &text) const; // letter case and "&" ignored; -1 when none

signals:
    // The person chose an item (not sent when the program sets the index).
    void clicked(int index);

private:
    // Tab and Enter from the control before go to the chosen option, or to the first when none is.
    void giveTabFocusToChoice();

    QStringList m_items;
    QButtonGroup *m_buttons;
};

} // namespace orvane
