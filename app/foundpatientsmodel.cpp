#include "app/foundpatientsmodel.h"

#include "records/patientlist.h"

#include <algorithm>
#include <cstring>

namespace orvane::app {

FoundPatientsModel::FoundPatientsModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

namespace {

constexpr int lettersPacked = 16;
constexpr int lettersPerNumber = 4;

// Negative numbers before positive ones when compared as unsigned.
quint64 ordered(qint64 value)
{
    return quint64(value) ^ (quint64(1) << 63);
}

quint64 ordered(double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return (bits >> 63) != 0 ? ~bits : bits | (quint64(1) << 63);
}

} // namespace

void FoundPatientsModel::clear()
{
    beginResetModel();
    m_found.clear();
    m_shown.clear();
    endResetModel();
}

void FoundPatientsModel::add(const QList<records::FoundPatient> &patients)
{
    if (patients.isEmpty())
        return;
    const int first = found();
    beginInsertRows({}, first, first + int(patients.size()) - 1);
    m_found += patients;
    m_shown.reserve(m_found.size());
    for (int index = first; index < found(); ++index)
        m_shown.append(rowOf(index));
    endInsertRows();
    // Sorted apart, then merged: the list grows in a handful of batches, each costing its own size.
    reorder([this, first](QList<Row> &rows) {
        const auto before = [this](const Row &a, const Row &b) { return shownBefore(a, b); };
        std::sort(rows.begin() + first, rows.end(), before);
        std::inplace_merge(rows.begin(), rows.begin() + first, rows.end(), before);
    });
}

QList<records::FoundPatient> FoundPatientsModel::listed() const
{
    QList<records::FoundPatient> shown;
    shown.reserve(m_shown.size());
    for (const Row &row : m_shown)
        shown.append(m_found.at(row.found));
    return shown;
}

int FoundPatientsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
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
    reorder([this](QList<Row> &rows) {
        for (Row &row : rows)
            row = rowOf(row.found);
        std::sort(rows.begin(), rows.end(), [this](const Row &a, const Row &b) { return shownBefore(a, b); });
    });
}

// Numbers and dates by their value, texts without regard to letter case.
FoundPatientsModel::Row FoundPatientsModel::rowOf(int found) const
{
    Row row;
    row.found = found;
    const records::FoundPatient &patient = m_found.at(found);
    switch (m_column) {
    case 0:
    case 4: {
        const QString &text = sortedText(found);
        const int packed = std::min<int>(int(text.size()), lettersPacked);
        for (int i = 0; i < packed; ++i) {
            const int shift = 16 * (lettersPerNumber - 1 - i % lettersPerNumber);
            row.packed[i / lettersPerNumber] |= quint64(text.at(i).toCaseFolded().unicode()) << shift;
        }
        row.textGoesOn = text.size() > lettersPacked;
        break;
    }
    case 1: row.packed[0] = ordered(patient.number); break;
    case 2: row.packed[0] = ordered(patient.birth.toJulianDay()); break;
    case 3: row.packed[0] = ordered(qint64(patient.age.value_or(-1))); break;
    default: row.packed[0] = ordered(patient.matchedDate.toJulianDay()); break;
    }
    return row;
}

const QString &FoundPatientsModel::sortedText(int found) const
{
    const records::FoundPatient &patient = m_found.at(found);
    return m_column == 0 ? patient.name : patient.matched;
}

int FoundPatientsModel::compared(const Row &a, const Row &b) const
{
    for (std::size_t i = 0; i < a.packed.size(); ++i) {
        if (a.packed[i] != b.packed[i])
            return a.packed[i] < b.packed[i] ? -1 : 1;
    }
    if (!a.textGoesOn && !b.textGoesOn)
        return 0;
    return QString::compare(sortedText(a.found), sortedText(b.found), Qt::CaseInsensitive);
}

bool FoundPatientsModel::shownBefore(const Row &a, const Row &b) const
{
    const int comparison = compared(a, b);
    if (comparison != 0)
        return m_sortOrder == Qt::AscendingOrder ? comparison < 0 : comparison > 0;
    return a.found < b.found;
}

void FoundPatientsModel::reorder(const std::function<void(QList<Row> &)> &sortRows)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<int> foundBefore;
    foundBefore.reserve(before.size());
    for (const QModelIndex &index : before)
        foundBefore.append(m_shown.at(index.row()).found);
    sortRows(m_shown);
    if (!before.isEmpty()) {
        QList<int> rowOfFound(m_shown.size());
        for (int row = 0; row < m_shown.size(); ++row)
            rowOfFound[m_shown.at(row).found] = row;
        QModelIndexList after;
        after.reserve(before.size());
        for (int i = 0; i < before.size(); ++i)
            after.append(index(rowOfFound.at(foundBefore.at(i)), before.at(i).column()));
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace orvane::app
