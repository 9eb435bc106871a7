#include "prescribing/posologygroups.h"

namespace orvane::prescribing::posology {

const PosologyGroup &quantity()
{
    static const PosologyGroup group{QStringLiteral("quantite"), QStringLiteral("Quantité"),
                                     {QStringLiteral("1 flacon"), QStringLiteral("2 flacons"),
                                      QStringLiteral("qsp 1 mois"), QStringLiteral("qsp 2 mois"),
                                      QStringLiteral("qsp 3 mois"), QStringLiteral("1 tube")}};
    return group;
}

const PosologyGroup &dose()
{
    static const PosologyGroup group{QStringLiteral("nbre"), QStringLiteral("Nombre"),
                                     {QStringLiteral("1 gtte"), QStringLiteral("2 gttes"), QStringLiteral("1 cp"),
                                      QStringLiteral("2 cps"), QStringLiteral("1 sachet"), QStringLiteral("1 appl."),
                                      QStringLiteral("1 amp."), QStringLiteral("2 doses")}};
    return group;
}

const PosologyGroup &timeOfDay()
{
    static const PosologyGroup group{QStringLiteral("horaire"), QStringLiteral("Horaire"),
                                     {QStringLiteral("le matin"), QStringLiteral("le midi"), QStringLiteral("le soir"),
                                      QStringLiteral("matin et soir"), QStringLiteral("matin,midi et soir")}};
    return group;
}

const PosologyGroup &period()
{
    static const PosologyGroup group{
        QStringLiteral("periode"), QStringLiteral("Période"),
        {QStringLiteral("pendant 8 jours"), QStringLiteral("pendant 15 jours"), QStringLiteral("pendant 1 mois"),
         QStringLiteral("pendant 2 mois"), QStringLiteral("pendant 3 mois"), QStringLiteral("en cas de besoin"),
         QStringLiteral("20 jours/mois")}};
    return group;
}

const PosologyGroup &renewal()
{
    static const PosologyGroup group{QStringLiteral("arenouv"), QStringLiteral("A renouveler:"),
                                     {QStringLiteral("1 fois"), QStringLiteral("2 fois"), QStringLiteral("3 fois"),
                                      QStringLiteral("4 fois"), QStringLiteral("5 fois")}};
    return group;
}

const PosologyGroup &doNotRenew()
{
    static const PosologyGroup group{QStringLiteral("nepas"), QString(), {QStringLiteral("ne pas renouveler")}};
    return group;
}

const PosologyGroup &usualPosology()
{
    static const PosologyGroup group{QStringLiteral("radioposo"), QStringLiteral("&Posologie"),
                                     {QStringLiteral("Posologie habituelle")}};
    return group;
}

} // namespace orvane::prescribing::posology

namespace orvane::prescribing {

QList<PosologyGroup> posologyGroups()
{
    using namespace posology;
    return {quantity(), dose(), timeOfDay(), period(), renewal(), doNotRenew(), usualPosology()};
}

} // namespace orvane::prescribing
