#include "messaging/textlines.h"

#include "platform/error.h"
#include "platform/textcodec.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace orvane::messaging {

QStringList linesOf(const QString &text)
{
    if (text.isEmpty())
        return {};
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray windowsTextBytes(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += toWindows1252(line);
        bytes += "\r\n";
    }
    return bytes;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Impossible d'ouvrir le fichier %1").arg(QDir::toNativeSeparators(path)));
    return file.readAll();
}

QStringList readWindowsTextFile(const QString &path)
{
    return linesOf(fromWindows1252(fileBytes(path)));
}

QByteArray receivedTextBytes(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1String("\r\n");
    return keptTextBytes(text);
}

QStringList readReceivedTextFile(const QString &path)
{
    return linesOf(fromKeptText(fileBytes(path)));
}

void writeWindowsTextFile(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(windowsTextBytes(lines)) < 0 || !file.commit())
        throw Error(QStringLiteral("Impossible de créer le fichier %1").arg(QDir::toNativeSeparators(path)));
}

void removeFileIfPresent(const QString &path)
{
    if (QFile::exists(path) && !QFile::remove(path))
        throw Error(QStringLiteral("Impossible de supprimer le fichier %1").arg(QDir::toNativeSeparators(path)));
}

} // namespace orvane::messaging
