#pragma once

#include "clinical/labresultgrid.h"

#include <QAbstractTableModel>

class QFontMetrics;

namespace orvane::clinical {

// The laid-out results as the view reads them, cell by cell when it paints: abnormal values red,
// values not seen yet bold, each cell's details in its tooltip. Thousands of cells cost nothing
// until they show.
class LabGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setGrid(LabGrid grid);
    const LabGrid &grid() const { return m_grid; }
    QString dateText(int column) const;
    // The shown value of the cell, none where the exam did not measure it.
    const LabGrid::Cell *cell(int row, int column) const;
    // The width each column needs for its date and its values at their widest (bold).
    QList<int> columnWidths(const QFontMetrics &boldMetrics) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static QString shownText(const StoredLabResult &result);
    static QString detailsOf(const LabGrid::Cell &cell);

private:
    LabGrid m_grid;
};

} // namespace orvane::clinical
