#pragma once

#include <QString>

namespace orvane::records {

// The identity a carte Vitale reader leaves on the clipboard, read at fixed places.
struct CarteVitaleIdentity
{
    QString nom;
    QString prenom;
    QString jour;
    QString mois;
    QString annee;
};

// Whether the reader's text is there: its first line holds "Nom".
bool looksLikeCarteVitale(const QString &text);

// Line 1 from its 8th character, line 2 from its 11th, line 5: characters 14-15, 17-18, 20-23.
// Short lines give empty parts; CR, LF and CR LF all end a line.
CarteVitaleIdentity readCarteVitale(const QString &text);

} // namespace orvane::records
