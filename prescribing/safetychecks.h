#pragma once

#include <QString>
#include <QStringList>

namespace orvane::prescribing {

inline const QString interactionWarning =
    QStringLiteral("Attention!!! Interaction médicamenteuse !!!Voulez-vous continuer?");

// Whether the classes picked so far hold one drug of class "A" and one of class "B"; a class counts
// only as a whole value, letter case ignored ("a" is "A", "AB" is neither).
bool classesInteract(const QStringList &classes);

// Whether the drug's name occurs, exactly and letter case included, in a line of the past illnesses.
// Each line is taken whole, however wide the memo showing it is, so a name never escapes the check
// by being wrapped across two screen lines. An empty name never matches.
bool contraIndicated(const QString &drug, const QString &pastIllnesses);

// The message shown for a contra-indicated drug.
QString contraIndicationMessage(const QString &drug);

} // namespace orvane::prescribing
