#pragma once

#include "messaging/hprimtext.h"

#include <QStringList>
#include <memory>

namespace orvane::records {
class Database;
class Table;
}

namespace orvane::messaging {

// Whether a patient's file is the one a received header names: same surname, forename and birth
// date, letter case and accents not counting ("Émile" is "EMILE").
bool sameIdentity(const HprimIdentity &identity, const QString &surname, const QString &forename, int day,
                  int month, int year);

// Finds the files of the patient a received header names, on a table object of its own.
class PatientFinder
{
public:
    explicit PatientFinder(records::Database &db);
    ~PatientFinder();

    // Every matching file: none, one, or several when the base holds doubles.
    QList<PatientMatch> matchesOf(const HprimIdentity &identity);
    QStringList keysOf(const HprimIdentity &identity);

private:
    std::unique_ptr<records::Table> m_patients;
};

} // namespace orvane::messaging
