#pragma once

#include <functional>

class QPainter;
class QRectF;
class QWidget;

namespace orvane {

// A printer for output that draws itself on one page (the statistics chart).
class PagePrinter
{
public:
    // Draws the page; the painter's coordinates are those of the printable area, given as `page`.
    using Drawing = std::function<void(QPainter &painter, const QRectF &page)>;

    virtual ~PagePrinter() = default;

    // The printer set-up dialog, choosing the printer of every later job; true when confirmed.
    virtual bool setUpPrinter(QWidget *parent) = 0;
    // One print job of one page.
    virtual void printPage(const Drawing &draw) = 0;
};

} // namespace orvane
