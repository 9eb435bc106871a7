#include "prescribing/prescriptiontext.h"

#include <QRegularExpression>

namespace orvane::prescribing {

namespace {
const QString crLf = QStringLiteral("\r\n");
}

QString withLineAppended(const QString &text, const QString &line)
{
    if (text.isEmpty() || text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        return text + line + crLf;
    return text + crLf + line;
}

QStringList textLines(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(breaks);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString linesAsText(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + crLf;
    return text;
}

QString withDrugLogged(const QString &text, const QString &drug)
{
    return text + QLatin1Char('\r') + drug;
}

} // namespace orvane::prescribing
