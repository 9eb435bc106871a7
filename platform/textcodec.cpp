#include "platform/textcodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace orvane {

QByteArray toWindows1252(const QString &text)
{
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

QString fromWindows1252(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

} // namespace orvane
