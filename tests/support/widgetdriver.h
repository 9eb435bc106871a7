#pragma once

#include "platform/radiogroup.h"
#include "records/dbgrid.h"

#include <QApplication>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

namespace orvane::test {

// The control of that name under the window; the test run stops when there is none.
template<typename T>
T *namedChild(const QObject *root, const QString &name)
{
    T *found = root->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// Where a key goes: the control that has the focus, or the active window when none has it.
inline QWidget *keyTarget()
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    if (!target)
        qFatal("no window to type into");
    return target;
}

// Types the text key by key into whichever control has the focus at each key, as a keyboard
// does: a key may move the focus (a grid opening its cell editor, Enter going to the next box).
inline void typeKeys(const QString &text)
{
    for (const QChar c : text) {
        const auto code = c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, keyTarget(), code, QString(c), Qt::NoModifier);
    }
}

// One key pressed in the control that has the focus.
inline void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(keyTarget(), key, modifiers);
}

// A double-click on the grid's highlighted row, as the mouse gives it.
inline void doubleClickCurrentRow(records::DbGrid *grid)
{
    const QModelIndex current = grid->model()->index(grid->windowModel()->currentIndex(), 0);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(current).center());
}

// The text of the grid's highlighted row, first column.
inline QString highlightedText(records::DbGrid *grid)
{
    return grid->model()->index(grid->windowModel()->currentIndex(), 0).data().toString();
}

inline void clickItem(QListWidget *list, const QString &text)
{
    const QListWidgetItem *item = list->findItems(text, Qt::MatchExactly).value(0);
    if (!item)
        qFatal("no item %s", qPrintable(text));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// A click on the option of that caption, on its circle: a short caption leaves the middle of the
// row blank, where a click chooses nothing.
inline void clickOption(RadioGroup *group, const QString &caption)
{
    for (QRadioButton *radio : group->findChildren<QRadioButton *>()) {
        if (radio->text() == caption) {
            QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
            return;
        }
    }
    qFatal("no option %s in %s", qPrintable(caption), qPrintable(group->objectName()));
}

} // namespace orvane::test
