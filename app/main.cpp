#include "app/application.h"
#include "platform/dialogservice.h"

int main(int argc, char **argv)
{
    orvane::QtDialogService dialogs;
    orvane::Application app(argc, argv, dialogs);
    return 0;
}
