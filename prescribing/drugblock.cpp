#include "prescribing/drugblock.h"

namespace orvane::prescribing {

QStringList drugBlock(const QString &drug, const PosologyChoice &choice, const QString &usualPosology)
{
    const QString quantity = choice.quantity.isEmpty() ? QString() : QStringLiteral(": ") + choice.quantity;
    const QString blank = QStringLiteral(" ");
    const QString dosage = usualPosology.isEmpty() ? choice.dose + blank + choice.timeOfDay + blank + choice.period
                                                   : usualPosology + blank + choice.period;
    return {QStringLiteral("- ") + drug + quantity + blank + choice.doNotRenew, QString(), dosage, QString(), QString()};
}

QString renewalStatement(const QString &renewal)
{
    if (renewal.isEmpty())
        return QString();
    return QStringLiteral("Ordonnance à renouveler: ") + renewal;
}

} // namespace orvane::prescribing
