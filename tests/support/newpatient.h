#pragma once

#include "records/currentpatient.h"

namespace orvane::test {

// Creates and validates a patient file as the window's "Nouveau" and "Valider" do; the patient
// table then stands on it.
inline void addPatient(records::CurrentPatient &patient, const QString &nom, const QString &prenom)
{
    patient.beginNewFile();
    patient.patients().setText(QStringLiteral("Nom"), nom);
    patient.patients().setText(QStringLiteral("Prénom"), prenom);
    patient.patients().setValue(QStringLiteral("Année"), 1950);
    patient.composeName();
    patient.validate();
}

} // namespace orvane::test
