#include "messaging/mailmessage.h"

#include "platform/textlines.h"

#include <algorithm>


namespace orvane::messaging {

namespace {

// Longest encoded word allowed by RFC 2047.
constexpr int maxEncodedWord = 75;

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7e || (c.unicode() < 0x20 && c != QLatin1Char('\t')))
            return false;
    }
    return true;
}

// The characters that may stand for themselves in a Q-encoded word wherever it is placed.
bool isPlainInQ(uchar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '!'
        || c == '*' || c == '+' || c == '-' || c == '/';
}

QByteArray qEncoded(uchar c)
{
    if (c == ' ')
        return "_";
    if (isPlainInQ(c))
        return QByteArray(1, char(c));
    return '=' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
}

void appendField(QByteArray &bytes, const char *name, const QByteArray &value)
{
    if (value.isEmpty())
        return;
    bytes += name;
    bytes += ": ";
    bytes += value;
    bytes += "\r\n";
}

void appendHeader(QByteArray &bytes, const char *name, const QString &value)
{
    appendField(bytes, name, encodedHeaderValue(value));
}

} // namespace

QByteArray encodedHeaderValue(const QString &value)
{
    QString flat = value;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    flat.replace(QLatin1Char('\r'), QLatin1Char(' '));
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (isAscii(flat))
        return flat.toLatin1();

    static const QByteArray prefix = "=?ISO-8859-1?Q?";
    static const QByteArray suffix = "?=";
    const QByteArray latin1 = flat.toLatin1(); // characters beyond Latin-1 become "?"
    QList<QByteArray> words;
    QByteArray word;
    for (const char c : latin1) {
        const QByteArray piece = qEncoded(uchar(c));
        if (prefix.size() + word.size() + piece.size() + suffix.size() > maxEncodedWord) {
            words.append(prefix + word + suffix);
            word.clear();
        }
        word += piece;
    }
    words.append(prefix + word + suffix);
    // Encoded words on continuation lines of their own keep every header line short.
    return words.join("\r\n ");
}

QByteArray mailboxHeaderValue(const QString &name, const QString &address)
{
    if (address.isEmpty())
        return encodedHeaderValue(name);
    if (name.trimmed().isEmpty())
        return address.toUtf8();
    QByteArray phrase = encodedHeaderValue(name.trimmed());
    static const QByteArray specials = "()<>[]:;@\\,.\"";
    if (!phrase.startsWith("=?") && std::any_of(phrase.begin(), phrase.end(), [](char c) { return specials.contains(c); })) {
        phrase.replace('\\', "\\\\");
        phrase.replace('"', "\\\"");
        phrase = '"' + phrase + '"';
    }
    return phrase + " <" + address.toUtf8() + '>';
}

QByteArray rfc2822Date(const QDateTime &dateTime)
{
    static const char *const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    const int offsetMinutes = dateTime.offsetFromUtc() / 60;
    const int absolute = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    return QStringLiteral("%1, %2 %3 %4 %5:%6:%7 %8%9%10")
        .arg(QLatin1String(days[date.dayOfWeek() - 1]))
        .arg(date.day())
        .arg(QLatin1String(months[date.month() - 1]))
        .arg(date.year())
        .arg(time.hour(), 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'))
        .arg(offsetMinutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(absolute / 60, 2, 10, QLatin1Char('0'))
        .arg(absolute % 60, 2, 10, QLatin1Char('0'))
        .toLatin1();
}

QStringList parseRecipients(const QString &text)
{
    QStringList addresses;
    for (const QString &part : text.split(QLatin1Char(','))) {
        const QString address = part.trimmed();
        if (!address.isEmpty())
            addresses.append(address);
    }
    return addresses;
}

QByteArray MailMessage::toBytes() const
{
    QByteArray bytes;
    appendHeader(bytes, "From", from);
    appendHeader(bytes, "Subject", subject);
    appendHeader(bytes, "To", to.join(QLatin1String(", ")));
    appendHeader(bytes, "Content-Type", QStringLiteral("text/plain"));
    appendHeader(bytes, "Reply-To", replyTo);
    appendField(bytes, "Disposition-Notification-To", mailboxHeaderValue(receiptName, receiptAddress));
    if (date.isValid())
        bytes += "Date: " + rfc2822Date(date) + "\r\n";
    bytes += "\r\n";
    bytes += windowsTextBytes(bodyLines);
    bytes += "\r\n";
    return bytes;
}

} // namespace orvane::messaging
