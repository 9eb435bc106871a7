#pragma once

#include <QString>
#include <optional>

namespace orvane::records {
class Table;
}

namespace orvane::prescribing {

// The usual posology ("Posologie") of the drug whose "Marque" is exactly the name, letter case and
// accents included; the drug table then stands on that row. Without such a drug nothing is found
// and the table stays where it was: another drug's posology must never reach a prescription.
std::optional<QString> usualPosologyOf(records::Table &drugs, const QString &name);

// Records a prescribed drug in the patient's consultation text ("Consultation" of "CONSULT.DB") and
// general treatment text ("Traitement général" of "TTT.DB"); a patient without a row gets one. Notes
// without a line of today's date first get today's date block, without asking: a drug given today
// must never stand under an earlier consultation's date.
void logPrescribedDrug(records::Table &consultations, records::Table &treatments, const QString &drug,
                       const QString &todayText);

} // namespace orvane::prescribing
