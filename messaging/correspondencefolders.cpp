#include "messaging/correspondencefolders.h"

#include "platform/dialogservice.h"
#include "platform/places.h"

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

FolderBrowse folderBrowse(CorrespondenceFolder folder, const QString &patientKey)
{
    return {correspondenceFolderPath(folder), patientFilePrefix(patientKey) + QStringLiteral("*.*")};
}

QString nameFilterFor(const QString &pattern)
{
    QString filter = pattern;
    filter.replace(QLatin1Char(' '), QLatin1Char('?'));
    return filter;
}

void browseCorrespondence(DialogService &dialogs, QWidget *parent, CorrespondenceFolder folder,
                          const QString &patientKey)
{
    const FolderBrowse browse = folderBrowse(folder, patientKey);
    dialogs.chooseFileToOpen(parent, browse.folder, nameFilterFor(browse.pattern));
}

} // namespace orvane::messaging
