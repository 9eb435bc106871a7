#include "platform/desktopopen.h"

#include "platform/dialogservice.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace orvane {

void openWithDesktop(DialogService &dialogs, QWidget *parent, const QString &path)
{
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        dialogs.showMessage(parent, QStringLiteral("Aucune application de ce poste ne sait ouvrir « %1 ».")
                                        .arg(QFileInfo(path).fileName()));
}

} // namespace orvane
