#include "records/cartevitale.h"
#include "platform/textlines.h"

#include <QStringList>

namespace orvane::records {

namespace {

// Characters counted from 1, as the reader's layout is described.
QString characters(const QString &line, int from, int count = -1)
{
    return line.mid(from - 1, count);
}

} // namespace

bool looksLikeCarteVitale(const QString &text)
{
    return splitLines(text).value(0).contains(QLatin1String("Nom"));
}

CarteVitaleIdentity readCarteVitale(const QString &text)
{
    const QStringList lines = splitLines(text);
    const QString birth = lines.value(4);
    return CarteVitaleIdentity{characters(lines.value(0), 8), characters(lines.value(1), 11),
                               characters(birth, 14, 2), characters(birth, 17, 2), characters(birth, 20, 4)};
}

} // namespace orvane::records
