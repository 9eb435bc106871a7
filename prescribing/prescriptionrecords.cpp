#include "prescribing/prescriptionrecords.h"

#include "clinical/datecheck.h"
#include "prescribing/prescriptiontext.h"
#include "records/table.h"

namespace orvane::prescribing {

namespace {

const QString brandField = QStringLiteral("Marque");

void appendToLog(records::Table &table, const QString &field, const QString &drug, const QString &dateText = {})
{
    table.edit();
    QString text = table.text(field);
    if (!dateText.isEmpty())
        clinical::addDateBlockIfMissing(text, dateText);
    table.setText(field, withDrugLogged(text, drug));
    table.post();
}

} // namespace

std::optional<QString> usualPosologyOf(records::Table &drugs, const QString &name)
{
    if (name.isEmpty())
        return std::nullopt;
    const qint64 before = drugs.rowId();
    if (drugs.ordering().compare(brandField, Qt::CaseInsensitive) != 0)
        drugs.setOrdering(brandField);
    // The index ignores letter case and accents: walk the rows sharing the key to the exact spelling.
    if (drugs.findKey({name})) {
        const QString key = records::sortKey(name);
        while (!drugs.atEnd() && records::sortKey(drugs.text(brandField)) == key) {
            if (drugs.text(brandField) == name)
                return drugs.text(QStringLiteral("Posologie"));
            drugs.next();
        }
    }
    if (before != 0)
        drugs.gotoRowId(before);
    return std::nullopt;
}

void logPrescribedDrug(records::Table &consultations, records::Table &treatments, const QString &drug,
                       const QString &todayText)
{
    appendToLog(consultations, QStringLiteral("Consultation"), drug, todayText);
    appendToLog(treatments, QStringLiteral("Traitement général"), drug);
}

} // namespace orvane::prescribing
