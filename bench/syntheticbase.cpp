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
    QRandomGenerator random(20061);
    Table patientTable(db, records::tables::patients);
    Table consultations(db, records::tables::consultations);
    Table history(db, records::tables::history);
    Table treatments(db, records::tables::treatments);
    Table measures(db, records::tables::measures);
    Table counter(db, records::tables::counter);
    for (Table *table : {&patientTable, &consultations, &history, &treatments, &measures, &counter})
        table->open();
    const int batch = 20000;
    for (int first = 1; first <= patients; first += batch) {
        records::Database::Transaction transaction(db);
        for (int number = first; number < std::min(first + batch, patients + 1); ++number) {
            const QString nom = randomSurname(random);
            const QString prenom = randomForename(random);
            patientTable.insert();
            patientTable.setText(QStringLiteral("Nom"), nom);
            patientTable.setText(QStringLiteral("Prénom"), prenom);
            patientTable.setText(QStringLiteral("NomPrénom"), nom + QLatin1Char(' ') + prenom);
            patientTable.setValue(records::recordNumberField, number);
            patientTable.setValue(QStringLiteral("Jour"), random.bounded(1, 29));
            patientTable.setValue(QStringLiteral("Mois"), random.bounded(1, 13));
            patientTable.setValue(QStringLiteral("Année"), random.bounded(1920, 2006));
            patientTable.setText(QStringLiteral("Sexe"), random.bounded(2) ? QStringLiteral("Masculin") : QStringLiteral("Feminin"));
            patientTable.setText(QStringLiteral("Adresse"), QStringLiteral("%1 rue des Lilas\r\n75%2 Paris").arg(number % 200).arg(number % 20, 3, 10, QLatin1Char('0')));
            patientTable.post();
            if (number % 3 != 0)
                continue;
            const QString notes = number % 100 == 0 ? longNotes(random) : QStringLiteral("\r\n12/03/2006\r\n\r\nAngine, amoxicilline\r\n");
            const QList<QPair<Table *, QPair<QString, QString>>> rows = {
                {&consultations, {QStringLiteral("Consultation"), notes}},
                {&history, {QStringLiteral("Antécédents médicaux"), QStringLiteral("Appendicectomie\r\nHTA")}},
                {&treatments, {QStringLiteral("Traitement général"), QStringLiteral("AMLOR 5\r")}},
                {&measures, {QStringLiteral("Poids"), QStringLiteral("12/03/2006\r72\r")}}};
            for (const auto &[table, field] : rows) {
                table->insert();
                table->setValue(records::recordNumberField, number);
                table->setText(field.first, field.second);
                table->post();
            }
        }
        transaction.commit();
    }
    counter.insert();
    counter.setValue(records::recordNumberField, patients);
    counter.post();
}

} // namespace orvane::bench
