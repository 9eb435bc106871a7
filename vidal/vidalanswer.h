#pragma once

#include <QStringList>
#include <optional>

namespace orvane::vidal {

inline const QString answerMarker = QStringLiteral("VIDALCD->");

// The lines an answer adds to the prescription, in order; no value when the clipboard text is not
// an answer, that is when its first line is not exactly the marker (letter case and blanks count).
std::optional<QStringList> answerLines(const QString &clipboardText);

// The answer text the access program puts back: the marker, then the lines, ended by CR LF.
QString vidalAnswer(const QStringList &lines);

// A prescription line naming a drug: one holding "-" anywhere.
bool isDrugLine(const QString &line);

// What a drug line leaves in the patient's notes: the line without its first two and last two
// characters ("- ABC -" gives "ABC"); empty for a line of four characters or fewer.
QString drugLogText(const QString &line);

// The log texts of every drug line of a prescription, from the first line to the last.
QStringList drugLogTexts(const QString &prescription);

} // namespace orvane::vidal
