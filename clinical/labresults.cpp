#include "clinical/labresults.h"

#include "clinical/datecheck.h"
#include "clinical/textlines.h"
#include "clinical/valuelist.h"
#include "records/table.h"

namespace orvane::clinical {

namespace {

const QString resultsField = QStringLiteral("Bilans");

} // namespace

const QList<LabField> &labFields()
{
    static const QList<LabField> fields{
        {QStringLiteral("GR"), QStringLiteral("GR (X1 000 000)"), QStringLiteral("GR"), QStringLiteral("GR:"),
         QStringLiteral(" M/mm3")},
        {QStringLiteral("GB"), QStringLiteral("GB"), QStringLiteral("GB"), QStringLiteral("GB:"), QStringLiteral(" /mm3")},
        {QStringLiteral("HB"), QStringLiteral("Hb (g/l)"), QStringLiteral("Hb"), QStringLiteral("HB:"),
         QStringLiteral(" g/l")},
        {QStringLiteral("HBA1C"), QStringLiteral("HbA1c (%)"), QStringLiteral("HbA1c"), QStringLiteral("HBA1c:"),
         QStringLiteral(" %")},
        {QStringLiteral("VS"), QStringLiteral("VS"), QStringLiteral("VS"), QStringLiteral("Vs:"), QStringLiteral(" à 1 h")},
        {QStringLiteral("TP"), QStringLiteral("TP"), QStringLiteral("TP"), QStringLiteral("TP:"), QString()},
        {QStringLiteral("GLYC"), QStringLiteral("Glyc. (g/l)"), QStringLiteral("Glycémies"), QStringLiteral("Glyc.:"),
         QStringLiteral(" g/l")},
        {QStringLiteral("CHOL"), QStringLiteral("Chol.(g/l)"), QStringLiteral("Chol"), QStringLiteral("Chol:"),
         QStringLiteral(" g/l")},
    };
    return fields;
}

void appendLabResults(QString &results, const LabEntry &entry, const QString &dateText)
{
    appendDateBlock(results, dateText);
    const QList<LabField> &fields = labFields();
    for (int i = 0; i < fields.size(); ++i) {
        const QString value = entry.typed.value(i);
        if (!value.isEmpty())
            appendLine(results, fields.at(i).resultLine(value));
    }
}

void validateLabResults(records::Table &history, records::Table &measures, const LabEntry &entry,
                        const QString &dateText)
{
    history.edit();
    QString results = history.text(resultsField);
    appendLabResults(results, entry, dateText);
    history.setText(resultsField, results);
    measures.edit();
    const QList<LabField> &fields = labFields();
    for (int i = 0; i < fields.size(); ++i) {
        const QString value = entry.typed.value(i);
        if (!value.isEmpty())
            appendValueEntry(measures, fields.at(i).valueList, dateText, value);
    }
    if (!entry.clearance.isEmpty())
        measures.setText(clearanceField, entry.clearance);
    measures.post();
    history.post();
}

} // namespace orvane::clinical
