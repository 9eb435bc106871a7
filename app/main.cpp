#include "app/application.h"
#include "app/commandline.h"
#include "app/startup.h"
#include "platform/clock.h"
#include "platform/dialogservice.h"

int main(int argc, char **argv)
{
    using orvane::app::CommandLine;
    if (CommandLine(CommandLine::argumentsOf(argc, argv)).asksForInformation()) {
        // Answered on the console before the window system is reached: it works with no display.
        const QCoreApplication console(argc, argv);
        return CommandLine(QCoreApplication::arguments()).respond();
    }
    orvane::QtDialogService dialogs;
    orvane::Application app(argc, argv, dialogs);
    // Read again once Qt has taken out its own options (-platform, -style, ...).
    const CommandLine commandLine(QCoreApplication::arguments());
    if (commandLine.isRefused())
        return commandLine.respond();
    orvane::SystemClock clock;
    orvane::app::Startup startup(dialogs, clock);
    return startup.run();
}
