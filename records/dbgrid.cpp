#include "records/dbgrid.h"

#include "records/boundcontrols.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
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
    // A field written shows in its row; the rows around stay, as do the grid's open editors.
    connect(&table, &Table::fieldChanged, this, [this] {
        if (m_current >= 0)
            emit dataChanged(index(m_current, 0), index(m_current, int(m_columns.size()) - 1));
        else
            reload();
    });
    // A stored row may have moved in the ordering: its neighbours are read again.
    connect(&table, &Table::stateChanged, this, [this] {
        if (!m_table.isEditing())
            reload();
    });
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
    m_rowsBefore = m_rowsAfter = false;
    if (current) {
        // One row more than shown on each side tells whether the table goes on there.
        m_offset = std::clamp(m_offset, 0, m_visible - 1);
        // As many as could be shown on each side, in one read; what is shown is taken from them.
        const auto [allBefore, allAfter] = m_table.neighboursAround(m_visible);
        QList<Table::Row> before = allBefore.mid(0, m_offset + 1);
        int beforeCount = std::min(int(before.size()), m_offset);
        QList<Table::Row> after = allAfter.mid(0, m_visible - beforeCount);
        const int afterCount = std::min(int(after.size()), m_visible - 1 - beforeCount);
        if (beforeCount + afterCount + 1 < m_visible && beforeCount == m_offset) {
            before = allBefore.mid(0, m_visible - afterCount);
            beforeCount = std::min(int(before.size()), m_visible - 1 - afterCount);
        }
        m_rowsBefore = before.size() > beforeCount;
        m_rowsAfter = after.size() > afterCount;
        before = before.mid(0, beforeCount);
        std::reverse(before.begin(), before.end());
        m_rows = before;
        m_rows.append(*current);
        m_rows += after.mid(0, afterCount);
        m_current = beforeCount;
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

// The keys that leave a cell editor of an editable grid for another cell: the text is committed
// and the editor closed here, before the window could take Enter for its default button.
class CellEditorKeys : public QStyledItemDelegate
{
public:
    explicit CellEditorKeys(DbGrid *grid)
        : QStyledItemDelegate(grid)
        , m_grid(grid)
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *editor = qobject_cast<QWidget *>(watched);
        if (!editor || event->type() != QEvent::KeyPress)
            return QStyledItemDelegate::eventFilter(watched, event);
        const std::optional<DbGrid::Move> move = DbGrid::cellMove(static_cast<QKeyEvent *>(event)->key());
        if (!move)
            return QStyledItemDelegate::eventFilter(watched, event);
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        m_grid->setFocus();
        m_grid->moveCell(*move);
        return true;
    }

private:
    DbGrid *m_grid;
};

DbGrid::DbGrid(Table &table, const QList<GridColumn> &columns, QWidget *parent)
    : QTableView(parent)
    , m_table(table)
    , m_model(new TableWindowModel(table, columns, this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
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
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, &DbGrid::scrollBarAction);
    connect(verticalScrollBar(), &QAbstractSlider::sliderReleased, this, &DbGrid::showPosition);
    m_model->reload();
}

void DbGrid::setEditable(bool editable)
{
    m_model->setEditable(editable);
    // The cell being typed shows: a highlighted whole row would hide which one it is.
    setSelectionBehavior(editable ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
    if (editable && !dynamic_cast<CellEditorKeys *>(itemDelegate()))
        setItemDelegate(new CellEditorKeys(this));
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
    const int column = std::clamp(m_column, 0, std::max(m_model->columnCount() - 1, 0));
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (!m_model->isEditable())
        flags |= QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(m_model->index(row, column), flags);
    showPosition();
}

void DbGrid::showPosition()
{
    const bool more = m_model->hasRowsBefore() || m_model->hasRowsAfter();
    const Qt::ScrollBarPolicy policy = more ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (verticalScrollBarPolicy() != policy)
        setVerticalScrollBarPolicy(policy);
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, 2);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setValue(!m_model->hasRowsBefore() ? 0 : !m_model->hasRowsAfter() ? 2 : 1);
}

void DbGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid())
        m_column = current.column();
}

std::optional<DbGrid::Move> DbGrid::cellMove(int key)
{
    switch (key) {
    case Qt::Key_Tab: return Move::NextCell;
    case Qt::Key_Backtab: return Move::PreviousCell;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Move::Store;
    case Qt::Key_Down: return Move::Down;
    case Qt::Key_Up: return Move::Up;
    default: return std::nullopt;
    }
}

void DbGrid::startNewRow()
{
    m_column = 0;
    m_table.insert();
    showCurrent();
    setFocus();
}

bool DbGrid::onUntouchedNewRow() const
{
    return m_table.state() == Table::State::Insert && !m_table.isModified();
}

void DbGrid::moveCell(Move move)
{
    const int last = m_model->columnCount() - 1;
    switch (move) {
    case Move::NextCell:
        if (m_column < last)
            ++m_column;
        else if (!onUntouchedNewRow())
            startNewRow();
        break;
    case Move::PreviousCell:
        m_column = std::max(m_column - 1, 0);
        break;
    case Move::Store:
        if (m_table.isEditing())
            m_table.post();
        else if (!m_table.isEmpty())
            edit(currentIndex());
        break;
    case Move::Down: {
        if (onUntouchedNewRow())
            break;
        const qint64 before = m_table.rowId();
        step(1);
        if (m_table.rowId() == before)
            startNewRow();
        break;
    }
    case Move::Up:
        step(-1);
        break;
    }
    showCurrent();
}

void DbGrid::updateGeometries()
{
    QTableView::updateGeometries();
    showPosition();
}

void DbGrid::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    QTableView::scrollTo(index, hint);
    showPosition();
}

void DbGrid::scrollContentsBy(int dx, int dy)
{
    // Every row the grid holds is on screen: the scroll bar moves the table, never the view.
    Q_UNUSED(dy);
    QTableView::scrollContentsBy(dx, 0);
}

void DbGrid::scrollBarAction(int action)
{
    const QScrollBar *bar = verticalScrollBar();
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: step(1); break;
    case QAbstractSlider::SliderSingleStepSub: step(-1); break;
    case QAbstractSlider::SliderPageStepAdd: step(pageRows()); break;
    case QAbstractSlider::SliderPageStepSub: step(-pageRows()); break;
    case QAbstractSlider::SliderToMinimum: m_table.first(); break;
    case QAbstractSlider::SliderToMaximum: m_table.last(); break;
    case QAbstractSlider::SliderMove:
        if (!bar->isSliderDown()) // the wheel over the bar
            step(bar->sliderPosition() > bar->value() ? 3 : bar->sliderPosition() < bar->value() ? -3 : 0);
        else if (bar->sliderPosition() == bar->minimum())
            m_table.first();
        else if (bar->sliderPosition() == bar->maximum())
            m_table.last();
        break;
    default: break;
    }
    showPosition();
}

int DbGrid::pageRows() const
{
    return std::max(m_model->rowCount() - 1, 1);
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
    const int page = pageRows();
    if (m_model->isEditable()) {
        if (const std::optional<Move> move = cellMove(event->key())) {
            moveCell(*move);
            event->accept();
            return;
        }
    }
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
