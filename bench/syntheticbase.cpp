#include "bench/syntheticbase.h"

#include "records/database.h"
#include "records/practicesearch.h"
#include "records/sqldialect.h"
#include "records/table.h"

#include <QSqlQuery>

#include <QDate>
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

namespace {

// The usual treatments, a withdrawn drug among them for one patient in a hundred or so.
const QStringList treatments = {QStringLiteral("AMLOR 5\r"), QStringLiteral("DOLIPRANE 1000 mg\rKARDEGIC 75 mg\r"),
                                QStringLiteral("LEVOTHYROX 75 µg\r"), QStringLiteral("METFORMINE 850 mg\rAMLOR 5\r"),
                                QStringLiteral("SERESTA 10 mg\r"), QStringLiteral("INEXIUM 20 mg\rDOLIPRANE 500 mg\r")};
const QStringList schemes = {QStringLiteral("R G"), QStringLiteral("R G"), QStringLiteral("R G"), QStringLiteral("ALD"),
                             QStringLiteral("CMU")};

QString vaccinations(int number)
{
    const QString day = QStringLiteral("%1/%2/20%3").arg(1 + number % 28, 2, 10, QLatin1Char('0'))
                            .arg(1 + number % 12, 2, 10, QLatin1Char('0')).arg(10 + number % 16, 2, 10, QLatin1Char('0'));
    QString text = QStringLiteral("\r\n%1\r\n\r\nVaxigrip:1 injection\r\n").arg(day);
    if (number % 2 == 0)
        text += QStringLiteral("Mammographie\r\nà refaire le:%1\r\n").arg(day);
    if (number % 5 == 0)
        text += QStringLiteral("Tetavax: rappel 10 ans\r\nProchain rappel le:%1\r\n").arg(day);
    return text;
}

} // namespace

void makeSyntheticBase(records::Database &db, int patients)
{
    using records::Table;
    namespace tables = records::tables;
    QRandomGenerator random(20061);
    Table patientTable(db, tables::patients);
    const QStringList clinical = {tables::consultations, tables::history, tables::treatments, tables::measures,
                                  tables::insurance, tables::archive};
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
            const bool woman = random.bounded(2);
            set(QStringLiteral("Sexe"), woman ? QStringLiteral("Feminin") : QStringLiteral("Masculin"));
            set(QStringLiteral("Adresse"), QStringLiteral("%1 rue des Lilas\r\n75%2 Paris").arg(number % 200).arg(number % 20, 3, 10, QLatin1Char('0')));
            patientRows.append(row);
            if (number % 3 != 0)
                continue;
            const QString treatment = number % 97 == 0 ? QStringLiteral("MEDIATOR 150 mg\r") : treatments.at(number % treatments.size());
            const QList<QList<QPair<QString, QVariant>>> fields = {
                {{QStringLiteral("Consultation"),
                  number % 100 == 0 ? longNotes(random) : QStringLiteral("\r\n12/03/2006\r\n\r\nAngine, amoxicilline\r\n")}},
                {{QStringLiteral("Antécédents médicaux"), QStringLiteral("Appendicectomie\r\nHTA")}},
                {{QStringLiteral("Traitement général"), treatment}, {QStringLiteral("Vaccinations"), vaccinations(number)}},
                {{QStringLiteral("Poids"), QStringLiteral("12/03/2006\r72\r")},
                 {QStringLiteral("Début grossesse"), woman && number % 300 == 0 ? QVariant(QDate::currentDate().addDays(-60)) : QVariant()}},
                {{QStringLiteral("Type d'AM"), schemes.at(number % schemes.size())}},
                {{QStringLiteral("Prescription"), QStringLiteral("- ") + treatment.section(QLatin1Char('\r'), 0, 0)
                                                      + QStringLiteral(": qsp 3 mois \r\n\r\n1 cp le matin pendant 3 mois\r\n")}}};
            for (int table = 0; table < clinical.size(); ++table) {
                const records::TableDef &def = records::tableDef(clinical.at(table));
                QVariantList values(def.fields.size());
                values[0] = number;
                for (const auto &[field, value] : fields.at(table))
                    values[def.fieldIndex(field)] = value;
                clinicalRows[table].append(values);
            }
        }
        records::Database::Transaction transaction(db);
        patientTable.appendRows(patientRows);
        for (int table = 0; table < clinical.size(); ++table)
            Table(db, clinical.at(table)).appendRows(clinicalRows.at(table));
        transaction.commit();
    }
    Table(db, tables::counter).appendRow({patients});
}

void addSyntheticResults(records::Database &db, int patients)
{
    namespace results = records::resultsTable;
    using records::SqlDialect;
    // Opened by this version, a base holds the results table; it is filled once.
    QSqlQuery any(db.connection());
    if (!any.exec(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(SqlDialect::quote(results::name))) || any.next())
        return;
    records::Database::Transaction transaction(db);
    QStringList columns = {SqlDialect::keyColumn(records::recordNumberField)};
    for (const QString &field : {records::recordNumberField, results::date, results::label, results::analyte, results::value,
                                 results::unit, results::comment, results::replaced})
        columns.append(SqlDialect::quote(field));
    QSqlQuery &insert = db.prepared(QStringLiteral("INSERT INTO %1 (%2) VALUES (?%3)")
                                        .arg(SqlDialect::quote(results::name), columns.join(QLatin1String(", ")),
                                             QStringLiteral(", ?").repeated(int(columns.size()) - 1)));
    const QDate start = QDate::currentDate().addYears(-2);
    const auto add = [&](int number, const QDate &date, const QString &label, const QString &analyte, const QVariant &value,
                         const QString &unit, int replaced) {
        for (const QVariant &bound : QVariantList{number, number, date.toString(Qt::ISODate), label, analyte, value, unit,
                                                  QVariant(), replaced})
            insert.addBindValue(bound);
        db.run(insert);
    };
    for (int number = 3; number <= patients; number += 3) {
        for (int quarter = 0; quarter < 4; ++quarter) {
            const QVariant value = number % 50 == quarter ? QVariant(QMetaType::fromType<double>())
                                                          : QVariant(5.5 + (number * 7 + quarter * 3) % 50 / 10.0);
            add(number, start.addDays(quarter * 180 + number % 90), QStringLiteral("HbA1c"), QStringLiteral("HBA1C"), value,
                QStringLiteral("%"), number % 40 == quarter ? 1 : 0);
        }
        add(number, start.addDays(number % 700), QStringLiteral("Créatinine"), QStringLiteral("CREAT"), 60 + number % 60,
            QStringLiteral("µmol/l"), 0);
    }
    transaction.commit();
}

} // namespace orvane::bench
