#pragma once

#include <QObject>

class QTabWidget;
class QWidget;

namespace orvane::records {
class CurrentPatient;
class Table;
} // namespace orvane::records

namespace orvane::clinical {

class PickList;

// The pick lists of the identity tab (past illnesses and operations, both on the one history
// words table; current treatments) and the drug choice of the prescription tab, which shares the
// drug table object with the treatments list.
class PickLists : public QObject
{
    Q_OBJECT

public:
    // The treatments list goes into the treatment box, the history lists beside the memos of the
    // first two history pages (each page has a layout). The drug choice waits in the window of the
    // treatment box until its owner places it.
    PickLists(records::CurrentPatient &patient, QWidget *treatmentBox, QTabWidget *historyPages,
              QObject *parent = nullptr);

    PickList *drugChoice() const { return m_drugs; }
    // Where the keyboard focus goes after a drug was picked (the "Choix" field); after a word, it
    // goes back to the text beside its list.
    void setFocusTarget(QWidget *target);

public slots:
    void motsmedDblClick();
    void motchirDblClick();
    void tttmedDblClick();
    void VasoDblClick();

signals:
    // The drug of the drug grid's current row was picked.
    void drugChosen(const QString &brand, const QString &drugClass);

private:
    void takeWord(PickList *list, records::Table &target, const QString &field);

    records::CurrentPatient &m_patient;
    QWidget *m_focusTarget = nullptr;
    PickList *m_pastIllnesses;
    PickList *m_pastOperations;
    PickList *m_treatments;
    PickList *m_drugs;
};

} // namespace orvane::clinical
