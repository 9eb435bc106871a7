#pragma once

#include "records/practicesearchrun.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace orvane::records {

// The columns of a list of patients found, as shown, printed and saved.
const QStringList &patientListTitles();
QStringList patientListCells(const FoundPatient &patient);

// The list as a CSV file for a mail merge: ";" between fields (as French spreadsheets read them),
// UTF-8 with its byte-order mark so that accents survive, CR LF between rows.
QByteArray patientListCsv(const QList<FoundPatient> &patients);

} // namespace orvane::records
