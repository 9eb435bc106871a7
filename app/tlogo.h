#pragma once

#include <QWidget>

namespace orvane::app {

// The splash window shown while the program's windows are created: borderless, on top of every
// window, centred on the screen, the program's picture on a lowered panel.
class TLogo : public QWidget
{
    Q_OBJECT

public:
    explicit TLogo(QWidget *parent = nullptr);

    // Shows the window and paints it at once, before the event loop runs.
    void showNow();
};

} // namespace orvane::app
