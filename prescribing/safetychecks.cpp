#include "prescribing/safetychecks.h"

#include "platform/textlines.h"
#include "prescribing/prescriptionlayout.h"

#include <algorithm>

namespace orvane::prescribing {

bool classesInteract(const QStringList &classes)
{
    return classes.contains(QStringLiteral("A"), Qt::CaseInsensitive)
        && classes.contains(QStringLiteral("B"), Qt::CaseInsensitive);
}

bool contraIndicated(const QString &drug, const QString &pastIllnesses)
{
    if (drug.isEmpty())
        return false;
    const QStringList lines = splitLines(pastIllnesses);
    return std::any_of(lines.cbegin(), lines.cend(),
                       [&drug](const QString &line) { return line.contains(drug, Qt::CaseSensitive); });
}

QString contraIndicationMessage(const QString &drug)
{
    return QStringLiteral("Attention !\nIl y a une contre-indication à l'utilisation du médicament\n") + drug;
}

} // namespace orvane::prescribing
