#include "messaging/receivedmail.h"

#include "platform/textcodec.h"

#include <QStringDecoder>

// GLib names a member "signals", a word Qt's headers have taken.
#pragma push_macro("signals")
#undef signals
#include <gmime/gmime.h>
#pragma pop_macro("signals")
#include <mutex>

namespace orvane::messaging {

namespace {

// GMime's objects are reference counted GObjects: each one is released when its holder goes.
template <typename T>
struct Owned
{
    explicit Owned(T *object)
        : object(object)
    {
    }
    ~Owned()
    {
        if (object)
            g_object_unref(object);
    }
    Owned(const Owned &) = delete;
    Owned &operator=(const Owned &) = delete;
    T *object;
};

QString fromUtf8(const char *text)
{
    return QString::fromUtf8(text ? text : "");
}

// Plain texts, and attachments named as laboratories name their HPRIM files whatever type they
// are given; pictures, HTML and the like are not results.
bool carriesText(GMimeObject *part)
{
    GMimeContentType *type = g_mime_object_get_content_type(part);
    if (type && g_mime_content_type_is_type(type, "text", "plain"))
        return true;
    const QString name = fromUtf8(g_mime_part_get_filename(GMIME_PART(part))).toLower();
    return name.endsWith(QLatin1String(".hpr")) || name.endsWith(QLatin1String(".hprim"))
        || name.endsWith(QLatin1String(".hpm")) || name.endsWith(QLatin1String(".txt"));
}

void collectText(GMimeObject *, GMimeObject *part, gpointer data)
{
    if (!GMIME_IS_PART(part) || !carriesText(part))
        return;
    GMimeDataWrapper *content = g_mime_part_get_content(GMIME_PART(part));
    if (!content)
        return;
    Owned<GMimeStream> decoded(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(content, decoded.object);
    GByteArray *bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(decoded.object));
    const QByteArray text(reinterpret_cast<const char *>(bytes->data), int(bytes->len));
    const char *charset = g_mime_object_get_content_type_parameter(part, "charset");
    static_cast<ReceivedMail *>(data)->texts.append(decodedText(text, charset ? QByteArray(charset) : QByteArray()));
}

} // namespace

QString decodedText(const QByteArray &bytes, const QByteArray &charset)
{
    const QByteArray name = charset.trimmed().toLower();
    // US-ASCII is declared by many senders whose texts hold accented letters all the same.
    if (name.isEmpty() || name == "us-ascii" || name == "ascii")
        return fromWindows1252(bytes);
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid())
        return fromWindows1252(bytes);
    const QString text = decoder(bytes);
    return decoder.hasError() ? fromWindows1252(bytes) : text;
}

ReceivedMail readMail(const QByteArray &raw)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { g_mime_init(); });

    ReceivedMail mail;
    Owned<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(raw.constData(), size_t(raw.size())));
    Owned<GMimeParser> parser(g_mime_parser_new_with_stream(stream.object));
    Owned<GMimeMessage> message(g_mime_parser_construct_message(parser.object, nullptr));
    if (!message.object || !g_mime_message_get_mime_part(message.object))
        return mail;
    mail.readable = true;
    mail.subject = fromUtf8(g_mime_message_get_subject(message.object));
    if (GDateTime *date = g_mime_message_get_date(message.object))
        mail.date = QDateTime::fromSecsSinceEpoch(g_date_time_to_unix(date));
    g_mime_message_foreach(message.object, collectText, &mail);
    return mail;
}

} // namespace orvane::messaging
