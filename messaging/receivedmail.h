#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace orvane::messaging {

// A received message as the filing of results needs it, read by GMime: the texts it carries, in
// its body or as text attachments, each decoded from its transfer encoding and its charset.
struct ReceivedMail
{
    bool readable = false; // false when the bytes are no message GMime can read
    QString subject;
    QDateTime date; // invalid when the message has no readable date
    QList<QString> texts;
};

ReceivedMail readMail(const QByteArray &raw);

// A part's text from its bytes: in the charset it declares, or Windows-1252 (the charset of
// laboratories' files) when it declares none, an unknown one, or one its bytes do not follow.
QString decodedText(const QByteArray &bytes, const QByteArray &charset);

} // namespace orvane::messaging
