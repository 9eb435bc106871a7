#include "records/enteredit.h"

#include "platform/error.h"
#include "records/boundcontrols.h"
#include "records/editmask.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace orvane::records {

namespace {

// A key that types its text, as opposed to shortcuts and editing keys.
bool typesText(const QKeyEvent *event)
{
    const bool special = event->key() >= Qt::Key_Escape && event->key() != Qt::Key_unknown;
    return !event->text().isEmpty() && !special
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

// Leaving for a menu or another window and coming back keeps the caret where it was.
bool movesTheCaret(const QFocusEvent *event)
{
    return event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason;
}

} // namespace

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
        break;
    }
    const QString shown = displayText();
    const int caret = cursorPosition();
    QLineEdit::keyPressEvent(event);
    if (typesText(event))
        reportRefused(shown, caret);
}

void TEnterEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const QString shown = displayText();
    const int caret = cursorPosition();
    QLineEdit::inputMethodEvent(event);
    if (!event->commitString().isEmpty())
        reportRefused(shown, caret);
}

void TEnterEdit::reportRefused(const QString &shownBefore, int caretBefore)
{
    if (inputMask().isEmpty() || m_refusalReported || displayText() != shownBefore || cursorPosition() != caretBefore)
        return;
    m_refusalReported = true;
    throw Error(QStringLiteral("Ce champ n'accepte pas ce caractère."));
}

void TEnterEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (inputMask().isEmpty() || !movesTheCaret(event))
        return;
    m_refusalReported = false;
    placeCaretAfterTyped(this);
}

void TEnterEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (!inputMask().isEmpty() && movesTheCaret(event))
        setCursorPosition(0);
}

void TEnterEdit::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    // A click on the empty part of the mask puts the caret where the next character goes.
    if (inputMask().isEmpty() || hasSelectedText())
        return;
    const int afterTyped = MaskedText(inputMask()).caretAfterTyped(displayText());
    if (cursorPosition() > afterTyped)
        setCursorPosition(afterTyped);
}

TEDBEdit::TEDBEdit(Table &table, const QString &fieldName, QWidget *parent)
    : TEnterEdit(parent)
    , m_binding(new BoundLineEdit(this, table, fieldName))
{
}

TEDBEdit::~TEDBEdit() = default;

} // namespace orvane::records
