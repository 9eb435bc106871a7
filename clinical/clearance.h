#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace orvane::clinical {

// The renal function from a creatinine, the patient's age in whole years, weight and sex.
// Cockcroft-Gault, in ml/min.
double cockcroftGault(int age, double weightKg, double creatinineUmol, bool male);
// CKD-EPI 2021, without race, in ml/min/1.73 m².
double ckdEpi2021(int age, double creatinineUmol, bool male);

// Whole years of age on a day, from the birth date as the patient's file holds it (a missing
// day or month counts as the first).
int ageOn(int birthDay, int birthMonth, int birthYear, const QDate &day);

// "Masculin" or "Feminin"; nothing when the file does not say.
std::optional<bool> isMale(const QString &sex);

} // namespace orvane::clinical
