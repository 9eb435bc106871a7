#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

namespace orvane::messaging {

// One plain-text mail as it goes on the wire: a few header fields and 8-bit body lines.
struct MailMessage
{
    QString from;
    QString subject;
    QStringList to;
    QString replyTo;
    // Where a read receipt is to go: a display name, an address or both; both empty asks for none.
    QString receiptName;
    QString receiptAddress;
    QDateTime date;
    QStringList bodyLines;

    // The header fields in their fixed order (empty ones left out), an empty line, the body lines
    // in Windows-1252 and one more empty line; every line ends with CR LF. Dot-stuffing belongs to
    // the transport.
    QByteArray toBytes() const;
};

// A header value as written: unchanged when it is US-ASCII, RFC 2047 encoded words (ISO-8859-1,
// Q encoding) otherwise. Line breaks inside a value become blanks, so no value can add a field.
QByteArray encodedHeaderValue(const QString &value);

// A mailbox for a header field: "name <address>", the name quoted or encoded as it needs.
QByteArray mailboxHeaderValue(const QString &name, const QString &address);

// RFC 2822 date with the local offset: "Wed, 15 Mar 2006 10:30:00 +0100".
QByteArray rfc2822Date(const QDateTime &dateTime);

// The addresses of an "A:" text: separated by commas, blanks around them dropped, empty ones skipped.
QStringList parseRecipients(const QString &text);

} // namespace orvane::messaging
