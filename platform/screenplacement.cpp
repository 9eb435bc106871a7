#include "platform/screenplacement.h"

#include <QFontMetrics>
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

void widenForTitle(QWidget &window)
{
    // The icon and the three buttons of a title bar, with their margins.
    constexpr int titleBarControls = 150;
    QFont titleFont = window.font();
    titleFont.setBold(true);
    const int needed = QFontMetrics(titleFont).horizontalAdvance(window.windowTitle()) + titleBarControls;
    window.setMinimumWidth(std::max(window.minimumWidth(), needed));
}

} // namespace orvane
