#pragma once

#include <QString>

class QWidget;

namespace orvane {

class DialogService;

// Opens the file with the desktop's application for it; says so when the desktop has none.
void openWithDesktop(DialogService &dialogs, QWidget *parent, const QString &path);

} // namespace orvane
