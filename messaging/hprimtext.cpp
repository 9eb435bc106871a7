#include "messaging/hprimtext.h"

#include "platform/clock.h"
#include "platform/textlines.h"

#include <QRegularExpression>

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

std::optional<HprimIdentity> HprimText::identityOf(const QStringList &lines)
{
    constexpr int headerSize = 12;
    if (lines.size() < headerSize)
        return std::nullopt;
    // Day and month with or without their leading zero: older senders wrote the date as typed.
    static const QRegularExpression datePattern(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    const QRegularExpressionMatch date = datePattern.match(lines.at(6).trimmed());
    HprimIdentity identity{lines.at(1).trimmed(), lines.at(2).trimmed(), QDate()};
    if (date.hasMatch())
        identity.birthDate = QDate(date.captured(3).toInt(), date.captured(2).toInt(), date.captured(1).toInt());
    if (identity.surname.isEmpty() || identity.forename.isEmpty() || !identity.birthDate.isValid())
        return std::nullopt;
    return identity;
}

QStringList HprimText::lines(const QString &pastedText) const
{
    return headerLines() + splitLines(pastedText) + QStringList{endOfMessage, endOfFile};
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
