#pragma once

#include "prescribing/printsettings.h"

namespace orvane::test {

// A practice whose every letterhead line differs from the texts the letterhead was laid out for.
inline prescribing::PrintSettings samplePrintSettings(int espacement, int intervalle)
{
    prescribing::PrintSettings settings;
    settings.identifiant = QStringLiteral("Docteur Anne DURAND");
    settings.diplome = QStringLiteral("Ancienne Interne des Hôpitaux de Lyon");
    settings.securite = QStringLiteral("RPPS 10009876543");
    settings.ville = QStringLiteral("69003 LYON");
    settings.residence = QStringLiteral("4, place Bellecour");
    settings.telephone = QStringLiteral("Tél. : 04 78 00 00 00");
    settings.espacement = espacement;
    settings.intervalle = intervalle;
    return settings;
}

} // namespace orvane::test
