#pragma once

#include "clinical/consultationlines.h"
#include "clinical/datecheck.h"

#include <QWidget>

class QGridLayout;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace orvane {
class Clock;
class DialogService;
class RadioGroup;
namespace records {
class CurrentPatient;
class Table;
} // namespace records
} // namespace orvane

namespace orvane::clinical {

class FindDialog;
class PickList;

// The "&Consultation" tab: the running notes of the patient with their date check, the reason
// and examination pick lists, the one-click entries and measures, the text search and the
// archive buttons.
class ConsultationPage : public QWidget
{
    Q_OBJECT

public:
    // The date question is asked in the program's yes/no window, which the owner provides.
    ConsultationPage(records::CurrentPatient &patient, const Clock &clock, DialogService &dialogs,
                     DateCheck::Question askDateOfToday, QWidget *parent = nullptr);

    FindDialog *findDialog() const { return m_findDialog; }

public slots:
    void consulClick();
    void lafDblClick();
    void DBGrid1DblClick();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void arevoirDblClick();
    void MesuresClick();
    void TensionClick();
    void IEButton28Click();
    void FindDialog1Find();
    void SpeedButton12Click();
    void SpeedButton13Click();

signals:
    // "Archives": the archive viewer shows the patient's archived notes.
    void archivesRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildNotes();
    QWidget *buildEntries();
    PickList *addPickList(const QString &caption, QGridLayout *layout, int row, records::Table &table,
                          const QString &field, const QString &letters, const QString &search, const QString &grid);
    // The date check, then the line in the notes (stored), then the focus in the notes.
    void appendToNotes(const QString &line);
    void takeWord(PickList *list);
    // A measure's line in the notes and its values in the value lists; the choice and the typed
    // values are then cleared. Nothing is written without an entry.
    void writeMeasure(const std::optional<MeasureEntry> &entry, RadioGroup *group, const QList<QLineEdit *> &typed);

    records::CurrentPatient &m_patient;
    const Clock &m_clock;
    DialogService &m_dialogs;
    DateCheck m_dateCheck;

    QPlainTextEdit *m_notes = nullptr;
    PickList *m_examinations = nullptr;
    PickList *m_reasons = nullptr;
    RadioGroup *m_measures = nullptr;
    QList<QLineEdit *> m_measureFields; // weight, height
    RadioGroup *m_bloodPressure = nullptr;
    QList<QLineEdit *> m_pressureFields; // systolic, diastolic
    QListWidget *m_appointment = nullptr;
    FindDialog *m_findDialog = nullptr;
};

} // namespace orvane::clinical
