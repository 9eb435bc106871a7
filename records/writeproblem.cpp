#include "records/writeproblem.h"

#include "platform/error.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>

namespace orvane::records {

namespace {

// Less than this is a full disk for the base: its log alone grows by more during a consultation.
constexpr qint64 leastFreeBytes = 4 * 1024 * 1024;

} // namespace

std::optional<WriteProblem> WriteProblem::ofSqliteFile(const QString &basePath)
{
    const QFileInfo base(basePath);
    const QString folder = QDir::toNativeSeparators(base.absolutePath());
    const QStorageInfo disk(base.absolutePath());
    if (disk.isValid() && disk.isReadOnly()) {
        return WriteProblem{QStringLiteral("le disque de %1 est en lecture seule").arg(folder),
                            QStringLiteral("Rendez ce disque modifiable (ou remettez la base sur un disque qui l'est)")};
    }
    if (disk.isValid() && disk.isReady() && disk.bytesAvailable() < leastFreeBytes) {
        const QLocale french(QLocale::French, QLocale::France);
        return WriteProblem{
            QStringLiteral("le disque de %1 est plein (il reste %2)")
                .arg(folder, french.formattedDataSize(qMax<qint64>(disk.bytesAvailable(), 0))),
            QStringLiteral("Libérez de la place sur ce disque (videz la corbeille, retirez des fichiers dont vous "
                           "n'avez plus besoin)")};
    }
    if (!QFileInfo(base.absolutePath()).isWritable()) {
        return WriteProblem{QStringLiteral("le dossier %1 est en lecture seule").arg(folder),
                            QStringLiteral("Donnez le droit d'écrire dans ce dossier à l'utilisateur de ce poste")};
    }
    if (base.exists() && !base.isWritable()) {
        return WriteProblem{QStringLiteral("le fichier est en lecture seule"),
                            QStringLiteral("Retirez la lecture seule du fichier (ses propriétés) ou donnez le droit "
                                           "de le modifier à l'utilisateur de ce poste")};
    }
    return std::nullopt;
}

Error WriteProblem::startFailure(const QString &describedBase) const
{
    return Error(QStringLiteral("La base de données %1 ne peut pas être modifiée : %2.\n\n"
                                "Orvane 2006 ne s'ouvre pas sur une base où rien de ce que vous tapez ne serait "
                                "enregistré. %3, puis relancez Orvane 2006.")
                     .arg(describedBase, reason, remedy));
}

} // namespace orvane::records
