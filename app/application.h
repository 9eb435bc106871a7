#pragma once

#include <QApplication>

namespace orvane {

class DialogService;

// The application object: a failure thrown by any handler ends that handler and is shown once,
// and the window keeps its state.
class Application : public QApplication
{
public:
    Application(int &argc, char **argv, DialogService &dialogs);
    bool notify(QObject *receiver, QEvent *event) override;

private:
    DialogService &m_dialogs;
};

} // namespace orvane
