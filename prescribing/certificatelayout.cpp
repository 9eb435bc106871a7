#include "prescribing/certificatelayout.h"

#include "prescribing/letterhead.h"
#include "prescribing/printcontext.h"

namespace orvane::prescribing {

void printCertificate(const PrintContext &context, const QString &patientName, const QStringList &lines)
{
    const PrintCoordinates &at = context.at();
    PrinterSurface &surface = context.surface();
    const int left = at.fromLeft(200);
    context.beginDocument(QStringLiteral("certificat"));
    Entete(context);
    surface.setFont(regular(12));
    surface.drawText(left, at.y(1300),
                     QStringLiteral("Je soussigné ") + context.settings().identifiant
                         + QStringLiteral(" Déclare avoir examiné M(me) ") + patientName);
    surface.drawText(left, at.y(1370), QStringLiteral(" et constaté ce qui suit:"));
    for (int i = 0; i < lines.size(); ++i)
        surface.drawText(left, at.row(1600, 70, i), lines.at(i));
    surface.drawText(left, at.foot(3550),
                     QStringLiteral("Certificat fait à la demande de l'intéressé(e) et remis en main propre"));
    surface.drawText(left, at.foot(3620), QStringLiteral("pour faire valoir ce que de droit."));
    Aga(context);
    surface.endDocument();
}

} // namespace orvane::prescribing
