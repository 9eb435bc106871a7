#include "messaging/patientfinder.h"

#include "records/schema.h"
#include "records/table.h"

namespace orvane::messaging {

bool sameIdentity(const HprimIdentity &identity, const QString &surname, const QString &forename, int day,
                  int month, int year)
{
    return records::sortKey(identity.surname.simplified()) == records::sortKey(surname.simplified())
        && records::sortKey(identity.forename.simplified()) == records::sortKey(forename.simplified())
        && identity.birthDate == QDate(year, month, day);
}

PatientFinder::PatientFinder(records::Database &db)
    : m_patients(std::make_unique<records::Table>(db, records::tables::patients))
{
    m_patients->setOrdering(QStringLiteral("NomPrénom;Nom;Prénom;N°Dossier"));
    m_patients->open();
}

PatientFinder::~PatientFinder() = default;

QStringList PatientFinder::keysOf(const HprimIdentity &identity)
{
    QStringList keys;
    for (const PatientMatch &match : matchesOf(identity))
        keys.append(match.key);
    return keys;
}

QList<PatientMatch> PatientFinder::matchesOf(const HprimIdentity &identity)
{
    // The key ordering compares as sameIdentity does: the files whose key begins with the surname
    // follow each other from the first one found.
    records::Table &patients = *m_patients;
    patients.refresh();
    patients.findNearest({identity.surname.simplified()});
    const QString surname = records::sortKey(identity.surname.simplified());
    QList<PatientMatch> matches;
    for (; !patients.isEmpty() && !patients.atEnd(); patients.next()) {
        if (!records::sortKey(patients.text(QStringLiteral("NomPrénom"))).startsWith(surname))
            break;
        if (sameIdentity(identity, patients.text(QStringLiteral("Nom")), patients.text(QStringLiteral("Prénom")),
                         int(patients.number(QStringLiteral("Jour"))), int(patients.number(QStringLiteral("Mois"))),
                         int(patients.number(QStringLiteral("Année")))))
            matches.append({patients.text(QStringLiteral("NomPrénom")), patients.number(records::recordNumberField),
                             patients.text(QStringLiteral("SS"))});
    }
    return matches;
}

} // namespace orvane::messaging
