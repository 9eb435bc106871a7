#pragma once

#include <QWidget>
#include <functional>

namespace orvane {
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
    // The folder of prints of the current patient (PrintJob), taken when a chart is built.
    using OwnerSource = std::function<QString()>;

    StatisticsPage(records::Table &measures, PagePrinter &printer, OwnerSource owner, QWidget *parent = nullptr);

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
    OwnerSource m_owner;
    // The patient whose values the chart shows: it stays when the patient changes.
    QString m_chartOwner;
    QList<RadioGroup *> m_groups; // in the order of chartGroups()
    BarChartView *m_chart = nullptr;
};

} // namespace orvane::clinical
