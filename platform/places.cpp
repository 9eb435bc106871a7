#include "platform/places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace orvane::places {

namespace {

bool onWindows()
{
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

QString dataRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/orvane");
}

} // namespace

QString driveC()
{
    return onWindows() ? QStringLiteral("C:") : dataRoot() + QStringLiteral("/drive_c");
}

QString programFolder()
{
    const QString folder = onWindows() ? QCoreApplication::applicationDirPath()
                                       : driveC() + QStringLiteral("/Orvane");
    QDir().mkpath(folder);
    return folder;
}

QString inProgramFolder(const QString &relativePath)
{
    return programFolder() + QLatin1Char('/') + relativePath;
}

namespace {

QString &sharedCorrespondence()
{
    static QString folder;
    return folder;
}

} // namespace

QString correspondenceFolder()
{
    return sharedCorrespondence().isEmpty() ? programFolder() : sharedCorrespondence();
}

QString inCorrespondenceFolder(const QString &relativePath)
{
    return correspondenceFolder() + QLatin1Char('/') + relativePath;
}

void shareCorrespondenceIn(const QString &folder)
{
    sharedCorrespondence() = folder;
}

QString fixedPath(const QString &windowsPath)
{
    QString path = windowsPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.size() >= 2 && path.at(1) == QLatin1Char(':'))
        path = path.mid(2);
    if (onWindows())
        return QStringLiteral("C:") + path;
    return driveC() + path;
}

std::unique_ptr<QSettings> registryKey(const QString &key)
{
    return std::make_unique<QSettings>(QSettings::UserScope, key);
}

bool registryKeyExists(const QString &key)
{
    if (onWindows()) {
        QSettings software(QStringLiteral("HKEY_CURRENT_USER\\Software"), QSettings::NativeFormat);
        return software.childGroups().contains(key, Qt::CaseInsensitive);
    }
    return QFileInfo::exists(registryKey(key)->fileName());
}

QString secondCopyExecutable()
{
    return QCoreApplication::applicationFilePath();
}

QStringList guideFolders()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    return {inProgramFolder(QStringLiteral("Help")), executableFolder + QStringLiteral("/guide"),
            QDir::cleanPath(executableFolder + QStringLiteral("/../share/doc/orvane/guide"))};
}

QString calculator()
{
    if (onWindows())
        return fixedPath(QStringLiteral("c:\\windows\\calc.exe"));
    const QStringList candidates = {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                                    QStringLiteral("galculator"), QStringLiteral("mate-calc"),
                                    QStringLiteral("xcalc")};
    for (const QString &name : candidates) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

} // namespace orvane::places
