#include "prescribing/qprintersurface.h"

#include "platform/clock.h"
#include "platform/dialogservice.h"
#include "platform/error.h"
#include "platform/places.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinterInfo>

namespace orvane::prescribing {

QPrinterSurface::QPrinterSurface(DialogService &dialogs, const Clock &clock)
    : m_dialogs(dialogs)
    , m_clock(clock)
    , m_printer(QPrinter::HighResolution)
{
}

QPrinterSurface::~QPrinterSurface()
{
    if (m_painter.isActive())
        m_printer.abort();
}

QString QPrinterSurface::pdfFolder()
{
    return places::inProgramFolder(QStringLiteral("Impressions"));
}

bool QPrinterSurface::printsToPdf() const
{
    if (m_printer.outputFormat() == QPrinter::PdfFormat)
        return true;
    return m_printer.printerName().isEmpty() || QPrinterInfo::printerInfo(m_printer.printerName()).isNull();
}

QString QPrinterSurface::nextPdfFileName()
{
    const QString folder = pdfFolder();
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        throw Error(QStringLiteral("Impossible de créer le dossier '%1'").arg(QDir::toNativeSeparators(folder)));
    const QString stamp = m_clock.now().toString(QStringLiteral("yyyy-MM-dd HH'h'mm'm'ss"));
    // A job number already used by an earlier run in the same second is skipped, never overwritten.
    QString path;
    do {
        ++m_jobNumber;
        path = QStringLiteral("%1/%2 impression %3.pdf").arg(folder, stamp).arg(m_jobNumber);
    } while (QFileInfo::exists(path));
    return path;
}

void QPrinterSurface::beginDocument()
{
    if (m_painter.isActive()) {
        m_painter.end();
        m_printer.abort();
    }
    QString target = m_printer.printerName();
    if (printsToPdf()) {
        target = nextPdfFileName();
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(target);
    }
    if (!m_painter.begin(&m_printer)) {
        throw Error(QStringLiteral("Impossible d'imprimer sur '%1' : l'impression a été refusée")
                        .arg(QDir::toNativeSeparators(target)));
    }
    const qreal scale = qreal(m_printer.resolution()) / deviceUnitsPerInch;
    m_painter.scale(scale, scale);
    m_printableArea = QRect(QPoint(0, 0), m_printer.pageLayout().paintRectPixels(deviceUnitsPerInch).size());
    m_painter.setClipRect(m_printableArea);
    m_painter.setPen(QPen(Qt::black, lineWidth, Qt::SolidLine, Qt::RoundCap));
    m_painter.setFont(deviceFont(m_font));
}

void QPrinterSurface::endDocument()
{
    QPainter &painter = activePainter();
    const QString target = m_printer.outputFormat() == QPrinter::PdfFormat ? m_printer.outputFileName()
                                                                            : m_printer.printerName();
    if (!painter.end() || m_printer.printerState() == QPrinter::Error) {
        throw Error(QStringLiteral("L'impression sur '%1' a échoué").arg(QDir::toNativeSeparators(target)));
    }
}

QPainter &QPrinterSurface::activePainter()
{
    if (!m_painter.isActive())
        throw Error(QStringLiteral("Aucune impression n'est en cours"));
    return m_painter;
}

void QPrinterSurface::setFont(const PrintFont &font)
{
    m_font = font;
    if (m_painter.isActive())
        m_painter.setFont(deviceFont(m_font));
}

void QPrinterSurface::drawText(int x, int y, const QString &text)
{
    QPainter &painter = activePainter();
    const qreal ascent = deviceAscent(m_font);
    const QRectF cell(x, y, textWidth(text), ascent + deviceDescent(m_font));
    // A text wholly outside the page is left out rather than drawn into the clip.
    if (text.isEmpty() || !cell.intersects(m_printableArea))
        return;
    painter.drawText(QPointF(x, y + ascent), text);
}

int QPrinterSurface::textWidth(const QString &text)
{
    return deviceTextWidth(m_font, text);
}

void QPrinterSurface::drawLine(int x1, int y1, int x2, int y2)
{
    activePainter().drawLine(x1, y1, x2, y2);
}

void QPrinterSurface::printPage(const Drawing &draw)
{
    beginDocument();
    draw(m_painter, QRectF(m_printableArea));
    endDocument();
}

bool QPrinterSurface::setUpPrinter(QWidget *parent)
{
    return m_dialogs.setUpPrinter(parent, m_printer);
}

} // namespace orvane::prescribing
