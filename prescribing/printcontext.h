#pragma once

#include "prescribing/printcoordinates.h"
#include "prescribing/printersurface.h"
#include "prescribing/printsettings.h"

#include <QString>

namespace orvane::prescribing {

// What one print operation draws with: the surface, the settings and the coordinates taken from
// them when the operation starts, today's date as the letterhead shows it, and the patient's
// folder of prints the jobs are for (see PrintJob).
class PrintContext
{
public:
    PrintContext(PrinterSurface &surface, const PrintSettings &settings, const QString &todayText,
                 const QString &owner = QString());

    PrinterSurface &surface() const { return m_surface; }
    const PrintSettings &settings() const { return m_settings; }
    const PrintCoordinates &at() const { return m_coordinates; }
    const QString &todayText() const { return m_todayText; }

    // Opens a job of the given kind for the operation's patient.
    void beginDocument(const QString &kind) const;
    // Sets the font, then draws the text with its top-left corner at (x, y).
    void write(int x, int y, const QString &text, const PrintFont &font) const;

private:
    PrinterSurface &m_surface;
    PrintSettings m_settings;
    PrintCoordinates m_coordinates;
    QString m_todayText;
    QString m_owner;
};

// The fonts of the printed documents, all of the family the letterhead sets.
PrintFont regular(int points);
PrintFont bold(int points);
PrintFont italic(int points);
PrintFont boldItalic(int points);
PrintFont boldUnderlined(int points);

} // namespace orvane::prescribing
