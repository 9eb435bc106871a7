#pragma once

#include <QDate>
#include <QString>

namespace orvane::messaging {

// The folders of letters and results kept beside the program. A patient's files in them are named
// after the patient key followed by "-".
enum class CorrespondenceFolder { ReceivedLetters, SentLetters, ReceivedResults };

QString correspondenceFolderPath(CorrespondenceFolder folder);

// The start of every file name of the patient: the key (path separators made harmless) and "-".
QString patientFilePrefix(const QString &patientKey);

// The copy of a sent HPRIM text: "<name>-en date du D M YYYY.txt", no leading zeros.
QString sentCopyFileName(const QString &patientName, const QDate &date);

// Received results whose patient the program could not tell, inside the received-results folder.
QString pendingResultsFolder(const QString &receivedResultsFolder);

// The name, without its extension, of a result received for a patient: "<name>-examen du D M YYYY".
QString receivedResultBaseName(const QString &patientName, const QDate &date);

// Writes the bytes into the folder as "<base><extension>", or "<base> (2)<extension>" and so on
// when that name holds other bytes. When one of those files already holds exactly these bytes
// nothing is written: a message fetched again after an interruption is not filed twice.
// Returns the file's path; throws when it cannot be written.
QString writeOnce(const QString &folder, const QString &baseName, const QString &extension, const QByteArray &bytes);

} // namespace orvane::messaging
