#pragma once

#include "records/table.h"

#include <memory>

namespace orvane::records {

class Database;

// The main window's table objects: the patient table, the record counter, the per-patient tables
// that follow the patient table through "N°Dossier", and the four lists.
class PatientTables
{
public:
    static const QString mainOrdering; // "NomPrénom;Nom;Prénom;N°Dossier"

    explicit PatientTables(Database &db);

    // Opens every table, the patient table in name order at its first row.
    void open();

    Table &patients() { return *m_patients; }
    Table &counter() { return *m_counter; }
    Table &history() { return *m_history; }
    Table &consultations() { return *m_consultations; }
    Table &treatments() { return *m_treatments; }
    Table &measures() { return *m_measures; }
    Table &insurance() { return *m_insurance; }
    Table &archive() { return *m_archive; }
    Table &drugs() { return *m_drugs; }
    Table &historyWords() { return *m_historyWords; }
    Table &reasons() { return *m_reasons; }
    Table &examinations() { return *m_examinations; }

    // Edit then post on "CONSULT.DB", "ANTE.DB" and "TTT.DB", in this order: a patient without a
    // row in one of them gets an empty one. Without a current patient there is nothing to store.
    void storeOpenRows();

private:
    QList<Table *> perPatientTables() const;

    std::unique_ptr<Table> m_patients;
    std::unique_ptr<Table> m_counter;
    std::unique_ptr<Table> m_history;
    std::unique_ptr<Table> m_consultations;
    std::unique_ptr<Table> m_treatments;
    std::unique_ptr<Table> m_measures;
    std::unique_ptr<Table> m_insurance;
    std::unique_ptr<Table> m_archive;
    std::unique_ptr<Table> m_drugs;
    std::unique_ptr<Table> m_historyWords;
    std::unique_ptr<Table> m_reasons;
    std::unique_ptr<Table> m_examinations;
};

} // namespace orvane::records
