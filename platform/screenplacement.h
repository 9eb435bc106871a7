#pragma once

class QWidget;

namespace orvane {

// Where the program's windows appear on the screen they are on.
void centreOnScreen(QWidget &window);
void placeAtTopLeft(QWidget &window);
// Makes the window at least as wide as its title with the title bar's icon and buttons beside it,
// so that the title is never elided.
void widenForTitle(QWidget &window);
// The same for a message or input box, which sizes itself from its layout when shown.
void widenLayoutForTitle(QWidget &window);

} // namespace orvane
