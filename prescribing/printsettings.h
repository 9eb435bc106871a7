#pragma once

#include <QString>

namespace orvane::prescribing {

// The settings a printed document is laid out from: the letterhead lines, the association
// membership, the margins in device units and the two spacings in percent of the normal layout.
struct PrintSettings
{
    QString identifiant;
    QString diplome;
    QString securite;
    QString ville;
    QString residence;
    QString telephone;
    QString libre1 = QStringLiteral("Sur Rendez-vous");
    QString libre2 = QStringLiteral("Fermé le Jeudi Après-Midi");
    // 0: member of an approved management association, the statement is printed; any other value: not.
    int aga = 0;
    int margeGauche = 150;
    int margeDroite = 150;
    int margeBas = 50;
    int espacement = 100;
    int intervalle = 100;
};

} // namespace orvane::prescribing
