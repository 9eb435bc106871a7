#pragma once

#include "support/pdfwords.h"
#include "support/recordingsurface.h"

#include <QPointF>
#include <QStringList>

namespace orvane::test {

// The texts of a job drawn on a recording surface that do not stand at their place on the printed
// PDF page, as "'text' not at x, y"; origin is the printable area's top-left corner on the page,
// in device units. Each text is looked for by its first word, within 3 units; a page that went
// through a print queue, whose fonts were rewritten with boxes of their own, may be given a
// vertical slack, as a share of each text's size.
QStringList textsNotWhereDrawn(const RecordingSurface::Document &drawn, const PdfPage &page, const QPointF &origin,
                               double verticalSlack = 0);

} // namespace orvane::test
