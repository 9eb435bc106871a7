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

// "Masculin" or "Feminin"; nothing when the file does not say.
std::optional<bool> isMale(const QString &sex);

// The clearance as "&Prescriptions" shows it: the value the prescription reads, its day, and a mark
// when that day is more than a year old.
struct ClearanceNotice
{
    QString text;
    bool old = false;
};

// `value` is the field's text; `day` the day of the result that holds it, none when no dated
// result does (a clearance typed before results were kept).
ClearanceNotice clearanceNotice(const QString &value, const std::optional<QDate> &day, const QDate &today);

} // namespace orvane::clinical
