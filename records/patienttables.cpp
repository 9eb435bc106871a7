#include "records/patienttables.h"

#include "records/database.h"

namespace orvane::records {

const QString PatientTables::mainOrdering = QStringLiteral("NomPrénom;Nom;Prénom;N°Dossier");

PatientTables::PatientTables(Database &db)
    : m_patients(std::make_unique<Table>(db, tables::patients))
    , m_counter(std::make_unique<Table>(db, tables::counter))
    , m_history(std::make_unique<Table>(db, tables::history))
    , m_consultations(std::make_unique<Table>(db, tables::consultations))
    , m_treatments(std::make_unique<Table>(db, tables::treatments))
    , m_measures(std::make_unique<Table>(db, tables::measures))
    , m_insurance(std::make_unique<Table>(db, tables::insurance))
    , m_archive(std::make_unique<Table>(db, tables::archive))
    , m_drugs(std::make_unique<Table>(db, tables::drugs))
    , m_historyWords(std::make_unique<Table>(db, tables::historyWords))
    , m_reasons(std::make_unique<Table>(db, tables::reasons))
    , m_examinations(std::make_unique<Table>(db, tables::examinations))
{
    for (Table *detail : perPatientTables())
        detail->setMaster(m_patients.get(), recordNumberField);
}

QList<Table *> PatientTables::perPatientTables() const
{
    return {m_history.get(), m_consultations.get(), m_treatments.get(),
            m_measures.get(), m_insurance.get(), m_archive.get()};
}

void PatientTables::open()
{
    m_patients->setOrdering(mainOrdering);
    m_patients->open();
    for (Table *table : {m_counter.get(), m_drugs.get(), m_historyWords.get(), m_reasons.get(),
                         m_examinations.get()})
        table->open();
    for (Table *detail : perPatientTables())
        detail->open();
}

void PatientTables::storeOpenRows()
{
    if (m_patients->isEmpty())
        return;
    for (Table *table : {m_consultations.get(), m_history.get(), m_treatments.get()}) {
        table->edit();
        table->post();
    }
}

} // namespace orvane::records
