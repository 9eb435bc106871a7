#include "prescribing/prescriptiontext.h"

#include "platform/textlines.h"

namespace orvane::prescribing {

QString linesAsText(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + lineBreak;
    return text;
}

QString withDrugLogged(const QString &text, const QString &drug)
{
    return text + QLatin1Char('\r') + drug;
}

} // namespace orvane::prescribing
