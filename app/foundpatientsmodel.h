#pragma once

#include "records/practicesearchrun.h"

#include <QAbstractTableModel>
#include <QList>

namespace orvane::app {

// The patients a search found, as the list shows them: sorted as the physician chose, each batch
// merged into its place as it comes. An answer of half a practice stays quick to list and to sort.
class FoundPatientsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit FoundPatientsModel(QObject *parent = nullptr);

    void clear();
    void add(const QList<records::FoundPatient> &patients);
    int found() const { return int(m_found.size()); }
    const records::FoundPatient &patientAt(int row) const { return m_found.at(m_order.at(row)); }
    // In the order shown.
    QList<records::FoundPatient> listed() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    int compared(int a, int b) const;
    // Whether the patient found `a`-th is shown before the `b`-th; equal ones in the order found.
    bool shownBefore(int a, int b) const;
    // Shows the rows in the order given, the current row and the selection following their patients.
    void reorder(QList<int> order);

    QList<records::FoundPatient> m_found; // in the order found
    // Their name and matched line with letter case folded once: half a practice is sorted in a blink.
    QList<QString> m_foldedNames;
    QList<QString> m_foldedMatches;
    QList<int> m_order; // row shown -> index in m_found
    int m_column = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace orvane::app
