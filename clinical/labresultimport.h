#pragma once

#include "clinical/analytes.h"
#include "clinical/labreport.h"

#include <QStringList>

namespace orvane::records {
class Database;
}

namespace orvane::clinical {

// Files the results of a patient's report into "RESULTATS.DB", one row each, and the values of
// the analytes the measures' lists stand for into those lists; a creatinine gives the clearance.
class LabResultImport
{
public:
    // Computed results are filed as rows of this laboratory.
    static const QString computedBy;
    static const QString creatinineAnalyte;
    static const QString ckdEpiAnalyte;

    struct Outcome
    {
        int added = 0;
        int replaced = 0; // former values kept as history
        QStringList unreadLines;
        QStringList alerts; // for the physician: values kept out of the lists, and why
    };

    LabResultImport(records::Database &db, const AnalyteCatalogue &catalogue);

    // Whether the file, named as in the received-results folder, was read for the patient.
    bool hasRead(double recordNumber, const QString &fileName) const;
    // Everything in one transaction; a file already read adds nothing. The report must be about
    // this patient: the caller has checked it.
    Outcome import(double recordNumber, const QString &fileName, const LabReport &report) const;

private:
    records::Database &m_db;
    const AnalyteCatalogue &m_catalogue;
};

} // namespace orvane::clinical
