#include "app/application.h"

#include "app/frenchlanguage.h"

#include "platform/dialogservice.h"
#include "platform/error.h"

namespace orvane {

Application::Application(int &argc, char **argv, DialogService &dialogs)
    : QApplication(argc, argv)
    , m_dialogs(dialogs)
{
    app::useFrenchLanguage(*this);
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error &error) {
        m_dialogs.showError(error.message());
    }
    return false;
}

} // namespace orvane
