#include "records/dbgrid.h"

#include "records/boundcontrols.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace orvane::records {

TableWindowModel::TableWindowModel(Table &table, const QList<GridColumn> &columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(table)
    , m_columns(columns)
{
    for (GridColumn &column : m_columns) {
        column.field = table.definition().field(column.field).name;
        if (column.title.isEmpty())
            column.title = column.field;
        m_fieldIndexes.append(table.definition().fieldIndex(column.field));
    }
    connect(&table, &Table::currentChanged, this, &TableWindowModel::reload);
    connect(&table, &Table::fieldChanged, this, &TableWindowModel::reload);
}

void TableWindowModel::setVisibleRows(int count)
{
    count = std::max(count, 1);
    if (count == m_visible)
        return;
    m_visible = count;
    reload();
}

void TableWindowModel::reload()
{
    const auto current = m_table.isOpen() ? m_table.currentRow() : std::nullopt;
    beginResetModel();
    if (current) {
        // A row already on screen stays where it is, as the highlighted row of a grid does.
        for (int i = 0; i < m_rows.size(); ++i) {
            if (m_rows.at(i).id == current->id && current->id != 0)
                m_offset = i;
        }
    }
    m_rows.clear();
    m_current = -1;
    if (current) {
        m_offset = std::clamp(m_offset, 0, m_visible - 1);
        QList<Table::Row> before = m_table.neighbours(m_offset, false);
        const QList<Table::Row> after = m_table.neighbours(m_visible - 1 - int(before.size()), true);
        if (int(before.size() + after.size()) + 1 < m_visible && int(before.size()) == m_offset)
            before = m_table.neighbours(m_visible - 1 - int(after.size()), false);
        std::reverse(before.begin(), before.end());
        m_rows = before;
        m_rows.append(*current);
        m_rows += after;
        m_current = int(before.size());
        m_offset = m_current;
    }
    endResetModel();
}

qint64 TableWindowModel::rowIdAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).id : 0;
}

int TableWindowModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TableWindowModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QString TableWindowModel::cellText(int row, int column) const
{
    if (row == m_current)
        return m_table.text(m_columns.at(column).field);
    const QVariant value = m_rows.at(row).values.at(m_fieldIndexes.at(column));
    if (value.isNull())
        return QString();
    const FieldDef &field = m_table.definition().fields.at(m_fieldIndexes.at(column));
    if (field.type == FieldType::Number) {
        const double d = value.toDouble();
        return std::floor(d) == d ? QString::number(qint64(d)) : QString::number(d);
    }
    if (field.type == FieldType::Date)
        return value.toDate().toString(QLocale().dateFormat(QLocale::ShortFormat));
    return toMemoText(value.toString()).section(QLatin1Char('\n'), 0, 0);
}

QVariant TableWindowModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return cellText(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return int(m_columns.at(index.column()).alignment);
    return QVariant();
}

QVariant TableWindowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section < m_columns.size()) {
        if (role == Qt::DisplayRole)
            return m_columns.at(section).title;
        if (role == Qt::TextAlignmentRole)
            return int(m_columns.at(section).titleAlignment);
    }
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section == m_current ? QStringLiteral("▶") : QString();
    return QVariant();
}

Qt::ItemFlags TableWindowModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_editable)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TableWindowModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!m_editable || role != Qt::EditRole || !index.isValid())
        return false;
    if (index.row() != m_current && !m_table.gotoRowId(rowIdAt(index.row())))
        return false;
    m_table.edit();
    m_table.setText(m_columns.at(index.column()).field, value.toString());
    return true;
}

DbGrid::DbGrid(Table &table, const QList<GridColumn> &columns, QWidget *parent)
    : QTableView(parent)
    , m_table(table)
    , m_model(new TableWindowModel(table, columns, this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    const int charWidth = fontMetrics().averageCharWidth();
    for (int i = 0; i < columns.size(); ++i) {
        const FieldDef &field = table.definition().field(columns.at(i).field);
        const int chars = field.displayWidth > 0 ? field.displayWidth : std::clamp(field.size, 6, 30);
        // A column is as wide as its field's display width, and never narrower than its title.
        const QString title = m_model->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString();
        const int titleWidth = horizontalHeader()->fontMetrics().horizontalAdvance(title) + 16;
        setColumnWidth(i, std::max(chars * charWidth + 8, titleWidth));
    }
    connect(m_model, &QAbstractItemModel::modelReset, this, &DbGrid::showCurrent);
    m_model->reload();
}

void DbGrid::setEditable(bool editable)
{
    m_model->setEditable(editable);
    setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                   | QAbstractItemView::AnyKeyPressed
                             : QAbstractItemView::NoEditTriggers);
}

void DbGrid::showCurrent()
{
    const int row = m_model->currentIndex();
    if (row < 0) {
        clearSelection();
        return;
    }
    const int column = std::max(currentIndex().column(), 0);
    selectionModel()->setCurrentIndex(m_model->index(row, column),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void DbGrid::step(int rows)
{
    for (int i = 0; i < std::abs(rows); ++i) {
        if (rows > 0) {
            m_table.next();
            if (m_table.atEnd())
                break;
        } else {
            m_table.prior();
            if (m_table.atStart())
                break;
        }
    }
}

void DbGrid::keyPressEvent(QKeyEvent *event)
{
    if (state() == QAbstractItemView::EditingState) {
        QTableView::keyPressEvent(event);
        return;
    }
    const int page = std::max(m_model->rowCount() - 1, 1);
    switch (event->key()) {
    case Qt::Key_Down: step(1); break;
    case Qt::Key_Up: step(-1); break;
    case Qt::Key_PageDown: step(page); break;
    case Qt::Key_PageUp: step(-page); break;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier) {
            m_table.first();
            break;
        }
        QTableView::keyPressEvent(event);
        return;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) {
            m_table.last();
            break;
        }
        QTableView::keyPressEvent(event);
        return;
    default:
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void DbGrid::wheelEvent(QWheelEvent *event)
{
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0)
        step(-notches * 3);
    event->accept();
}

void DbGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    const int rowHeight = std::max(verticalHeader()->defaultSectionSize(), 1);
    m_model->setVisibleRows(std::max(viewport()->height() / rowHeight, 1));
}

void DbGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.row() != m_model->currentIndex())
        m_table.gotoRowId(m_model->rowIdAt(index.row()));
    QTableView::mousePressEvent(event);
}

} // namespace orvane::records
