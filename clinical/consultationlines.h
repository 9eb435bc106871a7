#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvane::records {
class Table;
}

namespace orvane::clinical {

// The one-click sentences of the consultation notes.
QString normalExaminationLine(); // "Examen Normal"
QString sameExaminationLine(); // "Examen Idem"
QString appointmentLine(const QString &interval); // "A revoir dans:15 jours"

// The intervals offered for the next appointment, in their order on the tab.
const QStringList &appointmentIntervals();

// A measure typed on the consultation tab: its line in the notes and the entries of the value
// lists it feeds ("Poids", "Taille", "Max" and "Min" of the measures table), taken as typed.
struct MeasureEntry
{
    struct Value
    {
        QString list;
        QString value;
    };
    QString notesLine;
    QList<Value> values;
};

// No entry when a value it needs is empty: the caller then writes nothing.
std::optional<MeasureEntry> weightEntry(const QString &weight);
std::optional<MeasureEntry> heightEntry(const QString &height);
std::optional<MeasureEntry> bloodPressureEntry(const QString &systolic, const QString &diastolic);

// Adds the entry's dated values to the value lists of the measures row and stores the row once.
void addToValueLists(records::Table &measures, const QList<MeasureEntry::Value> &values, const QString &dateText);

} // namespace orvane::clinical
