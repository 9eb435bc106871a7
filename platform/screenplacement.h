#pragma once

class QWidget;

namespace orvane {

// Where the program's windows appear on the screen they are on.
void centreOnScreen(QWidget &window);
void placeAtTopLeft(QWidget &window);

} // namespace orvane
