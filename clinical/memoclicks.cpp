#include "clinical/memoclicks.h"

#include <QEvent>
#include <QPlainTextEdit>

namespace orvane::clinical {

MemoClicks::MemoClicks(QPlainTextEdit *memo)
    : QObject(memo)
{
    // The text area is the viewport: the frame and scroll bars are not the text.
    memo->viewport()->installEventFilter(this);
}

bool MemoClicks::eventFilter(QObject *watched, QEvent *event)
{
    // A click ends when the button is released, after the caret has moved.
    if (event->type() == QEvent::MouseButtonRelease)
        emit clicked();
    return QObject::eventFilter(watched, event);
}

} // namespace orvane::clinical
