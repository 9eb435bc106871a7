#pragma once

#include "clinical/datecheck.h"

#include <QList>
#include <QWidget>

class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;

namespace orvane {
class Clock;
namespace records {
class CurrentPatient;
class TEnterEdit;
} // namespace records
} // namespace orvane

namespace orvane::clinical {

// The "&Bilans et Mesures" tab: lab values typed and validated into the results text and the
// value lists, the weight and height lists, and the follow-up of a pregnancy.
class ResultsPage : public QWidget
{
    Q_OBJECT

public:
    ResultsPage(records::CurrentPatient &patient, const Clock &clock, DateCheck::Question askDateOfToday,
                QWidget *parent = nullptr);

public slots:
    void BilanssanguinsClick();
    void Button3Click();
    void DateTimePicker1Click();
    void DateTimePicker1CloseUp();
    void annulerClick();
    // The stored start, the weeks and the term shown again, and the box offered unless the
    // patient is a man.
    void refreshPregnancy();

signals:
    // The physician asks for the results the laboratories sent.
    void receivedResultsRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QGroupBox *buildLabValues();
    QGroupBox *buildPregnancy();
    QPlainTextEdit *addMemo(const QString &name, const QString &caption, const QString &field, QWidget *&box);
    void storePregnancyStart(const QDate &start);
    void showPickerToday();

    records::CurrentPatient &m_patient;
    const Clock &m_clock;
    DateCheck m_dateCheck;
    QList<records::TEnterEdit *> m_labValues; // in the order of labFields()
    records::TEnterEdit *m_clearance = nullptr;
    QPlainTextEdit *m_weights = nullptr;
    QPlainTextEdit *m_heights = nullptr;
    QGroupBox *m_pregnancy = nullptr;
    QDateEdit *m_picker = nullptr;
    QLineEdit *m_start = nullptr;
    QLineEdit *m_weeks = nullptr;
    QLineEdit *m_term = nullptr;
    bool m_settingPicker = false;
};

} // namespace orvane::clinical
