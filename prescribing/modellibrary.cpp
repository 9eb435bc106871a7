#include "prescribing/modellibrary.h"

#include "platform/dialogservice.h"

#include <QFileInfo>

namespace orvane::prescribing {

ModelLibrary::ModelLibrary(DialogService &dialogs, QWidget *parent)
    : m_dialogs(dialogs)
    , m_parent(parent)
{
}

std::optional<QStringList> ModelLibrary::load(ModelKind kind)
{
    const QString title = kind == ModelKind::Bilan ? QStringLiteral("Ouverture d'un modèle de Bilan")
                                                   : QStringLiteral("Ouverture d'un modèle de Certificat");
    const QString path = m_dialogs.chooseFileToOpen(m_parent, modelFolder(kind), QString(), title);
    if (path.isEmpty())
        return std::nullopt;
    return readModelFile(path);
}

void ModelLibrary::save(ModelKind kind, const QStringList &lines)
{
    const QString title = kind == ModelKind::Bilan ? QStringLiteral("Enregistrement d'un modèle")
                                                   : QStringLiteral("Enregistrement d'un modèle de Certificat");
    const QString path = m_dialogs.chooseFileToSave(m_parent, modelFolder(kind), QString(), title);
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path)
        && !m_dialogs.askYesNo(m_parent, QStringLiteral("Attention. Voulez-vous effacer le fichier existant?"),
                               DialogService::Icon::Warning))
        return;
    writeModelFile(path, lines);
}

} // namespace orvane::prescribing
