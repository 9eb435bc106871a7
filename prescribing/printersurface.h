#pragma once

#include "platform/pageprinter.h"
#include "prescribing/printfont.h"

#include <QSize>
#include <QString>

class QWidget;

namespace orvane::prescribing {

// The few drawing operations every printed document is made of. Coordinates are device units
// (1/360 inch), origin at the top-left corner of the printable area, y downwards. Each
// begin/end pair is one print job of one page. The current font stays in force across calls and
// across documents.
class PrinterSurface
{
public:
    // Every line is drawn solid with this width, in device units.
    static constexpr int lineWidth = 10;

    virtual ~PrinterSurface() = default;

    // Opens the job; the job says whom it is for and what it is, for the copy kept of it.
    virtual void beginDocument(const PrintJob &job) = 0;
    virtual void endDocument() = 0;
    virtual void setFont(const PrintFont &font) = 0;
    // One line of text, the top-left corner of its cell at (x, y); never wrapped. What falls
    // outside the printable area is cut off.
    virtual void drawText(int x, int y, const QString &text) = 0;
    // Width of the text in the current font, in device units.
    virtual int textWidth(const QString &text) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2) = 0;
    // The size of the printable area of the sheet of the next job, in device units.
    virtual QSize printableArea() = 0;
    // The printer set-up dialog, choosing the printer of every later job; true when confirmed.
    virtual bool setUpPrinter(QWidget *parent) = 0;
};

} // namespace orvane::prescribing
