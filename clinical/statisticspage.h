#pragma once

#include <QWidget>
#include <functional>

namespace orvane {
class Clock;
class PagePrinter;
class RadioGroup;
namespace records {
class Table;
}
} // namespace orvane

namespace orvane::clinical {

class BarChartView;

// The "&Statistiques" tab: a click on a value of the patient's measures charts its list.
class StatisticsPage : public QWidget
{
    Q_OBJECT

public:
    // The current patient as a printed chart names him.
    struct ChartPatient
    {
        QString printFolder; // his folder of prints (PrintJob)
        QString name;
    };
    using PatientSource = std::function<ChartPatient()>;

    StatisticsPage(records::Table &measures, PagePrinter &printer, const Clock &clock, PatientSource patient,
                   QWidget *parent = nullptr);

    BarChartView *chart() const { return m_chart; }
    // On entering the tab: the lab values and the measures show no choice; the chart stays.
    void clearChoices();

public slots:
    void ChoixClick();
    void choix1Click();
    void choix2Click();
    void SpeedButton1Click();

private:
    // Charts the item chosen in the group; the other groups lose their choice.
    void chartChoice(RadioGroup *clicked);

    records::Table &m_measures;
    PagePrinter &m_printer;
    const Clock &m_clock;
    PatientSource m_patient;
    // The title of the chart shown; the chart is emptied when the patient changes, so it always
    // shows the current patient's values.
    QString m_chartTitle;
    QList<RadioGroup *> m_groups; // in the order of chartGroups()
    BarChartView *m_chart = nullptr;
};

} // namespace orvane::clinical
