#pragma once

#include <QString>
#include <QStringList>

namespace orvane::prescribing {

// Each line followed by CR LF, as model files hold them.
QString linesAsText(const QStringList &lines);

// A prescribed drug's name logged into a patient text: joined by a lone carriage return, so the
// log of names stays apart from the lines the physician writes.
QString withDrugLogged(const QString &text, const QString &drug);

} // namespace orvane::prescribing
