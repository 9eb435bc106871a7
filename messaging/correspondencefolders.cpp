#include "messaging/correspondencefolders.h"

#include "platform/error.h"
#include "platform/places.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <memory>

namespace orvane::messaging {

QString correspondenceFolderPath(CorrespondenceFolder folder)
{
    switch (folder) {
    case CorrespondenceFolder::ReceivedLetters: return places::inCorrespondenceFolder(QStringLiteral("courrier"));
    case CorrespondenceFolder::SentLetters: return places::inCorrespondenceFolder(QStringLiteral("courrier envoyé"));
    case CorrespondenceFolder::ReceivedResults: return places::inCorrespondenceFolder(QStringLiteral("examens"));
    }
    return QString();
}

QString patientFilePrefix(const QString &patientKey)
{
    QString prefix = patientKey;
    prefix.replace(QLatin1Char('/'), QLatin1Char('_'));
    prefix.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return prefix + QLatin1Char('-');
}

QString sentCopyFileName(const QString &patientName, const QDate &date)
{
    return patientFilePrefix(patientName)
        + QStringLiteral("en date du %1 %2 %3.txt").arg(date.day()).arg(date.month()).arg(date.year());
}

QString pendingResultsFolder(const QString &receivedResultsFolder)
{
    return QDir(receivedResultsFolder).filePath(QStringLiteral("A classer"));
}

QString receivedResultBaseName(const QString &patientName, const QDate &date)
{
    return patientFilePrefix(patientName)
        + QStringLiteral("examen du %1 %2 %3").arg(date.day()).arg(date.month()).arg(date.year());
}

QString writeOnce(const QString &folder, const QString &baseName, const QString &extension, const QByteArray &bytes)
{
    const QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        throw Error(QStringLiteral("Impossible de créer le dossier %1").arg(QDir::toNativeSeparators(folder)));
    std::unique_ptr<QTemporaryFile> written;
    for (int number = 1;; ++number) {
        const QString name = number == 1 ? baseName : QStringLiteral("%1 (%2)").arg(baseName).arg(number);
        const QString path = dir.filePath(name + extension);
        QFile existing(path);
        if (existing.exists()) {
            if (existing.size() == bytes.size() && existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
                return path;
            continue;
        }
        // Written whole under a name of its own, then given the free name: the rename refuses a name
        // another workstation of a shared folder took meanwhile, so neither file replaces the other.
        if (!written) {
            written = std::make_unique<QTemporaryFile>(dir.filePath(QStringLiteral("XXXXXX.part")));
            if (!written->open() || written->write(bytes) != bytes.size() || !written->flush())
                throw Error(QStringLiteral("Impossible de créer le fichier %1").arg(QDir::toNativeSeparators(path)));
            written->close();
        }
        if (written->rename(path)) {
            written->setAutoRemove(false);
            return path;
        }
        if (!QFileInfo::exists(path))
            throw Error(QStringLiteral("Impossible de créer le fichier %1").arg(QDir::toNativeSeparators(path)));
        --number;
    }
}

} // namespace orvane::messaging
