#include "prescribing/prescriptionlayout.h"

#include "prescribing/letterhead.h"
#include "prescribing/printcontext.h"


namespace orvane::prescribing {

namespace {

const QString duplicata = QStringLiteral("DUPLICATA");

enum class Copy { Main, Duplicate };

void drawPlainCopy(const PrintContext &context, const PrescriptionToPrint &prescription, Copy copy)
{
    const PrintCoordinates &at = context.at();
    PrinterSurface &surface = context.surface();
    context.beginDocument(copy == Copy::Main ? QStringLiteral("ordonnance") : QStringLiteral("ordonnance duplicata"));
    Entete(context);
    context.write(at.x(1250), at.y(1000), prescription.patientName, boldUnderlined(10));
    // The duplicate's mark stands at the same place of the sheet whatever the spacing settings.
    if (copy == Copy::Duplicate)
        context.write(1250, 1200, duplicata, boldItalic(18));
    surface.setFont(regular(12));
    for (int i = 0; i < prescription.lines.size(); ++i)
        surface.drawText(at.fromLeft(200), at.row(1400, 60, i), prescription.lines.at(i));
    Aga(context);
    if (!prescription.renewal.isEmpty())
        context.write(at.x(1200), at.foot(3500), prescription.renewal, bold(10));
    surface.endDocument();
}

void rule(const PrintContext &context, int y)
{
    const PrintCoordinates &at = context.at();
    context.surface().drawLine(at.fromLeft(130), y, at.fromRight(2800), y);
}

void drawZoneLines(const PrintContext &context, const QStringList &lines, int from, int to, int top)
{
    const PrintCoordinates &at = context.at();
    context.surface().setFont(regular(10));
    // Each line keeps the row of its index in the whole text, as the lower zone was laid out.
    for (int i = from; i < to; ++i)
        context.surface().drawText(at.fromLeft(150), at.row(top, 70, i), lines.at(i));
}

void drawLongTermIllnessCopy(const PrintContext &context, const PrescriptionToPrint &prescription, Copy copy)
{
    const PrintCoordinates &at = context.at();
    const QStringList &lines = prescription.lines;
    PrinterSurface &surface = context.surface();
    context.beginDocument(copy == Copy::Main ? QStringLiteral("ordonnance 100%")
                                             : QStringLiteral("ordonnance 100% duplicata"));
    Entete(context);
    if (copy == Copy::Duplicate)
        context.write(at.fromLeft(1250), at.y(550), duplicata, boldItalic(14));
    rule(context, at.y(600));
    context.write(at.fromLeft(300), at.y(670),
                  QStringLiteral("Prescriptions relatives au traitement de l'affection de longue durée "
                                 "reconnue (liste ou hors liste)"),
                  bold(10));
    rule(context, at.y(800));

    const qsizetype separator = lines.lastIndexOf(zoneSeparator);
    if (separator < 0) {
        drawZoneLines(context, lines, 0, int(lines.size()), 900);
    } else {
        const long long k = separator;
        drawZoneLines(context, lines, 0, int(k), 900);
        rule(context, at.y(70 * k + 950));
        context.write(at.fromLeft(300), at.y(70 * k + 1020),
                      QStringLiteral("Prescriptions  sans relation avec l'affection de longue durée "
                                     "reconnue (liste ou hors liste)"),
                      bold(10));
        rule(context, at.y(70 * k + 1130));
        drawZoneLines(context, lines, int(k) + 1, int(lines.size()), 1230);
    }

    if (!prescription.renewal.isEmpty())
        context.write(at.fromLeft(1200), at.foot(3500), prescription.renewal, bold(10));
    Aga(context);
    surface.endDocument();
}

} // namespace

void printPlainPrescription(const PrintContext &context, const PrescriptionToPrint &prescription)
{
    drawPlainCopy(context, prescription, Copy::Main);
    if (!prescription.renewal.isEmpty())
        drawPlainCopy(context, prescription, Copy::Duplicate);
}

void printLongTermIllnessPrescription(const PrintContext &context, const PrescriptionToPrint &prescription)
{
    drawLongTermIllnessCopy(context, prescription, Copy::Main);
    drawLongTermIllnessCopy(context, prescription, Copy::Duplicate);
}

} // namespace orvane::prescribing
