#pragma once

#include <QString>
#include <QStringList>

namespace orvane::prescribing {

// The two kinds of texts kept as model files, each with a folder of its own.
enum class ModelKind { Bilan, Certificate };

// "C:\Orvane\Bilan" or "C:\Orvane\Certif" on this system.
QString modelFolder(ModelKind kind);

// A model file is an 8-bit Windows text of a few lines; a larger file is surely not one.
inline constexpr qint64 largestModelFile = 1024 * 1024;

// The lines of a model file (CR LF, CR or LF end a line). Throws the file error when the file cannot
// be read, is too large, holds binary bytes or bytes that are not Windows-1252 text.
QStringList readModelFile(const QString &path);

// Writes the lines, each followed by CR LF, in Windows-1252. The file is replaced only once the
// whole text is written, so a failed write leaves an existing model as it was. Throws the file error,
// also when the text holds a character that Windows-1252 cannot store.
void writeModelFile(const QString &path, const QStringList &lines);

} // namespace orvane::prescribing
