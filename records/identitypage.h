#pragma once

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QToolButton;

namespace orvane {
class Clock;
class RadioGroup;
}

namespace orvane::records {

class CurrentPatient;
class TEDBEdit;

// The "&Identité" tab: the patient's identity, insurance scheme, usual treatment and history.
class IdentityPage : public QWidget
{
    Q_OBJECT

public:
    IdentityPage(CurrentPatient &patient, const Clock &clock, QWidget *parent = nullptr);

    QPlainTextEdit *address() const { return m_address; }
    QLineEdit *nameEdit() const;
    // Frames other parts of the window fill: the treatment pick list and the history pick lists
    // (each history page lays its memo out in a row, where a list may follow it).
    QWidget *treatmentBox() const { return m_treatmentBox; }
    QTabWidget *historyPages() const { return m_historyPages; }

public slots:
    void EditPrnomExit();
    void EditAnneChange(const QString &text);
    void Copier1Click();
    void Coller1Click();

signals:
    void receivedResultsClicked();
    void sentLettersClicked();
    void receivedLettersClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TEDBEdit *addEdit(const QString &name, const QString &field, const QString &hint, int maxLength = 0);
    QPlainTextEdit *addMemo(const QString &name, class Table &table, const QString &field);

    CurrentPatient &m_patient;
    const Clock &m_clock;
    TEDBEdit *m_nom = nullptr;
    TEDBEdit *m_prenom = nullptr;
    TEDBEdit *m_annee = nullptr;
    QLineEdit *m_age = nullptr;
    QPlainTextEdit *m_address = nullptr;
    QWidget *m_treatmentBox = nullptr;
    QTabWidget *m_historyPages = nullptr;
};

} // namespace orvane::records
