#pragma once

#include "clinical/datecheck.h"

#include <QList>
#include <QWidget>

class QPlainTextEdit;

namespace orvane {
class Clock;
class RadioGroup;
namespace records {
class Table;
}
} // namespace orvane

namespace orvane::clinical {

// The "&Vaccinations" tab: one click on an injection writes it, dated, with its recall date into
// the patient's vaccination text of the treatments row.
class VaccinationPage : public QWidget
{
    Q_OBJECT

public:
    VaccinationPage(records::Table &treatments, const Clock &clock, DateCheck::Question askDateOfToday,
                    QWidget *parent = nullptr);

public slots:
    void PentacoqClick();
    void MonovaxClick();
    void RORVaxClick();
    void VaxigripClick();
    void TetavaxClick();
    void mammoClick();
    void vaccinationsClick();

private:
    // Writes the item chosen in the group; the choice is cleared so the same item can be clicked again.
    void recordChoice(int group);

    records::Table &m_treatments;
    const Clock &m_clock;
    DateCheck m_dateCheck;
    QList<RadioGroup *> m_groups; // in the order of vaccinationGroups()
    QPlainTextEdit *m_text = nullptr;
};

} // namespace orvane::clinical
