#include "records/table.h"

#include "platform/error.h"
#include "records/fieldvalues.h"
#include "records/sqldialect.h"

// The refusal to store over what another running copy stored in a field since this one read it.

namespace orvane::records {

// Leaves the row pending with what was typed, now checked against what the other copy stored, and
// tells what that copy stored so the physician can take it into his text before storing again.
void Table::refuseOverwrite(const Row &stored)
{
    const TableDef &def = definition();
    // A new row was read as empty.
    const std::optional<Row> readRow = m_state == State::Insert ? std::nullopt : m_before;
    auto readValue = [&](int index) { return readRow ? readRow->values.at(index) : nullOf(def.fields.at(index).type); };
    const QList<int> changed = changedFields();
    int field = changed.value(0, 0);
    for (const int index : changed) {
        if (stored.values.at(index) != readValue(index) || stored.values.at(index).isNull() != readValue(index).isNull()) {
            field = index;
            break;
        }
    }
    const QString read = readValue(field).toString();
    QString theirs = stored.values.at(field).toString();
    if (!read.isEmpty() && theirs.startsWith(read))
        theirs = QStringLiteral("… ") + theirs.mid(read.size());
    constexpr int shownAtMost = 1500;
    if (theirs.size() > shownAtMost)
        theirs = theirs.left(shownAtMost) + QStringLiteral(" …");
    if (m_state == State::Insert) {
        m_state = State::Edit;
        m_row->id = stored.id;
        emit stateChanged();
    }
    m_before = stored;
    throw Error(QStringLiteral("Le dossier de %1 a été modifié sur un autre poste depuis que ce poste l'a lu : "
                               "« %2 » n'a pas été enregistré ici, pour ne pas effacer ce que l'autre poste y a mis.\n\n"
                               "L'autre poste a enregistré :\n%3\n\n"
                               "Votre texte reste à l'écran : reprenez-y ce qui manque, puis enregistrez de nouveau.")
                    .arg(patientName(), def.fields.at(field).name, theirs.trimmed()));
}

QString Table::patientName() const
{
    const Table &patientRow = m_master ? *m_master : *this;
    const int name = patientRow.definition().fieldIndex(QStringLiteral("NomPrénom"));
    if (patientRow.m_row && name >= 0) {
        const QString shown = patientRow.m_row->values.at(name).toString().trimmed();
        if (!shown.isEmpty())
            return shown;
    }
    if (m_row && definition().fieldIndex(recordNumberField) >= 0)
        return QStringLiteral("N° %1").arg(text(recordNumberField));
    return definition().name;
}

void Table::refuseIfStored(const Row &row)
{
    const TableDef &def = definition();
    if (!def.perPatient)
        return;
    const int link = def.fieldIndex(recordNumberField);
    const QList<Row> stored = runSelect(SqlDialect::quote(recordNumberField) + QStringLiteral(" = ?"),
                                        {boundValue(fieldAt(link), row.values.at(link))}, Direction::Forward, 1);
    if (!stored.isEmpty())
        refuseOverwrite(stored.first());
}

} // namespace orvane::records
