#pragma once

#include "messaging/hprimtext.h"
#include "platform/textcodec.h"

#include <QByteArray>
#include <QString>

// Messages as laboratories send them, for the receiving tests.
namespace orvane::test {

// An HPRIM text as this program sends it, about the patient given.
inline QString hprimResult(const QString &surname, const QString &forename, const QString &birthDate,
                           const QString &result = QStringLiteral("Glycémie à jeun : 0,95 g/l"))
{
    messaging::MessageContext context;
    context.surname = surname;
    context.forename = forename;
    context.birthDate = birthDate;
    context.socialSecurity = QStringLiteral("1480375123456-78");
    context.addressLine1 = QStringLiteral("3 rue des Lilas");
    context.addressLine2 = QStringLiteral("75011 PARIS");
    context.senderEmail = QStringLiteral("labo@bio.fr");
    const messaging::HprimText text(context, QDate(2006, 3, 15), QStringLiteral("docteur@cab.fr"),
                                    QStringLiteral("Laboratoire Pasteur"));
    return text.lines(result).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

// A one-part message whose body is the text in Windows-1252, with the charset it declares.
inline QByteArray plainMessage(const QString &body, const QByteArray &charset = "windows-1252",
                               const QByteArray &subject = "Resultats")
{
    QByteArray message = "From: labo@bio.fr\r\nTo: docteur@cab.fr\r\nSubject: " + subject
        + "\r\nDate: Wed, 15 Mar 2006 10:30:00 +0100\r\nMIME-Version: 1.0\r\n"
          "Content-Type: text/plain; charset="
        + charset + "\r\nContent-Transfer-Encoding: 8bit\r\n\r\n";
    return message + toWindows1252(body);
}

// A message with a short note and the text as a Base64 attachment.
inline QByteArray messageWithAttachment(const QByteArray &attachment, const QByteArray &name = "resultat.hpr",
                                        const QByteArray &type = "application/octet-stream")
{
    QByteArray encoded = attachment.toBase64();
    QByteArray lines;
    for (qsizetype i = 0; i < encoded.size(); i += 76)
        lines += encoded.mid(i, 76) + "\r\n";
    return "From: labo@bio.fr\r\nTo: docteur@cab.fr\r\nSubject: Resultats\r\n"
           "Date: Thu, 16 Mar 2006 08:00:00 +0100\r\nMIME-Version: 1.0\r\n"
           "Content-Type: multipart/mixed; boundary=\"limite\"\r\n\r\n"
           "--limite\r\nContent-Type: text/html; charset=utf-8\r\n\r\n<p>Veuillez trouver ci-joint</p>\r\n"
           "--limite\r\nContent-Type: "
        + type + "; name=\"" + name + "\"\r\nContent-Disposition: attachment; filename=\"" + name
        + "\"\r\nContent-Transfer-Encoding: base64\r\n\r\n" + lines + "--limite--\r\n";
}

} // namespace orvane::test
