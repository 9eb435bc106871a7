#include "messaging/correspondencefolders.h"

#include "platform/error.h"
#include "platform/places.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace orvane::messaging {

QString correspondenceFolderPath(CorrespondenceFolder folder)
{
    switch (folder) {
    case CorrespondenceFolder::ReceivedLetters: return places::inProgramFolder(QStringLiteral("courrier"));
    case CorrespondenceFolder::SentLetters: return places::inProgramFolder(QStringLiteral("courrier envoyé"));
    case CorrespondenceFolder::ReceivedResults: return places::inProgramFolder(QStringLiteral("examens"));
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
    for (int number = 1;; ++number) {
        const QString name = number == 1 ? baseName : QStringLiteral("%1 (%2)").arg(baseName).arg(number);
        const QString path = dir.filePath(name + extension);
        QFile existing(path);
        if (existing.exists()) {
            if (existing.size() == bytes.size() && existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
                return path;
            continue;
        }
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0 || !file.commit())
            throw Error(QStringLiteral("Impossible de créer le fichier %1").arg(QDir::toNativeSeparators(path)));
        return path;
    }
}

} // namespace orvane::messaging
