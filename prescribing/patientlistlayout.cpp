#include "prescribing/patientlistlayout.h"

#include "prescribing/letterhead.h"
#include "prescribing/printcontext.h"
#include "records/patientlist.h"

namespace orvane::prescribing {

namespace {

constexpr int firstRowTop = 1500;
constexpr int nextPagesTop = 300;
constexpr int rowStep = 60;
constexpr int lastRowTop = 3900;
// Left edge of each cell (name, number, birth, age, what matched, its date) in the normal layout.
const QList<int> cellLeft = {0, 800, 1050, 1350, 1500, 2450};
// The right edge of the lines, as the letterhead's right column stands.
constexpr int rightEdge = 2750;

// The text cut to what fits in the width, marked by "..." where it was cut.
QString fitted(PrinterSurface &surface, const QString &text, int width)
{
    if (surface.textWidth(text) <= width)
        return text;
    QString cut = text;
    while (!cut.isEmpty() && surface.textWidth(cut + QStringLiteral("...")) > width)
        cut.chop(1);
    return cut + QStringLiteral("...");
}

void drawRow(const PrintContext &context, int y, const QStringList &cells, const PrintFont &font)
{
    PrinterSurface &surface = context.surface();
    const PrintCoordinates &at = context.at();
    surface.setFont(font);
    for (int i = 0; i < cells.size() && i < cellLeft.size(); ++i) {
        const int right = i + 1 < cellLeft.size() ? at.fromLeft(cellLeft.at(i + 1)) : at.fromRight(rightEdge);
        const int left = at.fromLeft(cellLeft.at(i));
        surface.drawText(left, y, fitted(surface, cells.at(i), right - left - at.x(20)));
    }
}

} // namespace

void printPatientList(const PrintContext &context, const QString &criteria, const QList<QStringList> &rows)
{
    const PrintCoordinates &at = context.at();
    PrinterSurface &surface = context.surface();
    int next = 0;
    bool firstPage = true;
    do {
        context.beginDocument(QStringLiteral("liste de patients"));
        int top = nextPagesTop;
        if (firstPage) {
            Entete(context);
            context.write(at.fromLeft(0), at.y(1250),
                          QStringLiteral("Recherche multicritère du %1 : %2 patient(s)").arg(context.todayText()).arg(rows.size()),
                          bold(12));
            surface.setFont(regular(10));
            surface.drawText(at.fromLeft(0), at.y(1340),
                             fitted(surface, QStringLiteral("Critères : ") + criteria, at.fromRight(rightEdge) - at.fromLeft(0)));
            top = firstRowTop;
        }
        drawRow(context, at.y(top - rowStep - 10), records::patientListTitles(), bold(9));
        int line = 0;
        for (; next < rows.size() && top + line * rowStep <= lastRowTop; ++next, ++line)
            drawRow(context, at.row(top, rowStep, line), rows.at(next), regular(9));
        surface.endDocument();
        firstPage = false;
    } while (next < rows.size());
}

} // namespace orvane::prescribing
