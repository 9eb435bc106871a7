#pragma once

#include "records/criteriareading.h"
#include "records/practicesearchrun.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

namespace orvane {
class Clock;
class DialogService;
}
namespace orvane::records {
class Database;
}

namespace orvane::app {

class FoundPatientsModel;

// "Recherche multicritère": the patients of the whole practice who meet the criteria typed, listed
// while the search runs on a thread of its own. A patient of the list opens in the main window.
class PracticeSearchWindow : public QDialog
{
    Q_OBJECT

public:
    // Prints the list: the criteria as one text, then the cells of each patient.
    using ListPrinter = std::function<void(const QString &criteria, const QList<QStringList> &rows)>;

    PracticeSearchWindow(records::Database &db, DialogService &dialogs, const Clock &clock, ListPrinter print,
                         QWidget *parent = nullptr);
    ~PracticeSearchWindow() override;

    // The analytes results are filed under: offered as the analyte is typed, and the one meant
    // when its letters are typed without their accents.
    void setAnalytes(const QStringList &names);
    bool isSearching() const { return m_run != nullptr; }
    // The patients listed, in the order shown.
    QList<records::FoundPatient> listedPatients() const;

signals:
    // The row of the patients' table of the patient to open.
    void patientChosen(qint64 rowId);

public slots:
    void startSearch();
    void stopSearch();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildCriteria(QLayout *layout);
    QLabel *problemLabel(const QStringList &criteria);
    records::TypedCriteria typed() const;
    void showTyped(const records::TypedCriteria &typed);
    QString criteriaText(const records::TypedCriteria &typed) const;
    void addFound(const QList<records::FoundPatient> &patients);
    void searchEnded(int count, const QString &failure);
    void openCurrent();
    void printList();
    void saveCsv();
    void saveSearch();
    void runSaved();
    void refreshSaved();
    void setSearching(bool searching);

    records::Database &m_db;
    DialogService &m_dialogs;
    const Clock &m_clock;
    ListPrinter m_printList;
    QPointer<records::PracticeSearchRun> m_run;
    QString m_shownCriteria;

    QLineEdit *m_drug;
    QLineEdit *m_words;
    QLineEdit *m_minimumAge;
    QLineEdit *m_maximumAge;
    QComboBox *m_sex;
    QComboBox *m_scheme;
    QCheckBox *m_pregnant;
    QComboBox *m_vaccinationKind;
    QComboBox *m_vaccinationItem;
    QLineEdit *m_from;
    QLineEdit *m_to;
    QLineEdit *m_labAnalyte;
    QStringList m_analytes;
    QComboBox *m_labComparison;
    QLineEdit *m_labValue;
    QLineEdit *m_labHighValue;
    QComboBox *m_labWhich;
    QLineEdit *m_labFrom;
    QLineEdit *m_labTo;
    QMap<QString, QLabel *> m_problems;
    QPushButton *m_search;
    QPushButton *m_stop;
    QPushButton *m_printButton;
    QPushButton *m_csv;
    QListWidget *m_saved;
    QLabel *m_status;
    QTableView *m_list;
    FoundPatientsModel *m_model;
};

} // namespace orvane::app
