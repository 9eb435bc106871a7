#include "clinical/clearance.h"

#include "clinical/labreport.h"

#include <algorithm>
#include <cmath>

namespace orvane::clinical {

double cockcroftGault(int age, double weightKg, double creatinineUmol, bool male)
{
    return (140 - age) * weightKg * (male ? 1.23 : 1.04) / creatinineUmol;
}

double ckdEpi2021(int age, double creatinineUmol, bool male)
{
    const double kappa = male ? 0.9 : 0.7;
    const double alpha = male ? -0.302 : -0.241;
    const double ratio = creatinineUmol / 88.4 / kappa;
    return 142 * std::pow(std::min(ratio, 1.0), alpha) * std::pow(std::max(ratio, 1.0), -1.200)
        * std::pow(0.9938, age) * (male ? 1.0 : 1.012);
}

std::optional<bool> isMale(const QString &sex)
{
    if (sex.startsWith(QLatin1String("Masc"), Qt::CaseInsensitive))
        return true;
    if (sex.startsWith(QLatin1String("Fem"), Qt::CaseInsensitive) || sex.startsWith(QStringLiteral("Fém"), Qt::CaseInsensitive))
        return false;
    return std::nullopt;
}

ClearanceNotice clearanceNotice(const QString &value, const std::optional<QDate> &day, const QDate &today)
{
    const QString shown = value.trimmed();
    if (shown.isEmpty())
        return {QStringLiteral("Clearance non connue"), false};
    QString text = QStringLiteral("Clearance : ") + shown + (labNumber(shown) ? QStringLiteral(" ml/min") : QString());
    if (!day)
        return {text + QStringLiteral(" (non datée)"), false};
    text += QStringLiteral(" du ") + day->toString(QStringLiteral("dd/MM/yyyy"));
    const bool old = *day < today.addYears(-1);
    if (old)
        text += QStringLiteral(" : plus d'un an");
    return {text, old};
}

} // namespace orvane::clinical
