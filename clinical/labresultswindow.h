#pragma once

#include "clinical/labgridmodel.h"

#include <QDialog>
#include <functional>

class QChartView;
class QLabel;
class QTableView;

namespace orvane {
class DialogService;
class PagePrinter;
namespace records {
class Database;
}
} // namespace orvane

namespace orvane::clinical {

class AnalyteCatalogue;

// The patient whose results the window shows.
struct ResultsPatient
{
    double number = 0;
    QString name; // NomPrénom, for the charts' title
    QString printOwner; // his folder of prints
    QStringList notes; // what the reading of his files had to say
};

// The results received for the patient: analytes in rows, exam dates in columns (the latest
// first), abnormal values in red, values he has not seen yet in bold until the window closes.
class LabResultsWindow : public QDialog
{
    Q_OBJECT

public:
    using Catalogue = std::function<const AnalyteCatalogue &()>;
    // Makes a label stand for an analyte from now on; throws with the reason when it cannot.
    using AddLabel = std::function<void(const QString &analyte, const QString &label)>;

    LabResultsWindow(records::Database &db, PagePrinter &printer, DialogService &dialogs, Catalogue catalogue,
                     AddLabel addLabel, QWidget *parent = nullptr);

    // Reads the patient's results (one statement) and lays them out.
    void load(const ResultsPatient &patient);
    const LabGrid &grid() const { return m_model->grid(); }

public slots:
    void GraphiqueClick();
    void RattacherClick();

protected:
    void done(int result) override;

private:
    void fill();
    int currentRow() const;
    void chart(int row);

    records::Database &m_db;
    PagePrinter &m_printer;
    DialogService &m_dialogs;
    Catalogue m_catalogue;
    AddLabel m_addLabel;
    ResultsPatient m_patient;
    LabGridModel *m_model;
    QLabel *m_notes;
    QTableView *m_table;
};

// The chart of one analyte over time, with the bounds the laboratory sent.
class LabChartDialog : public QDialog
{
    Q_OBJECT

public:
    // Values in units other than the analyte's are converted, or left out when that cannot be done.
    LabChartDialog(const QString &title, const QList<StoredLabResult> &values, const AnalyteCatalogue &catalogue,
                   PagePrinter &printer, const QString &printOwner, const QString &printHeading,
                   QWidget *parent = nullptr);

    int pointCount() const { return m_points; }

public slots:
    void ImprimerClick();

private:
    QChartView *m_view;
    PagePrinter &m_printer;
    QString m_printOwner;
    QString m_printHeading;
    int m_points = 0;
};

} // namespace orvane::clinical
