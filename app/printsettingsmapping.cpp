#include "app/printsettingsmapping.h"

namespace orvane::app {

prescribing::PrintSettings printSettingsOf(const Settings &settings)
{
    const Letterhead &letterhead = settings.letterhead;
    const PrintMargins &margins = settings.margins;
    prescribing::PrintSettings print;
    print.identifiant = letterhead.identifiant;
    print.diplome = letterhead.diplome;
    print.securite = letterhead.securite;
    print.libre1 = letterhead.libre1;
    print.libre2 = letterhead.libre2;
    print.ville = letterhead.ville;
    print.residence = letterhead.residence;
    print.telephone = letterhead.telephone;
    print.aga = letterhead.aga;
    print.margeGauche = margins.left;
    print.margeDroite = margins.right;
    print.margeBas = margins.bottom;
    print.espacement = margins.horizontalSpacing;
    print.intervalle = margins.lineSpacing;
    return print;
}

Letterhead letterheadOf(const prescribing::PrintSettings &settings)
{
    Letterhead letterhead;
    letterhead.identifiant = settings.identifiant;
    letterhead.diplome = settings.diplome;
    letterhead.securite = settings.securite;
    letterhead.libre1 = settings.libre1;
    letterhead.libre2 = settings.libre2;
    letterhead.ville = settings.ville;
    letterhead.residence = settings.residence;
    letterhead.telephone = settings.telephone;
    letterhead.aga = settings.aga;
    return letterhead;
}

PrintMargins marginsOf(const prescribing::PrintSettings &settings)
{
    PrintMargins margins;
    margins.left = settings.margeGauche;
    margins.right = settings.margeDroite;
    margins.bottom = settings.margeBas;
    margins.horizontalSpacing = settings.espacement;
    margins.lineSpacing = settings.intervalle;
    return margins;
}

} // namespace orvane::app
