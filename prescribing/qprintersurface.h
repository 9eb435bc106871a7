#pragma once

#include "platform/pageprinter.h"
#include "prescribing/printersurface.h"

#include <QPainter>
#include <QPrinter>
#include <QRect>

namespace orvane {
class Clock;
class DialogService;
}

namespace orvane::prescribing {

// The printer surface of the running program: the system's current printer through QPainter,
// scaled to 300 device units per inch whatever the printer's own resolution. Without an installed
// printer, or when PDF output was chosen, every job becomes a PDF file of its own in the folder
// "Impressions" of the program folder.
class QPrinterSurface final : public PrinterSurface, public PagePrinter
{
public:
    QPrinterSurface(DialogService &dialogs, const Clock &clock);
    ~QPrinterSurface() override;
    QPrinterSurface(const QPrinterSurface &) = delete;
    QPrinterSurface &operator=(const QPrinterSurface &) = delete;

    void beginDocument() override;
    void endDocument() override;
    void setFont(const PrintFont &font) override;
    void drawText(int x, int y, const QString &text) override;
    int textWidth(const QString &text) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    bool setUpPrinter(QWidget *parent) override;
    // A page that draws itself, on the same printer and into the same PDF folder as the layouts.
    void printPage(const Drawing &draw) override;

    // The printer behind the surface.
    QPrinter &printer() { return m_printer; }

    // The folder receiving the PDF jobs.
    static QString pdfFolder();

private:
    bool printsToPdf() const;
    QString nextPdfFileName();
    QPainter &activePainter();

    DialogService &m_dialogs;
    const Clock &m_clock;
    QPrinter m_printer;
    QPainter m_painter;
    QRect m_printableArea;
    PrintFont m_font;
    int m_jobNumber = 0;
};

} // namespace orvane::prescribing
