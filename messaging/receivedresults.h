#pragma once

#include "clinical/analytes.h"
#include "clinical/labresultimport.h"
#include "messaging/hprimtext.h"

#include <QStringList>

namespace orvane::records {
class Database;
}

namespace orvane::messaging {

// The patient a file of the received-results folder must be about, as his file says.
struct PatientFile
{
    PatientMatch match;
    QString surname;
    QString forename;
    int day = 0;
    int month = 0;
    int year = 0;
};

// Reads the HPRIM texts of the received-results folder into the patients' results: those the filer
// puts there, those the physician assigns from "A classer", and those put there by hand.
class ReceivedResults
{
public:
    // `physicianCatalogue`: the file of the analyses' labels the physician added.
    ReceivedResults(records::Database &db, const QString &resultsFolder, const QString &physicianCatalogue);

    const clinical::AnalyteCatalogue &catalogue() const { return m_catalogue; }
    QString physicianCatalogue() const { return m_physicianCatalogue; }
    // The label stands for the analyte from now on, in the physician's file, and for the results
    // already stored under it.
    void addLabel(const QString &analyte, const QString &label);

    // A text filed for the patient, by the filer or by the physician's choice.
    clinical::LabResultImport::Outcome read(double recordNumber, const QString &path) const;

    // The patient's files not read yet whose header names him; returns what the physician must
    // know of the others (a header naming another patient, a file that cannot be read).
    QStringList readNewFiles(const PatientFile &patient) const;

private:
    records::Database &m_db;
    QString m_resultsFolder;
    QString m_physicianCatalogue;
    clinical::AnalyteCatalogue m_catalogue;
};

} // namespace orvane::messaging
