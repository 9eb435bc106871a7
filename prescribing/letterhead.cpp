#include "prescribing/letterhead.h"

#include "prescribing/printcontext.h"

#include <QList>

namespace orvane::prescribing {

namespace {

struct LetterheadLine
{
    QString text;
    PrintFont font;
    int x;
    int y;
    // Empty for a line drawn at x as it is; otherwise the line is centred on this text with x its left edge.
    QString reference;
};

} // namespace

void Entete(const PrintContext &context)
{
    const PrintSettings &settings = context.settings();
    const PrintCoordinates &at = context.at();
    const QString rule = QStringLiteral("_____");
    const QList<LetterheadLine> lines = {
        {settings.identifiant, bold(12), at.fromLeft(130), at.y(100), reference::identifiant},
        {settings.ville, bold(10), at.fromRight(1900), at.y(100), reference::ville},
        {settings.diplome, italic(7), at.fromLeft(200), at.y(200), reference::diplome},
        {settings.residence, bold(9), at.fromRight(1950), at.y(200), reference::residence},
        {rule, regular(9), at.fromLeft(350), at.y(240), QString()},
        {settings.securite, regular(8), at.fromLeft(235), at.y(300), reference::securite},
        {settings.telephone, bold(9), at.fromRight(2100), at.y(300), reference::telephone},
        {QStringLiteral(" GENERALISTE "), regular(10), at.fromLeft(175), at.y(350), QString()},
        {QStringLiteral("Le: ") + context.todayText(), regular(10), at.fromRight(2100), at.y(400), QString()},
        {rule, regular(9), at.fromLeft(350), at.y(400), QString()},
        {settings.libre1, italic(7), at.fromLeft(270), at.y(480), reference::libre1},
        {settings.libre2, italic(7), at.fromLeft(205), at.y(520), reference::libre2},
    };

    PrinterSurface &surface = context.surface();
    for (const LetterheadLine &line : lines) {
        surface.setFont(line.font);
        int x = line.x;
        if (!line.reference.isNull())
            x -= truncated((surface.textWidth(line.text) - surface.textWidth(line.reference)) / 2.0);
        surface.drawText(x, line.y, line.text);
    }
}

void Aga(const PrintContext &context)
{
    if (context.settings().aga != 0)
        return;
    context.write(context.at().x(400), context.at().foot(3700), agaStatement, italic(8));
}

} // namespace orvane::prescribing
