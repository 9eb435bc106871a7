#include "prescribing/pagefit.h"

namespace orvane::prescribing {

namespace {

// A longer list would not fit the message box; the first lines tell what to mend.
constexpr int listedLines = 10;

} // namespace

PageFit::PageFit(const QSize &printableArea)
    : m_area(printableArea)
{
}

void PageFit::drawText(int x, int y, const QString &text)
{
    // A blank text leaves no ink wherever it stands.
    if (text.trimmed().isEmpty())
        return;
    if (QRectF(QPointF(0, 0), m_area).contains(deviceTextCell(m_font, x, y, text)))
        m_onPage.append(text);
    else if (!m_offPage.contains(text))
        m_offPage.append(text);
}

int PageFit::textWidth(const QString &text)
{
    return deviceTextWidth(m_font, text);
}

bool PageFit::printsNoneOf(const QStringList &lines) const
{
    bool anyLine = false;
    for (const QString &line : lines) {
        if (m_onPage.contains(line))
            return false;
        // A blank line leaves no ink, and a line the layout does not print (the separator of the
        // two zones) is not missed.
        anyLine = anyLine || m_offPage.contains(line);
    }
    return anyLine || m_onPage.isEmpty();
}

QString PageFit::message(bool nothingPrinted) const
{
    QString text = nothingPrinted
        ? QStringLiteral("Rien n'a été imprimé : les lignes tombent hors de la page.\n")
        : QStringLiteral("Impression incomplète : ces lignes tombent hors de la page.\n");
    for (const QString &line : m_offPage.mid(0, listedLines))
        text += QStringLiteral("\n« %1 »").arg(line.trimmed());
    if (m_offPage.size() > listedLines)
        text += QStringLiteral("\n… et %1 autres lignes").arg(m_offPage.size() - listedLines);
    return text + QStringLiteral("\n\nRéduisez l'interligne, l'espacement ou les marges "
                                 "(Paramètres, Marges Imprimante).");
}

} // namespace orvane::prescribing
