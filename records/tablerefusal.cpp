#include "records/table.h"

#include "platform/error.h"
#include "records/fieldvalues.h"
#include "records/othercopytext.h"
#include "records/sqldialect.h"

#include <QDateTime>
#include <algorithm>

// The refusal to store over what another running copy stored in a field since this one read it.
// The refusal is no permission: what the other copy stored goes into what the next store writes
// (a text is kept before this copy's), or that store is refused again until the physician chose.

namespace orvane::records {

namespace {

bool differs(const QVariant &one, const QVariant &other)
{
    return one.isNull() != other.isNull() || one != other;
}

bool holdsLines(FieldType type)
{
    return type == FieldType::Memo || type == FieldType::FormattedMemo;
}

} // namespace

// Leaves the row pending, now checked against what the other copy stored: a text holds the other
// copy's with this copy's after it, any other value stays this copy's until the physician types
// the one to keep. Every field shows what is stored or will be, and the refusal says what happened.
void Table::refuseOverwrite(const Row &stored)
{
    const TableDef &def = definition();
    // A new row was read as empty.
    const std::optional<Row> readRow = m_state == State::Insert ? std::nullopt : m_before;
    auto readValue = [&](int index) { return readRow ? readRow->values.at(index) : nullOf(def.fields.at(index).type); };
    const QList<int> changed = changedFields();
    QList<int> conflicting;
    for (const int index : changed) {
        const QVariant &theirs = stored.values.at(index);
        if (differs(theirs, readValue(index)) && differs(theirs, m_row->values.at(index)))
            conflicting.append(index);
    }
    const int field = conflicting.value(0, changed.value(0, 0));
    const QString read = readValue(field).toString();
    QString theirs = stored.values.at(field).toString();
    if (!read.isEmpty() && theirs.startsWith(read))
        theirs = QStringLiteral("… ") + theirs.mid(read.size());
    constexpr int shownAtMost = 1500;
    if (theirs.size() > shownAtMost)
        theirs = theirs.left(shownAtMost) + QStringLiteral(" …");

    const QDateTime now = QDateTime::currentDateTime();
    QList<int> shownAgain;
    for (int index = 0; index < def.fields.size(); ++index) {
        QVariant &pending = m_row->values[index];
        if (conflicting.contains(index) && holdsLines(def.fields.at(index).type)) {
            pending = storedValue(fieldAt(index), keptWithOtherCopyText(readValue(index).toString(),
                                                                        stored.values.at(index).toString(),
                                                                        pending.toString(), now));
            shownAgain.append(index);
        } else if (conflicting.contains(index)) {
            m_awaitingChoice.insert(index);
        } else if (!changed.contains(index) && differs(pending, stored.values.at(index))) {
            pending = stored.values.at(index);
            shownAgain.append(index);
        }
    }
    if (m_state == State::Insert) {
        m_state = State::Edit;
        m_row->id = stored.id;
        emit stateChanged();
    }
    m_before = stored;
    for (const int index : std::as_const(shownAgain))
        emit fieldChanged(index);
    QString next = QStringLiteral("Votre saisie reste à l'écran : enregistrez de nouveau.");
    if (m_awaitingChoice.contains(field))
        next = QStringLiteral("Votre saisie reste à l'écran : tapez dans « %1 » la valeur à garder, puis enregistrez de nouveau.")
                   .arg(def.fields.at(field).name);
    else if (conflicting.contains(field))
        next = QStringLiteral("Les deux textes sont maintenant à l'écran : celui de l'autre poste, puis le vôtre sous la ligne "
                              "« ---- Ajouté sur ce poste … ---- ». Gardez ce qui doit l'être, puis enregistrez de nouveau.");
    throw Error(QStringLiteral("Le dossier de %1 a été modifié sur un autre poste depuis que ce poste l'a lu : "
                               "« %2 » n'a pas été enregistré ici, pour ne pas effacer ce que l'autre poste y a mis.\n\n"
                               "L'autre poste a enregistré :\n%3\n\n%4")
                    .arg(patientName(), def.fields.at(field).name, theirs.trimmed(), next));
}

void Table::refuseUntilChosen() const
{
    if (m_awaitingChoice.isEmpty())
        return;
    const int index = *std::min_element(m_awaitingChoice.cbegin(), m_awaitingChoice.cend());
    const FieldDef &field = fieldAt(index);
    throw Error(QStringLiteral("Le dossier de %1 a été modifié sur un autre poste : « %2 » y vaut maintenant « %3 ». "
                               "Tapez dans « %2 » la valeur à garder, puis enregistrez de nouveau.")
                    .arg(patientName(), field.name, fieldText(field, m_before->values.at(index))));
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
