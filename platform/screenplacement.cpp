#include "platform/screenplacement.h"

#include <QFontMetrics>
#include <QGridLayout>
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

void widenLayoutForTitle(QWidget &window)
{
    // Message and input boxes size themselves from their layout: the room goes into the layout.
    auto *spacer = new QSpacerItem(widthForTitle(window), 0);
    if (auto *grid = qobject_cast<QGridLayout *>(window.layout()))
        grid->addItem(spacer, grid->rowCount(), 0, 1, grid->columnCount());
    else if (window.layout())
        window.layout()->addItem(spacer);
    else
        delete spacer;
}

} // namespace orvane
