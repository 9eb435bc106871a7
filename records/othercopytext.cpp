#include "records/othercopytext.h"

#include "platform/clock.h"
#include "platform/textlines.h"

namespace orvane::records {

namespace {

bool isValueList(const QString &text)
{
    for (qsizetype at = text.indexOf(QLatin1Char('\r')); at >= 0; at = text.indexOf(QLatin1Char('\r'), at + 1)) {
        if (at + 1 == text.size() || text.at(at + 1) != QLatin1Char('\n'))
            return true;
    }
    return false;
}

} // namespace

QString otherCopyMarker(const QDateTime &when)
{
    return QStringLiteral("---- Ajouté sur ce poste le %1 à %2, après le texte enregistré sur un autre poste ----")
        .arg(shortDateText(when.date()), when.time().toString(QStringLiteral("HH:mm")));
}

QString keptWithOtherCopyText(const QString &read, const QString &stored, const QString &mine, const QDateTime &when)
{
    QString added = !read.isEmpty() && mine.startsWith(read) ? mine.mid(read.size()) : mine;
    if (isValueList(stored) || isValueList(mine)) {
        QString kept = stored;
        if (!kept.isEmpty() && !endsWithLineBreak(kept))
            kept += loneCr;
        return kept + added;
    }
    // The break that began this copy's addition is the marked line's own.
    if (added.startsWith(lineBreak))
        added.remove(0, lineBreak.size());
    QString kept = stored;
    if (!kept.isEmpty() && !endsWithLineBreak(kept))
        kept += lineBreak;
    return kept + otherCopyMarker(when) + lineBreak + added;
}

} // namespace orvane::records
