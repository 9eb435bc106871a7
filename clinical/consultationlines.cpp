#include "clinical/consultationlines.h"

#include "clinical/valuelist.h"
#include "records/table.h"

namespace orvane::clinical {

QString normalExaminationLine()
{
    return QStringLiteral("Examen Normal");
}

QString sameExaminationLine()
{
    return QStringLiteral("Examen Idem");
}

QString appointmentLine(const QString &interval)
{
    return QStringLiteral("A revoir dans:") + interval;
}

const QStringList &appointmentIntervals()
{
    static const QStringList intervals{
        QStringLiteral("8 jours"), QStringLiteral("15 jours"), QStringLiteral("1 mois"), QStringLiteral("2 mois"),
        QStringLiteral("3 mois"),  QStringLiteral("6 mois"),   QStringLiteral("1 an")};
    return intervals;
}

std::optional<MeasureEntry> weightEntry(const QString &weight)
{
    if (weight.isEmpty())
        return std::nullopt;
    return MeasureEntry{QStringLiteral("Poids= ") + weight + QStringLiteral(" Kg"), {{QStringLiteral("Poids"), weight}}};
}

std::optional<MeasureEntry> heightEntry(const QString &height)
{
    if (height.isEmpty())
        return std::nullopt;
    return MeasureEntry{QStringLiteral("Taille= ") + height + QStringLiteral(" cm"),
                        {{QStringLiteral("Taille"), height}}};
}

std::optional<MeasureEntry> bloodPressureEntry(const QString &systolic, const QString &diastolic)
{
    if (systolic.isEmpty() || diastolic.isEmpty())
        return std::nullopt;
    return MeasureEntry{QStringLiteral("TA=") + systolic + QLatin1Char('/') + diastolic,
                        {{QStringLiteral("Max"), systolic}, {QStringLiteral("Min"), diastolic}}};
}

void addToValueLists(records::Table &measures, const QList<MeasureEntry::Value> &values, const QString &dateText)
{
    measures.edit();
    for (const MeasureEntry::Value &entry : values)
        appendValueEntry(measures, entry.list, dateText, entry.value);
    measures.post();
}

} // namespace orvane::clinical
