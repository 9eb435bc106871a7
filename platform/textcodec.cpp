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

namespace {
const QByteArray utf8Mark("\xEF\xBB\xBF");
}

QByteArray keptTextBytes(const QString &text)
{
    const QByteArray windows = toWindows1252(text);
    if (fromWindows1252(windows) == text)
        return windows;
    return utf8Mark + text.toUtf8();
}

QString fromKeptText(const QByteArray &bytes)
{
    if (bytes.startsWith(utf8Mark))
        return QString::fromUtf8(bytes.mid(utf8Mark.size()));
    return fromWindows1252(bytes);
}

} // namespace orvane
