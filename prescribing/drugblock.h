#pragma once

#include <QString>
#include <QStringList>

namespace orvane::prescribing {

// The items chosen in the posology groups for one drug; an empty text where a group has no choice.
struct PosologyChoice
{
    QString quantity;
    QString dose;
    QString timeOfDay;
    QString period;
    QString renewal;
    QString doNotRenew;
};

// The five lines a validated drug adds to the prescription. A fetched usual posology takes the place
// of the dose and time of day. Blanks stand between the parts even when a part is empty, so that every
// block has the same shape whatever was chosen.
QStringList drugBlock(const QString &drug, const PosologyChoice &choice, const QString &usualPosology);

// "Ordonnance à renouveler: " and the renewal item, or the empty text without a renewal.
QString renewalStatement(const QString &renewal);

} // namespace orvane::prescribing
