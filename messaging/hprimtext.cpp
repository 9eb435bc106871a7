#include "messaging/hprimtext.h"

#include "messaging/textlines.h"
#include "platform/clock.h"

namespace orvane::messaging {

const QString HprimText::endOfMessage = QStringLiteral("****FIN****");
// Correspondents' software looks for the marker without a blank; the older form with one was
// not recognised as the end of the file.
const QString HprimText::endOfFile = QStringLiteral("****FINFICHIER****");

HprimText::HprimText(const MessageContext &context, const QDate &today, const QString &recipientAddress,
                     const QString &senderLine)
    : m_context(context)
    , m_today(today)
    , m_recipientAddress(recipientAddress)
    , m_senderLine(senderLine)
{
}

QStringList HprimText::headerLines() const
{
    return {QString(),
            m_context.surname,
            m_context.forename,
            m_context.addressLine1,
            QString(),
            m_context.addressLine2,
            birthDateLine(m_context.birthDate),
            socialSecurityLine(m_context.socialSecurity),
            QString(),
            shortYearDate(m_today),
            addressCode(m_context.senderEmail),
            addressCode(m_recipientAddress),
            QString(),
            m_senderLine + QStringLiteral("- Généraliste"),
            QString(),
            m_context.addressLine2,
            QString()};
}

QString HprimText::birthDateLine(const QString &birthDate)
{
    QStringList parts = birthDate.split(QLatin1Char('/'));
    if (parts.size() != 3 || parts.join(QString()).trimmed().isEmpty())
        return QString();
    for (int i = 0; i < 2; ++i)
        parts[i] = parts.at(i).trimmed().rightJustified(2, QLatin1Char('0'));
    return parts.join(QLatin1Char('/'));
}

QString HprimText::socialSecurityLine(const QString &number)
{
    QString digits;
    for (const QChar c : number) {
        if (c.isLetterOrNumber())
            digits += c;
    }
    return digits;
}

QStringList HprimText::lines(const QString &pastedText) const
{
    return headerLines() + linesOf(pastedText) + QStringList{endOfMessage, endOfFile};
}

QString HprimText::addressCode(const QString &address)
{
    const int at = int(address.indexOf(QLatin1Char('@')));
    QString identifier = at < 0 ? QString() : address.left(at);
    for (QChar &c : identifier) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return QStringLiteral(".          ") + identifier;
}

QString HprimText::shortYearDate(const QDate &date)
{
    return shortDateText(date).remove(6, 2);
}

} // namespace orvane::messaging
