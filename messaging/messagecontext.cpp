#include "messaging/messagecontext.h"

#include "platform/textlines.h"

namespace orvane::messaging {

QString MessageContext::birthDateText(const QString &day, const QString &month, const QString &year)
{
    return day + QLatin1Char('/') + month + QLatin1Char('/') + year;
}

QString MessageContext::addressLine(const QString &address, int index)
{
    return splitLines(address).value(index);
}

} // namespace orvane::messaging
