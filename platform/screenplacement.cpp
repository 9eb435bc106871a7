#include "platform/screenplacement.h"

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

} // namespace orvane
