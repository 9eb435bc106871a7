#include "app/printsettingsmapping.h"

#include <utility>

namespace orvane::app {

namespace {

using prescribing::PrintSettings;

const std::pair<QString Letterhead::*, QString PrintSettings::*> letterheadLines[] = {
    {&Letterhead::identifiant, &PrintSettings::identifiant}, {&Letterhead::diplome, &PrintSettings::diplome},
    {&Letterhead::securite, &PrintSettings::securite},       {&Letterhead::libre1, &PrintSettings::libre1},
    {&Letterhead::libre2, &PrintSettings::libre2},           {&Letterhead::ville, &PrintSettings::ville},
    {&Letterhead::residence, &PrintSettings::residence},     {&Letterhead::telephone, &PrintSettings::telephone},
};

const std::pair<int PrintMargins::*, int PrintSettings::*> marginValues[] = {
    {&PrintMargins::left, &PrintSettings::margeGauche},
    {&PrintMargins::right, &PrintSettings::margeDroite},
    {&PrintMargins::bottom, &PrintSettings::margeBas},
    {&PrintMargins::horizontalSpacing, &PrintSettings::espacement},
    {&PrintMargins::lineSpacing, &PrintSettings::intervalle},
};

} // namespace

PrintSettings printSettingsOf(const Settings &settings)
{
    PrintSettings print;
    for (const auto &[own, printed] : letterheadLines)
        print.*printed = settings.letterhead.*own;
    print.aga = settings.letterhead.aga;
    for (const auto &[own, printed] : marginValues)
        print.*printed = settings.margins.*own;
    return print;
}

Letterhead letterheadOf(const PrintSettings &settings)
{
    Letterhead letterhead;
    for (const auto &[own, printed] : letterheadLines)
        letterhead.*own = settings.*printed;
    letterhead.aga = settings.aga;
    return letterhead;
}

PrintMargins marginsOf(const PrintSettings &settings)
{
    PrintMargins margins;
    for (const auto &[own, printed] : marginValues)
        margins.*own = settings.*printed;
    return margins;
}

} // namespace orvane::app
