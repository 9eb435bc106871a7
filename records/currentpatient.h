#pragma once

#include "records/cartevitale.h"
#include "records/table.h"

#include <QObject>
#include <functional>
#include <memory>

namespace orvane::records {

class Database;

// The main window's table objects and the current patient's file: the patient row, the rows of
// the per-patient tables that follow it, and the operations on files.
class CurrentPatient : public QObject
{
    Q_OBJECT

public:
    static const QString mainOrdering; // "NomPrénom;Nom;Prénom;N°Dossier"
    static const QString nameOrdering; // "NomPrénom"

    explicit CurrentPatient(Database &db, QObject *parent = nullptr);
    ~CurrentPatient() override;

    // Opens every table, the patient table in name order at its first row.
    void open();
    // Closes every table; what was changed and not yet stored is stored first (the details before
    // the patient row). A new file nothing was typed into is dropped. Throws, with every table still
    // open, when a row is refused.
    void close();
    // A new file in which nothing was typed.
    bool isUntouchedNewFile() const;
    // After a refused close: what is typed and not stored, as the physician names it.
    QStringList unsavedParts();
    // Closes every table, dropping what is not stored.
    void closeWithoutStoring();

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
    Database &database() { return m_db; }

    // Edit then post on "CONSULT.DB", "ANTE.DB", "stat.DB" and "TTT.DB": a patient without a row
    // in one of them gets an empty one.
    void storeClinicalRows();
    // The same for "CONSULT.DB", "ANTE.DB" and "TTT.DB" (tab change, leaving the program).
    void storeOpenRows();

    void previous();
    void next();

    // A pending new patient row holding the next record number; the counter is re-read and
    // incremented in one step, so a second running copy never issues the same number.
    void beginNewFile();
    // Returns the fields whose text was longer than they hold, and was cut at their size.
    QStringList fillFromCarteVitale(const CarteVitaleIdentity &identity);
    void validate();
    void removePatient();

    // `NomPrénom` becomes `Nom` + " " + `Prénom` when it differs (the row stays pending).
    void composeName();

    // Moves to the search window's choice: exact key on the main ordering.
    bool goToPatient(const QVariantList &mainOrderingKey);
    // Moves to the patient of that row of the patients' table, on the main ordering.
    bool goToPatientRow(qint64 rowId);
    // Nearest row in plain name order; the ordering stays so until the next search window.
    void findByName(const QString &typed);
    // The first patient of that record number; false (and no move) when there is none.
    bool findByNumber(const QString &typed);

private:
    void storeRows(const QList<Table *> &tables);
    QList<Table *> allTables() const;
    void step(bool forward);
    // The current rows stored, then the row `find` moves to on the main ordering.
    bool goToPatientFound(const std::function<bool()> &find);

    Database &m_db;
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

// The age shown beside the year of birth: this year minus the typed year; no value for an
// empty box, a year to come, or a text that is not a whole number (which throws the message).
std::optional<int> ageFromYearText(const QString &yearText, int currentYear);

} // namespace orvane::records
