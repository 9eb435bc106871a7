#pragma once

class QMessageBox;
class QWidget;

namespace orvane {

// Where the program's windows appear on the screen they are on.
void centreOnScreen(QWidget &window);
void placeAtTopLeft(QWidget &window);
// Makes the window at least as wide as its title with the title bar's icon and buttons beside it,
// so that the title is never elided.
void widenForTitle(QWidget &window);
// The same for a message box, which sizes itself when shown.
void widenMessageBoxForTitle(QMessageBox &box);

} // namespace orvane
