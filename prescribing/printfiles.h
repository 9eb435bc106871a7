#pragma once

#include "platform/pageprinter.h"

#include <QString>

namespace orvane {
class Clock;
namespace records {
class Table;
}
} // namespace orvane

namespace orvane::prescribing {

// The PDF files of the prints, in the folder "Impressions" of the program folder: the copy of
// every job printed for a patient in his own folder there, "<NomPrénom> <N°Dossier>/<date>
// <heure> <kind>.pdf" (date and time as 2026-12-09 15h34m01); with no printer, a job for nobody as
// "<date> <heure> impression <n>.pdf". The program never removes them.
class PrintFiles
{
public:
    explicit PrintFiles(const Clock &clock);

    static QString folder();
    // The folder of the current patient of the table, "<NomPrénom> <N°Dossier>" with what a file
    // name cannot hold replaced by "_"; empty without a patient.
    static QString ownerOf(const records::Table &patients);

    // A file for the job that does not exist yet, its folder made; throws when it cannot be made.
    QString newFile(const PrintJob &job);

private:
    const Clock &m_clock;
    int m_jobNumber = 0;
};

} // namespace orvane::prescribing
