#pragma once

#include "prescribing/printersurface.h"

#include <QStringList>

namespace orvane::prescribing {

// A surface that prints nothing: it follows a layout before the layout is printed, to tell which of
// its texts would not stand whole inside the printable area of the sheet.
class PageFit final : public PrinterSurface
{
public:
    explicit PageFit(const QSize &printableArea);

    void beginDocument(const PrintJob &) override {}
    void endDocument() override {}
    void setFont(const PrintFont &font) override { m_font = font; }
    void drawText(int x, int y, const QString &text) override;
    int textWidth(const QString &text) override;
    void drawLine(int, int, int, int) override {}
    QSize printableArea() override { return m_area; }
    // It has no printer to set up.
    bool setUpPrinter(QWidget *) override { return false; }

    // The texts falling wholly or partly off the page, each once, in the order drawn.
    const QStringList &offPage() const { return m_offPage; }
    // True when not one of the lines drawn would stand on the page (when none was drawn: not one
    // text): the sheets would carry nothing of what was to be printed.
    bool printsNoneOf(const QStringList &lines) const;
    // What the physician is told about the texts off the page, when nothing or only part was printed.
    QString message(bool nothingPrinted) const;

private:
    QSize m_area;
    PrintFont m_font;
    QStringList m_offPage;
    QStringList m_onPage;
};

} // namespace orvane::prescribing
