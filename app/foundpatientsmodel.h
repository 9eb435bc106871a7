#pragma once

#include "records/practicesearchrun.h"

#include <QAbstractTableModel>
#include <QList>
#include <array>
#include <functional>

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
    const records::FoundPatient &patientAt(int row) const { return m_found.at(m_shown.at(row).found); }
    // In the order shown.
    QList<records::FoundPatient> listed() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    // A row as it is sorted: the sorted column's value packed into numbers compared in order (a
    // text's first letters with case folded, a number, a date), beside the patient's place in
    // m_found. Half a practice sorts in a blink, without reading its texts again.
    struct Row
    {
        std::array<quint64, 4> packed{};
        bool textGoesOn = false; // the text is longer than the letters packed
        int found = 0;
    };

    Row rowOf(int found) const;
    const QString &sortedText(int found) const;
    int compared(const Row &a, const Row &b) const;
    // Whether `a` is shown before `b`; equal ones in the order found.
    bool shownBefore(const Row &a, const Row &b) const;
    // Shows the rows in the order `sortRows` puts them, the current row and the selection following
    // their patients.
    void reorder(const std::function<void(QList<Row> &)> &sortRows);

    QList<records::FoundPatient> m_found; // in the order found
    QList<Row> m_shown; // in the order shown
    int m_column = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace orvane::app
