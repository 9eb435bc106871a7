#include "prescribing/qprintersurface.h"

#include "platform/dialogservice.h"
#include "platform/error.h"
#include "prescribing/printqueue.h"

#include <QDir>
#include <QFile>
#include <QPdfWriter>

namespace orvane::prescribing {

namespace {

// Drawing on the painter is in device units, origin at the printable area, clipped to it.
void prepare(QPainter &painter, int resolution, const QRect &printableArea, const QFont &font)
{
    const qreal scale = qreal(resolution) / deviceUnitsPerInch;
    painter.scale(scale, scale);
    painter.setClipRect(printableArea);
    painter.setPen(QPen(Qt::black, PrinterSurface::lineWidth, Qt::SolidLine, Qt::RoundCap));
    painter.setFont(font);
}

// A PDF file of its own for a job, laid out on the printer's sheet.
std::unique_ptr<QPdfWriter> pdfFile(const QString &path, const QPageLayout &layout, const QString &title)
{
    auto writer = std::make_unique<QPdfWriter>(path);
    writer->setResolution(deviceUnitsPerInch);
    writer->setPageLayout(layout);
    writer->setTitle(title);
    return writer;
}

} // namespace

QPrinterSurface::QPrinterSurface(DialogService &dialogs, const Clock &clock)
    : m_dialogs(dialogs)
    , m_files(clock)
    , m_printer(QPrinter::HighResolution)
{
    // The layouts are made for an A4 sheet, whatever the queue's own default; the set-up dialog may change it.
    m_printer.setPageSize(QPageSize(QPageSize::A4));
}

QPrinterSurface::~QPrinterSurface()
{
    abandonJob();
}

bool QPrinterSurface::printsToPdf() const
{
    // A printer that was installed and has gone is an error of the print, not a reason to write files.
    return m_printer.outputFormat() == QPrinter::PdfFormat || m_printer.printerName().isEmpty();
}

void QPrinterSurface::abandonJob()
{
    if (m_copyPainter.isActive()) {
        m_copyPainter.end();
        QFile::remove(m_copyPath);
    }
    m_copy.reset();
    if (m_painter.isActive()) {
        m_painter.end();
        if (!m_pdfJob)
            m_printer.abort();
    }
    if (m_pdfJob) {
        m_pdfJob.reset();
        QFile::remove(m_pdfJobPath);
    }
}

QSize QPrinterSurface::printableArea()
{
    return m_printer.pageLayout().paintRectPixels(deviceUnitsPerInch).size();
}

void QPrinterSurface::beginDocument(const PrintJob &job)
{
    abandonJob();
    QString target = m_printer.printerName();
    QPaintDevice *device = &m_printer;
    int resolution = m_printer.resolution();
    const bool toPdf = printsToPdf();
    if (toPdf) {
        // The job's file is written apart from the printer, which never holds a patient's file
        // name: the printer set-up would show it, and ask about it, at the next print.
        target = m_files.newFile(job);
        m_pdfJob = pdfFile(target, m_printer.pageLayout(), job.kind);
        m_pdfJobPath = target;
        device = m_pdfJob.get();
        resolution = m_pdfJob->resolution();
    } else {
        printqueue::checkReady(target);
    }
    if (!m_painter.begin(device)) {
        abandonJob();
        throw Error(QStringLiteral("Impossible d'imprimer sur '%1' : l'impression a été refusée")
                        .arg(QDir::toNativeSeparators(target)));
    }
    m_printableArea = QRect(QPoint(0, 0), printableArea());
    prepare(m_painter, resolution, m_printableArea, deviceFont(m_font));
    if (!toPdf && !job.owner.isEmpty())
        startCopy(job);
}

void QPrinterSurface::startCopy(const PrintJob &job)
{
    m_copyPath = m_files.newFile(job);
    m_copy = pdfFile(m_copyPath, m_printer.pageLayout(), job.kind);
    if (!m_copyPainter.begin(m_copy.get())) {
        abandonJob();
        throw Error(QStringLiteral("Impossible d'écrire la copie '%1'").arg(QDir::toNativeSeparators(m_copyPath)));
    }
    prepare(m_copyPainter, m_copy->resolution(), m_printableArea, deviceFont(m_font));
}

void QPrinterSurface::endDocument()
{
    if (!m_painter.isActive())
        throw Error(QStringLiteral("Aucune impression n'est en cours"));
    const bool toPdf = m_pdfJob != nullptr;
    const QString target = toPdf ? m_pdfJobPath : m_printer.printerName();
    if (!m_painter.end() || (!toPdf && m_printer.printerState() == QPrinter::Error)) {
        abandonJob();
        throw Error(QStringLiteral("L'impression sur '%1' a échoué").arg(QDir::toNativeSeparators(target)));
    }
    if (!toPdf) {
        try {
            printqueue::checkJobTaken(target);
        } catch (const Error &) {
            // A job that did not print leaves no copy.
            abandonJob();
            throw;
        }
    }
    if (m_copyPainter.isActive() && !m_copyPainter.end()) {
        QFile::remove(m_copyPath);
        m_copy.reset();
        throw Error(QStringLiteral("Impossible d'écrire la copie '%1'").arg(QDir::toNativeSeparators(m_copyPath)));
    }
    m_copy.reset();
    m_pdfJob.reset();
}

QList<QPainter *> QPrinterSurface::activePainters()
{
    if (!m_painter.isActive())
        throw Error(QStringLiteral("Aucune impression n'est en cours"));
    if (m_copyPainter.isActive())
        return {&m_painter, &m_copyPainter};
    return {&m_painter};
}

void QPrinterSurface::setFont(const PrintFont &font)
{
    m_font = font;
    for (QPainter *painter : {&m_painter, &m_copyPainter}) {
        if (painter->isActive())
            painter->setFont(deviceFont(m_font));
    }
}

void QPrinterSurface::drawText(int x, int y, const QString &text)
{
    const QList<QPainter *> painters = activePainters();
    // A text wholly outside the page is left out rather than drawn into the clip.
    if (text.isEmpty() || !deviceTextCell(m_font, x, y, text).intersects(m_printableArea))
        return;
    for (QPainter *painter : painters)
        painter->drawText(QPointF(x, y + deviceAscent(m_font)), text);
}

int QPrinterSurface::textWidth(const QString &text)
{
    return deviceTextWidth(m_font, text);
}

void QPrinterSurface::drawLine(int x1, int y1, int x2, int y2)
{
    for (QPainter *painter : activePainters())
        painter->drawLine(x1, y1, x2, y2);
}

void QPrinterSurface::printPage(const Drawing &draw, const PrintJob &job)
{
    beginDocument(job);
    for (QPainter *painter : activePainters())
        draw(*painter, QRectF(m_printableArea));
    endDocument();
}

bool QPrinterSurface::setUpPrinter(QWidget *parent)
{
    return m_dialogs.setUpPrinter(parent, m_printer);
}

} // namespace orvane::prescribing
