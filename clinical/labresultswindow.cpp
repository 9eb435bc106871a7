#include "clinical/labresultswindow.h"

#include "clinical/analytes.h"
#include "platform/clock.h"
#include "platform/dialogservice.h"
#include "platform/error.h"
#include "platform/pageprinter.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace orvane::clinical {

namespace {

QLineSeries *boundSeries(double value, const QList<AnalyteChart::Point> &points)
{
    auto *series = new QLineSeries;
    QPen pen(Qt::darkGreen);
    pen.setStyle(Qt::DashLine);
    series->setPen(pen);
    series->append(points.first().date.addDays(-15).startOfDay().toMSecsSinceEpoch(), value);
    series->append(points.last().date.addDays(15).startOfDay().toMSecsSinceEpoch(), value);
    return series;
}

} // namespace

LabResultsWindow::LabResultsWindow(records::Database &db, PagePrinter &printer, DialogService &dialogs,
                                   Catalogue catalogue, AddLabel addLabel, QWidget *parent)
    : QDialog(parent)
    , m_db(db)
    , m_printer(printer)
    , m_dialogs(dialogs)
    , m_catalogue(std::move(catalogue))
    , m_addLabel(std::move(addLabel))
{
    setObjectName(QStringLiteral("TResultats"));
    setWindowTitle(QStringLiteral("Résultats reçus"));
    resize(820, 520);
    m_model = new LabGridModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("grille"));
    m_table->setModel(m_model);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectItems);
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex &index) { chart(index.row()); });
    connect(m_table->verticalHeader(), &QHeaderView::sectionDoubleClicked, this, [this](int row) { chart(row); });
    m_notes = new QLabel(this);
    m_notes->setObjectName(QStringLiteral("remarques"));
    m_notes->setWordWrap(true);
    m_notes->setStyleSheet(QStringLiteral("color: darkred"));

    auto *chartButton = new QPushButton(QStringLiteral("&Graphique"), this);
    chartButton->setObjectName(QStringLiteral("Graphique"));
    connect(chartButton, &QPushButton::clicked, this, &LabResultsWindow::GraphiqueClick);
    auto *labelButton = new QPushButton(QStringLiteral("&Rattacher à une analyse..."), this);
    labelButton->setObjectName(QStringLiteral("Rattacher"));
    connect(labelButton, &QPushButton::clicked, this, &LabResultsWindow::RattacherClick);
    auto *closeButton = new QPushButton(QStringLiteral("&Fermer"), this);
    closeButton->setObjectName(QStringLiteral("Fermer"));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(chartButton);
    buttons->addWidget(labelButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_notes);
    layout->addLayout(buttons);
}

void LabResultsWindow::load(const ResultsPatient &patient)
{
    m_patient = patient;
    setWindowTitle(QStringLiteral("Résultats reçus - %1").arg(patient.name));
    m_model->setGrid(layOut(readPatientResults(m_db, patient.number)));
    fill();
}

void LabResultsWindow::fill()
{
    // Widths from the texts, not from the view's measure of every cell: years of results open at once.
    QFont bold = m_table->font();
    bold.setBold(true);
    const QList<int> widths = m_model->columnWidths(QFontMetrics(bold));
    for (int column = 0; column < widths.size(); ++column)
        m_table->horizontalHeader()->resizeSection(column, widths.at(column));
    const LabGrid &grid = m_model->grid();
    QStringList alerts;
    for (int row = 0; row < grid.rows.size(); ++row) {
        for (int column = 0; column < grid.dates.size(); ++column) {
            const LabGrid::Cell *cell = m_model->cell(row, column);
            if (cell && !cell->shown.alert.isEmpty() && !cell->shown.seen)
                alerts.append(QStringLiteral("%1 du %2 : %3").arg(grid.rows.at(row), m_model->dateText(column), cell->shown.alert));
        }
    }
    m_notes->setText((m_patient.notes + alerts).join(QLatin1Char('\n')));
    m_notes->setVisible(!m_notes->text().isEmpty());
}

int LabResultsWindow::currentRow() const
{
    return m_table->currentIndex().row();
}

void LabResultsWindow::GraphiqueClick()
{
    if (currentRow() >= 0)
        chart(currentRow());
}

void LabResultsWindow::chart(int row)
{
    const QString heading = QStringLiteral("%1 - %2").arg(m_patient.name, shortDateText(QDate::currentDate()));
    LabChartDialog dialog(grid().rows.value(row), grid().series(row), m_catalogue(), m_printer, m_patient.printOwner,
                          heading, this);
    m_dialogs.execModal(dialog);
}

void LabResultsWindow::RattacherClick()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const QString label = grid().rows.at(row);
    if (m_catalogue().analyte(label)) {
        m_dialogs.showMessage(this, QStringLiteral("« %1 » est déjà une analyse connue.").arg(label));
        return;
    }
    QStringList names;
    for (const Analyte &analyte : m_catalogue().analytes())
        names.append(analyte.name);
    const std::optional<QString> chosen = m_dialogs.askText(
        this, QStringLiteral("Rattacher à une analyse"),
        QStringLiteral("« %1 » désigne l'analyse (%2) :").arg(label, names.join(QStringLiteral(", "))), QString());
    if (!chosen || chosen->trimmed().isEmpty())
        return;
    if (!m_catalogue().analyte(chosen->trimmed())) {
        m_dialogs.showMessage(this, QStringLiteral("« %1 » n'est pas une analyse connue.").arg(chosen->trimmed()));
        return;
    }
    m_addLabel(chosen->trimmed(), label);
    load(m_patient);
}

void LabResultsWindow::done(int result)
{
    // Shown once, the results are seen: they are no longer bold.
    markResultsSeen(m_db, m_patient.number);
    QDialog::done(result);
}

LabChartDialog::LabChartDialog(const QString &title, const QList<StoredLabResult> &values,
                               const AnalyteCatalogue &catalogue, PagePrinter &printer, const QString &printOwner,
                               const QString &printHeading, QWidget *parent)
    : QDialog(parent)
    , m_printer(printer)
    , m_printOwner(printOwner)
    , m_printHeading(printHeading)
{
    setObjectName(QStringLiteral("GraphiqueResultat"));
    setWindowTitle(title);
    resize(720, 480);
    const AnalyteChart data = chartOf(values, catalogue);
    m_points = int(data.points.size());
    auto *chart = new QChart;
    chart->setTitle(data.unit.isEmpty() ? title : QStringLiteral("%1 (%2)").arg(title, data.unit));
    chart->legend()->hide();
    auto *series = new QLineSeries;
    series->setPointsVisible(true);
    series->setPointLabelsVisible(true);
    series->setPointLabelsFormat(QStringLiteral("@yPoint"));
    for (const AnalyteChart::Point &point : data.points)
        series->append(point.date.startOfDay().toMSecsSinceEpoch(), point.value);
    chart->addSeries(series);
    QList<QLineSeries *> all{series};
    if (!data.points.isEmpty()) {
        for (const std::optional<double> &bound : {data.low, data.high}) {
            if (bound) {
                all.append(boundSeries(*bound, data.points));
                chart->addSeries(all.last());
            }
        }
    }
    auto *dates = new QDateTimeAxis;
    dates->setFormat(QStringLiteral("dd/MM/yyyy"));
    dates->setTitleText(QStringLiteral("Dates"));
    auto *axis = new QValueAxis;
    axis->setLabelFormat(QStringLiteral("%g"));
    chart->addAxis(dates, Qt::AlignBottom);
    chart->addAxis(axis, Qt::AlignLeft);
    for (QLineSeries *each : all) {
        each->attachAxis(dates);
        each->attachAxis(axis);
    }
    // One value, or values all equal, still get axes around them.
    if (!data.points.isEmpty()) {
        dates->setRange(data.points.first().date.addDays(-15).startOfDay(), data.points.last().date.addDays(15).startOfDay());
        double lowest = data.low.value_or(data.points.first().value);
        double highest = data.high.value_or(data.points.first().value);
        for (const AnalyteChart::Point &point : data.points) {
            lowest = std::min(lowest, point.value);
            highest = std::max(highest, point.value);
        }
        const double margin = std::max((highest - lowest) * 0.1, std::abs(highest) * 0.05 + 0.01);
        axis->setRange(lowest - margin, highest + margin);
        axis->applyNiceNumbers();
    }
    m_view = new QChartView(chart, this);
    m_view->setRenderHint(QPainter::Antialiasing);

    auto *note = new QLabel(this);
    note->setObjectName(QStringLiteral("horsGraphique"));
    if (data.leftOut > 0)
        note->setText(QStringLiteral("%1 valeur(s) sans nombre ou dans une unité non convertible ne sont pas tracées.")
                          .arg(data.leftOut));
    note->setVisible(data.leftOut > 0);
    auto *print = new QPushButton(QStringLiteral("&Imprimer"), this);
    print->setObjectName(QStringLiteral("Imprimer"));
    connect(print, &QPushButton::clicked, this, &LabChartDialog::ImprimerClick);
    auto *close = new QPushButton(QStringLiteral("&Fermer"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(note);
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
}

void LabChartDialog::ImprimerClick()
{
    if (!m_printer.setUpPrinter(this))
        return;
    m_printer.printPage(
        [this](QPainter &painter, const QRectF &page) {
            // The patient's name and the date above the chart, as on the statistics charts.
            const QRectF heading(page.left(), page.top(), page.width(), page.height() * 0.05);
            painter.drawText(heading, Qt::AlignCenter, m_printHeading);
            m_view->render(&painter, QRectF(page.left(), heading.bottom(), page.width(), page.height() * 0.6));
        },
        {m_printOwner, QStringLiteral("graphique")});
}

} // namespace orvane::clinical
