#include "support/printedplacement.h"

#include "prescribing/printfont.h"

namespace orvane::test {

QStringList textsNotWhereDrawn(const RecordingSurface::Document &drawn, const PdfPage &page, const QPointF &origin,
                               double verticalSlack)
{
    QStringList misplaced;
    for (const RecordingSurface::Text &text : drawn.texts) {
        const QString firstWord = text.text.simplified().section(QLatin1Char(' '), 0, 0);
        if (firstWord.isEmpty())
            continue;
        bool found = false;
        for (const PdfWord &word : page.find(firstWord)) {
            // A text opening with a blank starts its first word further right.
            const double shift = word.left - origin.x() - text.x;
            const bool leftEdge = text.text.startsWith(QLatin1Char(' ')) ? shift > 0 : qAbs(shift) <= 3;
            const double vertical = 3 + verticalSlack * text.font.points * prescribing::deviceUnitsPerInch / 72.0;
            found = found || (leftEdge && qAbs(word.top - origin.y() - text.y) <= vertical);
        }
        if (!found)
            misplaced.append(QStringLiteral("'%1' not at %2, %3").arg(text.text).arg(text.x).arg(text.y));
    }
    return misplaced;
}

} // namespace orvane::test
