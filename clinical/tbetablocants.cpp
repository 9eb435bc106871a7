#include "clinical/tbetablocants.h"

#include "platform/dialogservice.h"
#include "records/dbgrid.h"
#include "records/schema.h"
#include "records/table.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvane::clinical {

Tbetablocants::Tbetablocants(records::Database &db, DialogService &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_table(std::make_unique<records::Table>(db, records::tables::drugs))
{
    setObjectName(QStringLiteral("betablocants"));
    setWindowTitle(QStringLiteral("Bêtablocants"));
    m_table->setObjectName(QStringLiteral("Table1"));

    auto *top = new QWidget(this);
    top->setObjectName(QStringLiteral("Panel1"));
    auto *topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(2, 2, 2, 2);
    auto *navigator = new QWidget(top);
    navigator->setObjectName(QStringLiteral("DBNavigator"));
    auto *navigatorLayout = new QHBoxLayout(navigator);
    navigatorLayout->setContentsMargins(0, 0, 0, 0);
    navigatorLayout->setSpacing(0);
    struct Button
    {
        const char *name;
        QString hint;
        QString text;
        void (Tbetablocants::*handler)();
    };
    const Button buttons[] = {
        {"nbInsert", QStringLiteral("Insertion"), QStringLiteral("+"), &Tbetablocants::insertRow},
        {"nbDelete", QStringLiteral("Supression"), QStringLiteral("-"), &Tbetablocants::deleteRow},
        {"nbEdit", QStringLiteral("Edition"), QStringLiteral("▲"), &Tbetablocants::editRow},
        {"nbPost", QStringLiteral("Validation"), QStringLiteral("✓"), &Tbetablocants::postRow},
        {"nbCancel", QStringLiteral("Annulation"), QStringLiteral("✗"), &Tbetablocants::cancelRow},
    };
    for (const Button &button : buttons) {
        auto *tool = new QToolButton(navigator);
        tool->setObjectName(QString::fromLatin1(button.name));
        tool->setToolTip(button.hint);
        tool->setText(button.text);
        tool->setMinimumWidth(28);
        // Taking the focus ends the grid's cell editor, whose text then reaches the row.
        tool->setFocusPolicy(Qt::StrongFocus);
        connect(tool, &QToolButton::clicked, this, button.handler);
        navigatorLayout->addWidget(tool);
    }
    auto *ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), top);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    connect(ok, &QPushButton::clicked, this, &Tbetablocants::BitBtn1Click);
    topLayout->addWidget(navigator);
    topLayout->addStretch();
    topLayout->addWidget(ok);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(top);
    resize(354, 300);
}

Tbetablocants::~Tbetablocants() = default;

void Tbetablocants::editList(const QString &tableName, const QString &caption, int left, int width)
{
    setGeometry(left, geometry().y(), width, height());
    m_table->close();
    m_table->setTableName(tableName);
    m_table->open();
    showTable();
    setWindowTitle(caption);
    m_dialogs.execModal(*this);
}

void Tbetablocants::showTable()
{
    // The columns are the open table's fields: the grid is made again for each list.
    delete m_grid;
    QList<records::GridColumn> columns;
    for (const records::FieldDef &field : m_table->definition().fields) {
        records::GridColumn column;
        column.field = field.name;
        columns.append(column);
    }
    m_grid = new records::DbGrid(*m_table, columns, this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setEditable(true);
    // The last column takes the window's width: a word list's words show whole where they fit.
    m_grid->horizontalHeader()->setStretchLastSection(true);
    layout()->addWidget(m_grid);
    m_grid->setFocus();
}

void Tbetablocants::BitBtn1Click()
{
    // A row being typed is stored; a row merely shown is already stored as it stands, and a new
    // row left empty is dropped.
    if (m_table->isOpen()) {
        m_table->checkBrowseMode();
        m_table->close();
    }
    accept();
}

void Tbetablocants::reject()
{
    BitBtn1Click();
}

void Tbetablocants::insertRow()
{
    m_grid->startNewRow();
}

void Tbetablocants::deleteRow()
{
    if (m_table->isEmpty())
        return;
    if (m_dialogs.askYesNo(this, QStringLiteral("Supprimer l'enregistrement ?"), DialogService::Icon::Confirmation))
        m_table->remove();
}

void Tbetablocants::editRow()
{
    if (!m_table->isEmpty())
        m_table->edit();
}

void Tbetablocants::postRow()
{
    m_table->post();
}

void Tbetablocants::cancelRow()
{
    m_table->cancel();
}

} // namespace orvane::clinical
