#pragma once

#include <QString>

namespace orvane::prescribing {

// The system's print queue of a printer (CUPS on Linux). Qt hands each job to the queue without
// telling whether it was taken; these checks do, with the printing system's own message.
namespace printqueue {

// Throws when the queue cannot be reached, does not exist, is stopped or refuses jobs: a job sent
// now would not print.
void checkReady(const QString &printerName);
// Throws when the queue refused the job just handed to it.
void checkJobTaken(const QString &printerName);

} // namespace printqueue

} // namespace orvane::prescribing
