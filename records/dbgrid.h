#pragma once

#include "records/table.h"

#include <QAbstractTableModel>
#include <QTableView>
#include <optional>

namespace orvane::records {

struct GridColumn
{
    QString field;
    QString title; // empty: the field's name
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    Qt::Alignment titleAlignment = Qt::AlignCenter;
};

// The rows of a table object that fit on screen, around its current row. Only those rows are
// read, so a grid over a million patients costs what a grid over ten does.
class TableWindowModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    TableWindowModel(Table &table, const QList<GridColumn> &columns, QObject *parent = nullptr);

    void setVisibleRows(int count);
    void setEditable(bool editable) { m_editable = editable; }
    bool isEditable() const { return m_editable; }
    // Reads the window again around the table's current row.
    void reload();
    int currentIndex() const { return m_current; }
    // Whether the table holds rows above or below those shown.
    bool hasRowsBefore() const { return m_rowsBefore; }
    bool hasRowsAfter() const { return m_rowsAfter; }
    qint64 rowIdAt(int row) const;
    const QList<GridColumn> &columns() const { return m_columns; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    QString cellText(int row, int column) const;

    Table &m_table;
    QList<GridColumn> m_columns;
    QList<int> m_fieldIndexes;
    QList<Table::Row> m_rows;
    int m_current = -1;
    int m_offset = 0; // where the current row stands in the window
    int m_visible = 12;
    bool m_rowsBefore = false;
    bool m_rowsAfter = false;
    bool m_editable = false;
};

// A grid on a table object: the highlighted row is the table's current row; clicks, arrows,
// page keys, the wheel and the vertical scroll bar move the table. The scroll bar is there when
// the table holds more rows than the grid shows; as the grid reads only the rows on screen, its
// thumb tells the top, the middle or the end of the table.
class DbGrid : public QTableView
{
    Q_OBJECT

public:
    DbGrid(Table &table, const QList<GridColumn> &columns, QWidget *parent = nullptr);

    TableWindowModel *windowModel() const { return m_model; }
    Table &table() const { return m_table; }
    void setEditable(bool editable);
    // Opens a new row of an editable grid; typing goes into its first column.
    void startNewRow();
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    friend class CellEditorKeys;
    enum class Move { NextCell, PreviousCell, Store, Down, Up };
    static std::optional<Move> cellMove(int key);
    // Editable grids are driven as a spreadsheet, the typed cell written into the row first. Tab
    // goes along the cells, and from the last one to a new row; Enter stores the row and stays on
    // it, wherever its new values sort it; Down goes to the next row, from the last one to a new
    // row. No key moves onto an existing row but the arrows, whose cell then shows highlighted.
    void moveCell(Move move);
    // A new row left untouched: moving on from it would drop it.
    bool onUntouchedNewRow() const;
    void showCurrent();
    void showPosition();
    void scrollBarAction(int action);
    int pageRows() const;
    void step(int rows);

    Table &m_table;
    TableWindowModel *m_model;
    int m_column = 0; // the column of the highlighted cell, kept when the rows are read again
};

} // namespace orvane::records
