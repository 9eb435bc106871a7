#include "messaging/fileremoval.h"

#include "platform/error.h"

#include <QDir>
#include <QFile>

namespace orvane::messaging {

void removeFileIfPresent(const QString &path)
{
    if (QFile::exists(path) && !QFile::remove(path))
        throw Error(QStringLiteral("Impossible de supprimer le fichier %1").arg(QDir::toNativeSeparators(path)));
}

} // namespace orvane::messaging
