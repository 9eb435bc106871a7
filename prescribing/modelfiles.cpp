#include "prescribing/modelfiles.h"

#include "platform/error.h"
#include "platform/places.h"
#include "platform/textcodec.h"
#include "platform/textlines.h"
#include "prescribing/prescriptionlayout.h"
#include "prescribing/prescriptiontext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace orvane::prescribing {

namespace {

QString reason(const QFileDevice &file)
{
    switch (file.error()) {
    case QFileDevice::PermissionsError: return QStringLiteral("accès refusé");
    case QFileDevice::ResourceError: return QStringLiteral("espace disque insuffisant");
    case QFileDevice::ReadError: return QStringLiteral("erreur de lecture");
    case QFileDevice::WriteError: return QStringLiteral("erreur d'écriture");
    default: break;
    }
    const QFileInfo info(file.fileName());
    if (!info.dir().exists())
        return QStringLiteral("dossier introuvable");
    if (info.isDir())
        return QStringLiteral("c'est un dossier");
    if (!info.exists())
        return QStringLiteral("fichier introuvable");
    return QStringLiteral("ouverture impossible");
}

[[noreturn]] void failReading(const QString &path, const QString &why)
{
    throw Error(QStringLiteral("Impossible de lire le fichier %1 : %2.").arg(QDir::toNativeSeparators(path), why));
}

[[noreturn]] void failWriting(const QString &path, const QString &why)
{
    throw Error(
        QStringLiteral("Impossible d'écrire le fichier %1 : %2.").arg(QDir::toNativeSeparators(path), why));
}

// Bytes that no text of the French Windows code page holds: control codes other than tab, line and
// page breaks, and the five positions the code page leaves undefined.
bool isTextByte(unsigned char byte)
{
    if (byte < 0x20)
        return byte == '\t' || byte == '\n' || byte == '\r' || byte == '\f';
    return byte != 0x7F && byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D;
}

} // namespace

QString modelFolder(ModelKind kind)
{
    return places::fixedPath(kind == ModelKind::Bilan ? QStringLiteral("C:\\Orvane\\Bilan")
                                                      : QStringLiteral("C:\\Orvane\\Certif"));
}

QStringList readModelFile(const QString &path)
{
    // A pipe or a device would be read until something writes to it: only a regular file of a model's
    // size is opened.
    const QFileInfo info(path);
    if (info.exists() && !info.isDir() && !info.isFile())
        failReading(path, QStringLiteral("ce n'est pas un fichier ordinaire"));
    if (info.isFile() && info.size() > largestModelFile)
        failReading(path, QStringLiteral("le fichier est trop volumineux pour un modèle"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failReading(path, reason(file));
    if (file.size() > largestModelFile)
        failReading(path, QStringLiteral("le fichier est trop volumineux pour un modèle"));
    const QByteArray bytes = file.read(largestModelFile + 1);
    if (file.error() != QFileDevice::NoError)
        failReading(path, reason(file));
    if (bytes.size() > largestModelFile)
        failReading(path, QStringLiteral("le fichier est trop volumineux pour un modèle"));
    for (const char byte : bytes) {
        if (!isTextByte(static_cast<unsigned char>(byte)))
            failReading(path, QStringLiteral("ce n'est pas un fichier texte"));
    }
    return splitLines(fromWindows1252(bytes));
}

void writeModelFile(const QString &path, const QStringList &lines)
{
    const QString text = linesAsText(lines);
    const QByteArray bytes = toWindows1252(text);
    if (fromWindows1252(bytes) != text)
        failWriting(path, QStringLiteral("le texte contient des caractères qu'un modèle ne peut pas contenir"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        failWriting(path, reason(file));
    if (file.write(bytes) != bytes.size())
        failWriting(path, reason(file));
    if (!file.commit())
        failWriting(path, reason(file));
}

} // namespace orvane::prescribing
