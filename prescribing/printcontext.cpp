#include "prescribing/printcontext.h"

namespace orvane::prescribing {

PrintContext::PrintContext(PrinterSurface &surface, const PrintSettings &settings, const QString &todayText,
                           const QString &owner)
    : m_surface(surface)
    , m_settings(settings)
    , m_coordinates(settings)
    , m_todayText(todayText)
    , m_owner(owner)
{
}

void PrintContext::beginDocument(const QString &kind) const
{
    m_surface.beginDocument({m_owner, kind});
}

void PrintContext::write(int x, int y, const QString &text, const PrintFont &font) const
{
    m_surface.setFont(font);
    m_surface.drawText(x, y, text);
}

namespace {

PrintFont styled(int points, bool bold, bool italic, bool underline)
{
    PrintFont font;
    font.points = points;
    font.bold = bold;
    font.italic = italic;
    font.underline = underline;
    return font;
}

} // namespace

PrintFont regular(int points)
{
    return styled(points, false, false, false);
}

PrintFont bold(int points)
{
    return styled(points, true, false, false);
}

PrintFont italic(int points)
{
    return styled(points, false, true, false);
}

PrintFont boldItalic(int points)
{
    return styled(points, true, true, false);
}

PrintFont boldUnderlined(int points)
{
    return styled(points, true, false, true);
}

} // namespace orvane::prescribing
