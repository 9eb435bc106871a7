#include "platform/screenplacement.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

namespace orvane {

void centreOnScreen(QWidget &window)
{
    if (const QScreen *screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

void placeAtTopLeft(QWidget &window)
{
    if (const QScreen *screen = window.screen())
        window.move(screen->availableGeometry().topLeft());
}

namespace {

int widthForTitle(const QWidget &window)
{
    // The icon and the three buttons of a title bar, with their margins.
    constexpr int titleBarControls = 150;
    QFont titleFont = window.font();
    titleFont.setBold(true);
    return QFontMetrics(titleFont).horizontalAdvance(window.windowTitle()) + titleBarControls;
}

} // namespace

void widenForTitle(QWidget &window)
{
    window.setMinimumWidth(std::max(window.minimumWidth(), widthForTitle(window)));
}

void widenMessageBoxForTitle(QMessageBox &box)
{
    // A message box sets its own fixed size from its layout: the room goes into the layout.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(widthForTitle(box), 0), grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace orvane
