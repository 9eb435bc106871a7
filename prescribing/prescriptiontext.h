#pragma once

#include <QString>
#include <QStringList>

namespace orvane::prescribing {

// The line that splits a prescription into the long-term-illness zone and the other one.
inline const QString longTermIllnessSeparator = QStringLiteral("<non 100%>");

// The line-append rule of the patient texts: a text that is empty or ends with a line break gets the
// line and a CR LF; any other text first has its last line ended.
QString withLineAppended(const QString &text, const QString &line);

// The lines of a text; CR LF, CR and LF end a line, and an empty line after the last break is not one.
QStringList textLines(const QString &text);

// Each line followed by CR LF, as model files and printed texts hold them.
QString linesAsText(const QStringList &lines);

// A prescribed drug's name logged into a patient text: joined by a lone carriage return, so the
// log of names stays apart from the lines the physician writes.
QString withDrugLogged(const QString &text, const QString &drug);

} // namespace orvane::prescribing
