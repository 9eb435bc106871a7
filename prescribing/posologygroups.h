#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace orvane::prescribing {

// One row of choices of the posology builder: the group's control name, its caption and its items.
struct PosologyGroup
{
    QString objectName;
    QString caption;
    QStringList items;
};

namespace posology {
const PosologyGroup &quantity();
const PosologyGroup &dose();
const PosologyGroup &timeOfDay();
const PosologyGroup &period();
const PosologyGroup &renewal();
const PosologyGroup &doNotRenew();
const PosologyGroup &usualPosology();
} // namespace posology

// The seven groups in the order of the tab.
QList<PosologyGroup> posologyGroups();

} // namespace orvane::prescribing
