#pragma once

#include "support/fixedclock.h"
#include "support/scripteddialogservice.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace orvane::app {
class Startup;
class TOrvane;
}

namespace orvane::test {

// The program started as a person starts it (every window created, the gate passed) on a base
// whose one patient holds long texts in every field, with full pick lists and drug list. It shows
// each window and each tab of the main window in turn, at the size the program gives it.
class WindowTour
{
public:
    WindowTour();
    ~WindowTour();

    using Visit = std::function<void(const QString &name, QWidget &window)>;
    // Every window of the program: the main window once per tab, then every window it owns
    // (found, not listed, so that a window added later is visited too), then the splash.
    void visitEveryWindow(const Visit &visit);
    // The toolkit's windows as the program shows them: its message boxes, question and input boxes,
    // file dialog, and the date picker's calendar.
    void visitToolkitWindows(const Visit &visit);

private:
    void fillSampleBase();
    void visitPracticeSearch(app::TOrvane &main, const Visit &visit);

    ScriptedDialogService m_dialogs;
    FixedClock m_clock;
    std::unique_ptr<app::Startup> m_startup;
};

} // namespace orvane::test
