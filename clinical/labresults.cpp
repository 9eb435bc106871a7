#include "clinical/labresults.h"

#include "clinical/clearancerecord.h"
#include "clinical/datecheck.h"
#include "clinical/valuelist.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/textlines.h"
#include "records/database.h"
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

void validateLabResults(records::Table &history, records::Table &measures, const LabEntry &entry, const QDate &day)
{
    const QString dateText = shortDateText(day);
    const QList<LabField> &fields = labFields();
    // What the validation changes, as it was: a refused store puts it back, so the rows stay
    // pending with the person's own edits and pressing "Valider" again writes each value once.
    QStringList measuresBefore;
    for (const LabField &field : fields)
        measuresBefore.append(measures.text(field.valueList));
    measuresBefore.append(measures.text(clearanceField));
    const QString resultsBefore = history.text(resultsField);
    try {
        // Both rows or neither: a refused history row takes the stored measures back with it.
        records::Database::Transaction transaction(history.database());
        history.edit();
        QString results = resultsBefore;
        appendLabResults(results, entry, dateText);
        history.setText(resultsField, results);
        measures.edit();
        for (int i = 0; i < fields.size(); ++i) {
            const QString value = entry.typed.value(i);
            if (!value.isEmpty())
                appendValueEntry(measures, fields.at(i).valueList, dateText, value);
        }
        if (!entry.clearance.isEmpty()) {
            measures.setText(clearanceField, entry.clearance);
            ClearanceRecord(measures.database()).fileTyped(measures.number(records::recordNumberField), entry.clearance, day);
        }
        measures.post();
        history.post();
        transaction.commit();
    } catch (const Error &) {
        if (history.isEditing())
            history.setText(resultsField, resultsBefore);
        if (measures.isEditing()) {
            for (int i = 0; i < fields.size(); ++i)
                measures.setText(fields.at(i).valueList, measuresBefore.at(i));
            measures.setText(clearanceField, measuresBefore.last());
        }
        throw;
    }
}

} // namespace orvane::clinical
