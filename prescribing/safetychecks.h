#pragma once

#include <QString>
#include <QStringList>

namespace orvane::prescribing {

inline const QString interactionWarning =
    QStringLiteral("Attention!!! Interaction médicamenteuse !!!Voulez-vous continuer?");

// Whether the classes picked so far hold one drug of class "A" and one of class "B"; a class counts
// only as a whole value, letter case ignored ("a" is "A", "AB" is neither).
bool classesInteract(const QStringList &classes);

// The name of a drug without its strength and form: the words of its "Marque" before the first word
// holding a digit ("AMOXICILLINE 1 g" gives "AMOXICILLINE"); the whole "Marque" when it starts with one.
QString drugNameOf(const QString &brand);

// Whether the drug's name (drugNameOf) stands as whole words in a line of one of the patient's texts
// (past illnesses, drug allergies), letter case and accents ignored. Each line is taken whole, however
// wide the memo showing it is, so a name never escapes the check by being wrapped across two screen
// lines. An empty name never matches.
bool contraIndicated(const QString &drug, const QStringList &patientTexts);

// The message shown for a contra-indicated drug.
QString contraIndicationMessage(const QString &drug);

} // namespace orvane::prescribing
