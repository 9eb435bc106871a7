#include "platform/frenchfilecolumns.h"

#include <QDateTime>
#include <QFileSystemModel>
#include <QLocale>

namespace orvane {

QVariant FrenchFileColumns::data(const QModelIndex &index, int role) const
{
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (!files || role != Qt::DisplayRole || (index.column() != Size && index.column() != Modified))
        return QIdentityProxyModel::data(index, role);
    const QFileInfo info = files->fileInfo(mapToSource(index));
    if (index.column() == Modified)
        return QLocale().toString(info.lastModified(), QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    if (info.isDir())
        return QString();
    return QLocale().formattedDataSize(info.size(), 1);
}

} // namespace orvane
