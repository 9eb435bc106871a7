#include "clinical/picklist.h"

#include "records/lettercolumn.h"

#include "records/dbgrid.h"
#include "records/table.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace orvane::clinical {

namespace {

QList<records::GridColumn> gridColumns(const QStringList &fields)
{
    QList<records::GridColumn> columns;
    for (const QString &field : fields) {
        records::GridColumn column;
        column.field = field;
        columns.append(column);
    }
    return columns;
}

} // namespace

PickList::PickList(records::Table &table, const QString &wordField, const PickListLook &look, QWidget *parent)
    : QWidget(parent)
    , m_table(table)
    , m_wordField(wordField)
    , m_letters(new records::LetterColumn(this))
    , m_search(new QLineEdit(this))
    , m_grid(new records::DbGrid(table, gridColumns(look.columns), this))
{
    m_letters->setObjectName(look.letters);
    m_search->setObjectName(look.search);
    m_grid->setObjectName(look.grid);

    connect(m_letters, &QListWidget::itemSelectionChanged, this, [this] {
        // Clearing the selection after a jump changes it too: that change is no click.
        if (!m_letters->selectedItems().isEmpty())
            alphabetClick();
    });

    connect(m_search, &QLineEdit::textChanged, this, &PickList::rechercheChange);

    m_grid->setToolTip(look.hint);
    m_grid->horizontalHeader()->setVisible(look.titles);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    // Several columns share the grid's width, so that each shows its title and its start.
    if (look.columns.size() > 1)
        m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->verticalHeader()->setVisible(false);
    // An empty grid takes the double-click too: its word is then empty.
    m_grid->viewport()->installEventFilter(this);
    m_grid->installEventFilter(this);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    int searchColumn = 1;
    if (look.searchLabel) {
        auto *label = new QLabel(QStringLiteral("Recherche"), this);
        label->setBuddy(m_search);
        layout->addWidget(label, 0, 1);
        searchColumn = 2;
    }
    layout->addWidget(m_letters, 0, 0, 2, 1);
    layout->addWidget(m_search, 0, searchColumn, 1, look.searchLabel ? 1 : 2);
    layout->addWidget(m_grid, 1, 1, 1, 2);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(1, 1);
}

QString PickList::word() const
{
    return m_table.text(m_wordField);
}

void PickList::finishPick(QWidget *focusTarget)
{
    m_search->clear();
    if (focusTarget)
        focusTarget->setFocus();
}

void PickList::moveTo(const QString &key)
{
    m_table.refresh();
    m_table.findNearest({key});
}

void PickList::alphabetClick()
{
    const QList<QListWidgetItem *> chosen = m_letters->selectedItems();
    if (!chosen.isEmpty())
        moveTo(chosen.first()->text());
    m_letters->clearSelection();
    m_grid->setFocus();
}

void PickList::rechercheChange(const QString &text)
{
    if (!text.isEmpty())
        moveTo(text);
}

bool PickList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonDblClick)
        emit picked();
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            emit picked();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orvane::clinical
