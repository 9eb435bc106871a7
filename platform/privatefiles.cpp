#include "platform/privatefiles.h"

#include "platform/places.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace orvane::privatefiles {

namespace {

bool tightenOne(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status;
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &status) != 0 || S_ISLNK(status.st_mode) || (status.st_mode & 077) == 0)
        return false;
    return ::chmod(name.constData(), status.st_mode & 07700) == 0;
#else
    // Windows keeps a user's profile folders to him by their access lists.
    Q_UNUSED(path);
    return false;
#endif
}

} // namespace

void keepNewFilesPrivate()
{
#ifdef Q_OS_UNIX
    ::umask(077);
#endif
}

int tighten(const QString &path)
{
    if (!QFileInfo::exists(path))
        return 0;
    int changed = tightenOne(path) ? 1 : 0;
    if (!QFileInfo(path).isDir() || QFileInfo(path).isSymLink())
        return changed;
    QDirIterator entries(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        if (tightenOne(entries.next()))
            ++changed;
    }
    return changed;
}

void protect(const QStringList &otherPaths)
{
    keepNewFilesPrivate();
#ifdef Q_OS_UNIX
    tighten(QFileInfo(places::driveC()).absolutePath());
    for (const QString &key : {QStringLiteral("Orvane 32"), QStringLiteral("Nolvar 20xx")})
        tighten(places::registryKey(key)->fileName());
#endif
    for (const QString &path : otherPaths)
        tighten(path);
}

} // namespace orvane::privatefiles
