#include "records/enteredit.h"

#include "records/boundcontrols.h"

#include <QKeyEvent>

namespace orvane::records {

TEnterEdit::TEnterEdit(QWidget *parent)
    : QLineEdit(parent)
{
}

void TEnterEdit::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        focusNextPrevChild(true);
        event->accept();
        return;
    case Qt::Key_Up:
        focusNextPrevChild(false);
        event->accept();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

TEDBEdit::TEDBEdit(Table &table, const QString &fieldName, QWidget *parent)
    : TEnterEdit(parent)
    , m_binding(new BoundLineEdit(this, table, fieldName))
{
}

TEDBEdit::~TEDBEdit() = default;

} // namespace orvane::records
