#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace orvane::records {

enum class FieldType { Text, Number, Short, Date, Memo, FormattedMemo };

struct FieldDef
{
    QString name;
    FieldType type = FieldType::Text;
    int size = 0; // characters for texts, in-record size for memos
    bool required = false;
    QString mask; // edit mask in the program's own notation, see editmask.h
    int displayWidth = 0; // grid column width in characters; 0: the field's size

    bool isTextual() const
    {
        return type == FieldType::Text || type == FieldType::Memo || type == FieldType::FormattedMemo;
    }
    bool ordersAsNumber() const { return type == FieldType::Number || type == FieldType::Short; }
};

// An index the searches across the practice read a table by, beside those of its orderings. A field
// with a sort-key column is indexed by that column, as the searches join on it.
struct LookupDef
{
    QString name;
    QStringList fields;
    QString inCapitals; // a text field indexed as upper(field), the letter case of its comparisons ignored
};

struct TableDef
{
    QString name; // the spelling of the main window, also the name of the SQL table
    QList<FieldDef> fields;
    // Orderings the program sets, fields separated by ";"; the first is the ordering at open.
    // Each one has an index of its own.
    QStringList orderings;
    // One row per patient at most, linked to the patient table through "N°Dossier".
    bool perPatient = false;
    // Any number of rows per patient, linked to the patient table through "N°Dossier".
    bool patientHistory = false;
    // Added by a later release: a base of an earlier one lacks it until its first open creates it,
    // and is whole without it.
    bool addedLater = false;
    // A base made before a lookup was declared gains it at its first open by this version.
    QList<LookupDef> lookups = {};

    int fieldIndex(const QString &fieldName) const; // letter case ignored; -1 when unknown
    const FieldDef &field(const QString &fieldName) const; // throws when unknown
    // The fields of an ordering, spelled as in the schema; throws when the ordering is not one of the table's.
    QStringList orderingFields(const QString &ordering) const;
    QString defaultOrdering() const { return orderings.value(0); }
    // The fields of every ordering, once each: each has a hidden sort-key column.
    QStringList keyedFields() const;
};

namespace tables {
inline const QString patients = QStringLiteral("donnees.db");
inline const QString counter = QStringLiteral("NUMERO.DB");
inline const QString history = QStringLiteral("ANTE.DB");
inline const QString consultations = QStringLiteral("CONSULT.DB");
inline const QString treatments = QStringLiteral("TTT.DB");
inline const QString measures = QStringLiteral("stat.DB");
inline const QString insurance = QStringLiteral("am.db");
inline const QString archive = QStringLiteral("ARCH.DB");
inline const QString drugs = QStringLiteral("Orvane.DB");
inline const QString historyWords = QStringLiteral("MOTSMED.DB");
inline const QString reasons = QStringLiteral("MOTIF.DB");
inline const QString examinations = QStringLiteral("Examen.DB");
inline const QString results = QStringLiteral("RESULTATS.DB");
} // namespace tables

inline const QString recordNumberField = QStringLiteral("N°Dossier");

// The tables of the database: the twelve of the first release, then those added since.
const QList<TableDef> &schema();
// A table by any of its spellings; throws when there is no such table.
const TableDef &tableDef(const QString &tableName);

// The key under which a text orders: letter case and accents do not count ("émile" = "EMILE").
QString sortKey(const QString &text);

} // namespace orvane::records
