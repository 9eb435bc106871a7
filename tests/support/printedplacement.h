#pragma once

#include "support/pdfwords.h"
#include "support/recordingsurface.h"

#include <QPointF>
#include <QStringList>

namespace orvane::test {

// The texts of a job drawn on a recording surface that do not stand at their place on the printed
// PDF page, as "'text' not at x, y"; origin is the printable area's top-left corner on the page,
// in device units. Each text is looked for by its first word.
QStringList textsNotWhereDrawn(const RecordingSurface::Document &drawn, const PdfPage &page, const QPointF &origin);

} // namespace orvane::test
