#pragma once

#include <QString>
#include <functional>

class QPainter;
class QRectF;
class QWidget;

namespace orvane {

// Printed positions and sizes are in these units: 1/360 inch on every printer.
inline constexpr int pageUnitsPerInch = 360;

// What a print job is, for the copy the program keeps of it: the patient it was printed for (his
// folder of prints, "<NomPrénom> <N°Dossier>"; empty when it is for nobody) and its kind
// ("ordonnance", "certificat", ...), both part of the copy's file name.
struct PrintJob
{
    QString owner;
    QString kind;
};

// A printer for output that draws itself on one page (the statistics chart).
class PagePrinter
{
public:
    // Draws the page; the painter's coordinates are those of the printable area, given as `page`,
    // in pageUnitsPerInch.
    using Drawing = std::function<void(QPainter &painter, const QRectF &page)>;

    virtual ~PagePrinter() = default;

    // The printer set-up dialog, choosing the printer of every later job; true when confirmed.
    virtual bool setUpPrinter(QWidget *parent) = 0;
    // One print job of one page.
    virtual void printPage(const Drawing &draw, const PrintJob &job) = 0;
};

} // namespace orvane
