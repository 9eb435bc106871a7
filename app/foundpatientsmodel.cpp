#include "app/foundpatientsmodel.h"

#include "records/patientlist.h"

#include <algorithm>
#include <numeric>

namespace orvane::app {

FoundPatientsModel::FoundPatientsModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void FoundPatientsModel::clear()
{
    beginResetModel();
    m_found.clear();
    m_foldedNames.clear();
    m_foldedMatches.clear();
    m_order.clear();
    endResetModel();
}

void FoundPatientsModel::add(const QList<records::FoundPatient> &patients)
{
    if (patients.isEmpty())
        return;
    const int first = found();
    beginInsertRows({}, first, first + int(patients.size()) - 1);
    m_found += patients;
    for (const records::FoundPatient &patient : patients) {
        m_foldedNames.append(patient.name.toCaseFolded());
        m_foldedMatches.append(patient.matched.toCaseFolded());
    }
    m_order.resize(m_found.size());
    std::iota(m_order.begin() + first, m_order.end(), first);
    endInsertRows();
    // Sorted apart, then merged: the list grows in a handful of batches, each costing its own size.
    QList<int> order = m_order;
    const auto before = [this](int a, int b) { return shownBefore(a, b); };
    std::sort(order.begin() + first, order.end(), before);
    std::inplace_merge(order.begin(), order.begin() + first, order.end(), before);
    reorder(std::move(order));
}

QList<records::FoundPatient> FoundPatientsModel::listed() const
{
    QList<records::FoundPatient> shown;
    shown.reserve(m_order.size());
    for (const int index : m_order)
        shown.append(m_found.at(index));
    return shown;
}

int FoundPatientsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_order.size());
}

int FoundPatientsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(records::patientListTitles().size());
}

QVariant FoundPatientsModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return records::patientListCells(patientAt(index.row())).value(index.column());
}

QVariant FoundPatientsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    return records::patientListTitles().value(section);
}

void FoundPatientsModel::sort(int column, Qt::SortOrder order)
{
    m_column = column;
    m_sortOrder = order;
    QList<int> sorted = m_order;
    std::sort(sorted.begin(), sorted.end(), [this](int a, int b) { return shownBefore(a, b); });
    reorder(std::move(sorted));
}

// Numbers and dates by their value, texts without regard to letter case.
int FoundPatientsModel::compared(int a, int b) const
{
    const auto order = [](const auto &x, const auto &y) { return x < y ? -1 : (y < x ? 1 : 0); };
    const records::FoundPatient &first = m_found.at(a);
    const records::FoundPatient &second = m_found.at(b);
    switch (m_column) {
    case 0: return order(m_foldedNames.at(a), m_foldedNames.at(b));
    case 1: return order(first.number, second.number);
    case 2: return order(first.birth, second.birth);
    case 3: return order(first.age.value_or(-1), second.age.value_or(-1));
    case 4: return order(m_foldedMatches.at(a), m_foldedMatches.at(b));
    default: return order(first.matchedDate, second.matchedDate);
    }
}

bool FoundPatientsModel::shownBefore(int a, int b) const
{
    const int comparison = compared(a, b);
    if (comparison != 0)
        return m_sortOrder == Qt::AscendingOrder ? comparison < 0 : comparison > 0;
    return a < b;
}

void FoundPatientsModel::reorder(QList<int> order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<int> rowOf(order.size());
    for (int row = 0; row < order.size(); ++row)
        rowOf[order.at(row)] = row;
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(this->index(rowOf.at(m_order.at(index.row())), index.column()));
    m_order = std::move(order);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace orvane::app
