#include "app/application.h"
#include "app/startup.h"
#include "platform/clock.h"
#include "platform/dialogservice.h"

int main(int argc, char **argv)
{
    orvane::QtDialogService dialogs;
    orvane::Application app(argc, argv, dialogs);
    orvane::SystemClock clock;
    orvane::app::Startup startup(dialogs, clock);
    return startup.run();
}
