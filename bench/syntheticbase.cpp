#include "bench/syntheticbase.h"

#include "records/database.h"
#include "records/table.h"

#include <QRandomGenerator>
#include <QStringList>

namespace orvane::bench {

namespace {

const QStringList surnames = {
    "MARTIN", "BERNARD", "THOMAS", "PETIT", "ROBERT", "RICHARD", "DURAND", "DUBOIS", "MOREAU", "LAURENT",
    "SIMON", "MICHEL", "LEFÈVRE", "LEROY", "ROUX", "DAVID", "BERTRAND", "MOREL", "FOURNIER", "GIRARD",
    "BONNET", "DUPONT", "LAMBERT", "FONTAINE", "ROUSSEAU", "VINCENT", "MÜLLER", "LEFEBVRE", "FAURE", "ANDRÉ",
    "MERCIER", "BLANC", "GUÉRIN", "BOYER", "GARNIER", "CHEVALIER", "FRANÇOIS", "LEGRAND", "GAUTHIER", "GARCIA",
    "PERRIN", "ROBIN", "CLÉMENT", "MORIN", "NICOLAS", "HENRY", "ROUSSEL", "MATHIEU", "GAUTIER", "MASSON",
    "MARCHAND", "DUVAL", "DENIS", "DUMONT", "MARIE", "LEMAIRE", "NOËL", "MEYER", "DUFOUR", "MEUNIER",
    "BRUN", "BLANCHARD", "GIRAUD", "JOLY", "RIVIÈRE", "LUCAS", "BRUNET", "GAILLARD", "BARBIER", "ARNAUD",
    "MARTINEZ", "GÉRARD", "ROCHE", "RENARD", "SCHMITT", "ROY", "LEROUX", "COLIN", "VIDAL", "CARON",
    "PICARD", "ROGER", "FABRE", "AUBERT", "LEMOINE", "RENAUD", "DUMAS", "LACROIX", "OLIVIER", "PHILIPPE",
    "BOURGEOIS", "PIERRE", "BENOÎT", "REY", "LECLERC", "PAYET", "ROLLAND", "LECLERCQ", "GUILLAUME", "LECOMTE"};
const QStringList forenames = {
    "Marie", "Jean", "Pierre", "Michel", "André", "Philippe", "René", "Louis", "Alain", "Jacques",
    "Bernard", "Marcel", "Daniel", "Roger", "Robert", "Paul", "Claude", "Christian", "Henri", "Georges",
    "Nathalie", "Isabelle", "Sylvie", "Catherine", "Françoise", "Hélène", "Élodie", "Chloé", "Léa", "Zoé",
    "Jérôme", "Stéphane", "Frédéric", "Grégoire", "Benoît", "Noémie", "Anaïs", "Maëlle", "Gaëlle", "Loïc"};

} // namespace

QString randomSurname(QRandomGenerator &random)
{
    return surnames.at(random.bounded(int(surnames.size())));
}

QString randomForename(QRandomGenerator &random)
{
    return forenames.at(random.bounded(int(forenames.size())));
}

QString longNotes(QRandomGenerator &random)
{
    QString notes;
    for (int day = 0; day < 400; ++day) {
        notes += QStringLiteral("\r\n%1/%2/20%3\r\n\r\n").arg(1 + day % 28, 2, 10, QLatin1Char('0')).arg(1 + day % 12, 2, 10, QLatin1Char('0')).arg(10 + day / 365);
        notes += QStringLiteral("Motif: toux fébrile depuis %1 jours, examen pulmonaire normal, TA 13/8, poids %2 kg\r\n")
                     .arg(random.bounded(1, 10))
                     .arg(random.bounded(50, 110));
    }
    return notes;
}

void makeSyntheticBase(records::Database &db, int patients)
{
    using records::Table;
    namespace tables = records::tables;
    QRandomGenerator random(20061);
    Table patientTable(db, tables::patients);
    // The clinical tables' rows hold the record number and one field.
    const QList<QPair<QString, QString>> clinical = {{tables::consultations, QStringLiteral("Consultation")},
                                                     {tables::history, QStringLiteral("Antécédents médicaux")},
                                                     {tables::treatments, QStringLiteral("Traitement général")},
                                                     {tables::measures, QStringLiteral("Poids")}};
    const records::TableDef &patientDef = records::tableDef(tables::patients);
    const int batch = 20000;
    for (int first = 1; first <= patients; first += batch) {
        QList<QVariantList> patientRows;
        QList<QList<QVariantList>> clinicalRows(clinical.size());
        for (int number = first; number < std::min(first + batch, patients + 1); ++number) {
            const QString nom = randomSurname(random);
            const QString prenom = randomForename(random);
            QVariantList row(patientDef.fields.size());
            const auto set = [&](const QString &field, const QVariant &value) { row[patientDef.fieldIndex(field)] = value; };
            set(QStringLiteral("NomPrénom"), nom + QLatin1Char(' ') + prenom);
            set(QStringLiteral("Nom"), nom);
            set(QStringLiteral("Prénom"), prenom);
            set(records::recordNumberField, number);
            set(QStringLiteral("Jour"), random.bounded(1, 29));
            set(QStringLiteral("Mois"), random.bounded(1, 13));
            set(QStringLiteral("Année"), random.bounded(1920, 2006));
            set(QStringLiteral("Sexe"), random.bounded(2) ? QStringLiteral("Masculin") : QStringLiteral("Feminin"));
            set(QStringLiteral("Adresse"), QStringLiteral("%1 rue des Lilas\r\n75%2 Paris").arg(number % 200).arg(number % 20, 3, 10, QLatin1Char('0')));
            patientRows.append(row);
            if (number % 3 != 0)
                continue;
            const QStringList texts = {number % 100 == 0 ? longNotes(random) : QStringLiteral("\r\n12/03/2006\r\n\r\nAngine, amoxicilline\r\n"),
                                       QStringLiteral("Appendicectomie\r\nHTA"), QStringLiteral("AMLOR 5\r"),
                                       QStringLiteral("12/03/2006\r72\r")};
            for (int table = 0; table < clinical.size(); ++table) {
                const records::TableDef &def = records::tableDef(clinical.at(table).first);
                QVariantList values(def.fields.size());
                values[0] = number;
                values[def.fieldIndex(clinical.at(table).second)] = texts.at(table);
                clinicalRows[table].append(values);
            }
        }
        records::Database::Transaction transaction(db);
        patientTable.appendRows(patientRows);
        for (int table = 0; table < clinical.size(); ++table)
            Table(db, clinical.at(table).first).appendRows(clinicalRows.at(table));
        transaction.commit();
    }
    Table(db, tables::counter).appendRow({patients});
}

} // namespace orvane::bench
