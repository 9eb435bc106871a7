#pragma once

#include "platform/pageprinter.h"
#include "prescribing/printersurface.h"
#include "prescribing/printfiles.h"

#include <QPainter>
#include <QPrinter>
#include <QRect>
#include <memory>

class QPdfWriter;

namespace orvane {
class Clock;
class DialogService;
}

namespace orvane::prescribing {

// The printer surface of the running program: the system's current printer through QPainter,
// scaled to the device units whatever the printer's own resolution. A job printed for a patient is
// drawn at once into its PDF copy (PrintFiles), kept only when the printer took the job. Without an
// installed printer, or when PDF output was chosen, every job is a PDF file of its own instead: the
// patient's copy, or a file of the folder "Impressions" when it is for nobody.
class QPrinterSurface final : public PrinterSurface, public PagePrinter
{
public:
    QPrinterSurface(DialogService &dialogs, const Clock &clock);
    ~QPrinterSurface() override;
    QPrinterSurface(const QPrinterSurface &) = delete;
    QPrinterSurface &operator=(const QPrinterSurface &) = delete;

    void beginDocument(const PrintJob &job) override;
    void endDocument() override;
    void setFont(const PrintFont &font) override;
    void drawText(int x, int y, const QString &text) override;
    int textWidth(const QString &text) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    QSize printableArea() override;
    bool setUpPrinter(QWidget *parent) override;
    // A page that draws itself, on the same printer and with the same copy as the layouts.
    void printPage(const Drawing &draw, const PrintJob &job) override;

    // The printer behind the surface.
    QPrinter &printer() { return m_printer; }

private:
    bool printsToPdf() const;
    // Ends the job in progress, if any, without printing it.
    void abandonJob();
    void startCopy(const PrintJob &job);
    QList<QPainter *> activePainters();

    DialogService &m_dialogs;
    PrintFiles m_files;
    QPrinter m_printer;
    QPainter m_painter;
    QRect m_printableArea;
    PrintFont m_font;
    // The job's own file when it is written as a PDF file instead of being printed.
    std::unique_ptr<QPdfWriter> m_pdfJob;
    QString m_pdfJobPath;
    std::unique_ptr<QPdfWriter> m_copy;
    QPainter m_copyPainter;
    QString m_copyPath;
};

} // namespace orvane::prescribing
