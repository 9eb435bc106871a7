#include "records/schema.h"

#include "platform/error.h"

namespace orvane::records {

namespace {

FieldDef text(const QString &name, int size, bool required = false, const QString &mask = {},
              int width = 0)
{
    return FieldDef{name, FieldType::Text, size, required, mask, width};
}

FieldDef number(const QString &name, bool required = false)
{
    return FieldDef{name, FieldType::Number, 0, required, {}, 0};
}

FieldDef memo(const QString &name, int size)
{
    return FieldDef{name, FieldType::Memo, size, false, {}, 0};
}

FieldDef shortNumber(const QString &name)
{
    return FieldDef{name, FieldType::Short, 0, false, {}, 0};
}

FieldDef formattedMemo(const QString &name, int size)
{
    return FieldDef{name, FieldType::FormattedMemo, size, false, {}, 0};
}

TableDef perPatient(const QString &name, QList<FieldDef> fields)
{
    fields.prepend(number(recordNumberField));
    return TableDef{name, fields, {recordNumberField}, true};
}

QList<TableDef> makeSchema()
{
    QList<TableDef> all;
    all.append(TableDef{
        tables::patients,
        {text(QStringLiteral("NomPrénom"), 101),
         text(QStringLiteral("Nom"), 50, true, QStringLiteral(">ccccccccccccccccccccccc;1; ")),
         text(QStringLiteral("Prénom"), 50, true, QStringLiteral(">c<>ccccccccccccccccccc;1; ")),
         number(recordNumberField, true),
         text(QStringLiteral("Téléphone"), 15, false, QStringLiteral("!00\\-00\\-00\\-00\\-00;1;_")),
         memo(QStringLiteral("Adresse"), 1),
         text(QStringLiteral("Profession"), 50),
         number(QStringLiteral("Jour")),
         number(QStringLiteral("Mois")),
         number(QStringLiteral("Année"), true),
         memo(QStringLiteral("Medecins spécialistes"), 1),
         text(QStringLiteral("Sexe"), 10),
         text(QStringLiteral("SS"), 25, false, QStringLiteral("!0000000000000\\-999;1;_"))},
        {QStringLiteral("NomPrénom;Nom;Prénom;N°Dossier"), QStringLiteral("NomPrénom"), recordNumberField},
        false});
    all.append(TableDef{tables::counter, {number(recordNumberField)}, {}, false});
    all.append(perPatient(tables::history,
                          {memo(QStringLiteral("Antécédents médicaux"), 60), memo(QStringLiteral("Bilans"), 60),
                           memo(QStringLiteral("Antécédents chirugicaux"), 60),
                           memo(QStringLiteral("Allergies médicamenteuses"), 60)}));
    all.append(perPatient(tables::consultations,
                          {text(QStringLiteral("Nomprénom"), 100), memo(QStringLiteral("Consultation"), 240)}));
    all.append(perPatient(tables::treatments, {memo(QStringLiteral("Traitement général"), 60),
                                               memo(QStringLiteral("Vaccinations"), 60)}));
    QList<FieldDef> measures;
    for (const char *name : {"GR", "GB", "Hb", "HbA1c", "VS", "TP", "Chol", "Glycémies", "Taille", "Poids",
                             "Max", "Min"})
        measures.append(memo(QString::fromUtf8(name), 10));
    measures.append(FieldDef{QStringLiteral("Début grossesse"), FieldType::Date, 0, false, {}, 0});
    measures.append(text(QStringLiteral("Clearance"), 10));
    all.append(perPatient(tables::measures, measures));
    all.append(perPatient(tables::insurance, {text(QStringLiteral("Type d'AM"), 10)}));
    all.append(perPatient(tables::archive,
                          {text(QStringLiteral("Nomprénom"), 100), formattedMemo(QStringLiteral("Prescription"), 100),
                           shortNumber(QStringLiteral("Copies")),
                           formattedMemo(QStringLiteral("Consultation"), 100)}));
    all.append(TableDef{tables::drugs,
                        {text(QStringLiteral("Marque"), 50, false, {}, 36),
                         text(QStringLiteral("Posologie"), 50, false, {}, 34), text(QStringLiteral("Classe"), 50)},
                        {QStringLiteral("Marque")},
                        false});
    all.append(TableDef{tables::historyWords, {text(QStringLiteral("Mots"), 50, false, {}, 46)},
                        {QStringLiteral("Mots")}, false});
    all.append(TableDef{tables::reasons, {text(QStringLiteral("Motif"), 60, false, {}, 25)},
                        {QStringLiteral("Motif")}, false});
    all.append(TableDef{tables::examinations, {text(QStringLiteral("Laf"), 60)}, {QStringLiteral("Laf")}, false});
    // Added after the first release: a base made before has it created at its first open.
    all.append(TableDef{tables::results,
                        {number(recordNumberField, true),
                         FieldDef{QStringLiteral("Date examen"), FieldType::Date, 0, false, {}, 0},
                         text(QStringLiteral("Laboratoire"), 60), text(QStringLiteral("Code"), 40),
                         text(QStringLiteral("Libellé"), 80), text(QStringLiteral("Analyte"), 20),
                         memo(QStringLiteral("Résultat"), 20), number(QStringLiteral("Valeur")),
                         text(QStringLiteral("Unité"), 20), text(QStringLiteral("Normale basse"), 20),
                         text(QStringLiteral("Normale haute"), 20), text(QStringLiteral("Indicateur"), 5),
                         text(QStringLiteral("Statut"), 5), text(QStringLiteral("Résultat 2"), 40),
                         text(QStringLiteral("Unité 2"), 20), text(QStringLiteral("Normale basse 2"), 20),
                         text(QStringLiteral("Normale haute 2"), 20), memo(QStringLiteral("Commentaire"), 60),
                         text(QStringLiteral("Fichier"), 255), shortNumber(QStringLiteral("Vu")),
                         shortNumber(QStringLiteral("Remplacé")), text(QStringLiteral("LOINC"), 20),
                         // Why the value went into no value list although its analyte has one.
                         text(QStringLiteral("Alerte"), 120)},
                        {recordNumberField},
                        false,
                        true,
                        true,
                        // A laboratory value: of an analyte, each patient's results by date, their value
                        // and whether the laboratory replaced them, read without the rows.
                        {LookupDef{QStringLiteral("RESULTATS.DB~analyte"),
                                   {QStringLiteral("Analyte"), recordNumberField, QStringLiteral("Date examen"),
                                    QStringLiteral("Remplacé"), QStringLiteral("Valeur")},
                                   QStringLiteral("Analyte")}}});
    return all;
}

} // namespace

int TableDef::fieldIndex(const QString &fieldName) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields.at(i).name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const FieldDef &TableDef::field(const QString &fieldName) const
{
    const int index = fieldIndex(fieldName);
    if (index < 0)
        throw Error(QStringLiteral("%1: champ '%2' non trouvé").arg(name, fieldName));
    return fields.at(index);
}

QStringList TableDef::orderingFields(const QString &ordering) const
{
    for (const QString &candidate : orderings) {
        if (candidate.compare(ordering, Qt::CaseInsensitive) == 0)
            return candidate.split(QLatin1Char(';'));
    }
    throw Error(QStringLiteral("%1: index '%2' non trouvé").arg(name, ordering));
}

QStringList TableDef::keyedFields() const
{
    QStringList keyed;
    for (const QString &ordering : orderings) {
        for (const QString &name : ordering.split(QLatin1Char(';'))) {
            if (!keyed.contains(name))
                keyed.append(name);
        }
    }
    return keyed;
}

const QList<TableDef> &schema()
{
    static const QList<TableDef> all = makeSchema();
    return all;
}

const TableDef &tableDef(const QString &tableName)
{
    for (const TableDef &table : schema()) {
        if (table.name.compare(tableName, Qt::CaseInsensitive) == 0)
            return table;
    }
    throw Error(QStringLiteral("Table '%1' non trouvée").arg(tableName));
}

QString sortKey(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c == QChar(0x0153) || c == QChar(0x0152))
            key += QLatin1String("OE");
        else if (c == QChar(0x00E6) || c == QChar(0x00C6))
            key += QLatin1String("AE");
        else if (c == QChar(0x00DF))
            key += QLatin1String("SS");
        else
            key += c.toUpper();
    }
    return key;
}

} // namespace orvane::records
