#include "messaging/smtpsession.h"

#include "platform/error.h"
#include "platform/textcodec.h"

#include <QEventLoop>
#include <QHostInfo>
#include <QSslSocket>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <optional>

namespace orvane::messaging {

namespace {

// A reply longer than this is not an SMTP server talking.
constexpr qsizetype maxReplyBytes = 1024 * 1024;

struct Reply
{
    int code = 0;
    QStringList lines;

    QString text() const { return lines.join(QLatin1Char(' ')); }
    bool is(const QList<int> &codes) const { return codes.contains(code); }
};

class Failure : public Error
{
public:
    enum class Kind { Refused, Broken };
    Failure(Kind kind, const QString &message)
        : Error(message)
        , m_kind(kind)
    {
    }
    // After a refusal the server still listens, so it is told QUIT; a broken link is just closed.
    bool connectionUsable() const { return m_kind == Kind::Refused; }

private:
    Kind m_kind;
};

Failure refused(const QString &what, const Reply &reply)
{
    return Failure(Failure::Kind::Refused,
                   QStringLiteral("Le serveur de messagerie a refusé %1 : %2").arg(what, reply.text()));
}

class Connection
{
public:
    Connection(const SmtpServer &server, int timeoutMs)
        : m_server(server)
        , m_timeoutMs(timeoutMs)
    {
        QObject::connect(&m_socket, &QSslSocket::sslErrors, [this](const QList<QSslError> &errors) {
            for (const QSslError &error : errors)
                m_sslErrors.append(error.errorString());
        });
    }

    void open()
    {
        m_socket.connectToHost(m_server.host, m_server.port);
        waitUntil([this] { return m_socket.state() == QAbstractSocket::ConnectedState; },
                  QStringLiteral("la connexion"));
    }

    void startTls()
    {
        m_buffer.clear(); // nothing the server sent before the handshake may count as encrypted
        m_socket.setPeerVerifyName(m_server.host);
        m_socket.startClientEncryption();
        waitUntil([this] { return m_socket.isEncrypted(); }, QStringLiteral("la négociation TLS"));
    }

    void send(const QByteArray &bytes) { m_socket.write(bytes); }

    Reply command(const QByteArray &line)
    {
        send(line + "\r\n");
        return readReply();
    }

    Reply readReply()
    {
        Reply reply;
        qsizetype replyBytes = 0;
        for (;;) {
            qsizetype end = -1;
            waitUntil([this, &end, replyBytes] {
                end = m_buffer.indexOf('\n');
                if (replyBytes + (end < 0 ? m_buffer.size() : end) > maxReplyBytes)
                    throw Failure(Failure::Kind::Broken, QStringLiteral("Réponse du serveur de messagerie trop longue"));
                return end >= 0;
            }, QStringLiteral("sa réponse"));
            QByteArray line = m_buffer.left(end);
            m_buffer.remove(0, end + 1);
            replyBytes += end + 1;
            if (line.endsWith('\r'))
                line.chop(1);
            if (parseLine(line, reply))
                return reply;
        }
    }

    void close()
    {
        if (m_socket.state() == QAbstractSocket::ConnectedState) {
            m_socket.disconnectFromHost();
            if (m_socket.state() != QAbstractSocket::UnconnectedState)
                m_socket.abort();
        } else {
            m_socket.abort();
        }
    }

    bool encrypted() const { return m_socket.isEncrypted(); }

private:
    // One reply line is three digits, then "-" (more lines follow), a blank or nothing.
    bool parseLine(const QByteArray &line, Reply &reply)
    {
        const bool digits = line.size() >= 3 && std::all_of(line.begin(), line.begin() + 3, [](char c) {
                                return c >= '0' && c <= '9';
                            });
        const char separator = line.size() > 3 ? line.at(3) : ' ';
        if (!digits || (separator != ' ' && separator != '-'))
            throw Failure(Failure::Kind::Broken,
                          QStringLiteral("Réponse incorrecte du serveur de messagerie : « %1 »")
                              .arg(QString::fromUtf8(line.left(200))));
        reply.code = line.left(3).toInt();
        reply.lines.append(QString::fromUtf8(line));
        return separator == ' ';
    }

    // Runs the event loop, user input held back, until the condition holds; gives up when the
    // server stays silent for the time-out or the link breaks.
    void waitUntil(const std::function<bool()> &done, const QString &awaited)
    {
        for (;;) {
            m_buffer += m_socket.readAll();
            if (done())
                return;
            if (m_socket.state() == QAbstractSocket::UnconnectedState)
                throw brokenLink();
            QEventLoop loop;
            QTimer timer;
            timer.setSingleShot(true);
            bool timedOut = false;
            QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
                timedOut = true;
                loop.quit();
            });
            const auto quit = [&loop] { loop.quit(); };
            QObject::connect(&m_socket, &QIODevice::readyRead, &loop, quit);
            QObject::connect(&m_socket, &QAbstractSocket::stateChanged, &loop, quit);
            QObject::connect(&m_socket, &QAbstractSocket::errorOccurred, &loop, quit);
            QObject::connect(&m_socket, &QSslSocket::encrypted, &loop, quit);
            timer.start(m_timeoutMs);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
            if (timedOut && !m_socket.bytesAvailable()) {
                m_socket.abort();
                throw Failure(Failure::Kind::Broken,
                              QStringLiteral("Le serveur de messagerie %1 ne répond pas : délai de %2 s dépassé "
                                             "en attendant %3")
                                  .arg(m_server.host)
                                  .arg(m_timeoutMs / 1000.0)
                                  .arg(awaited));
            }
        }
    }

    Failure brokenLink() const
    {
        QString reason = m_socket.errorString();
        if (!m_sslErrors.isEmpty())
            reason = m_sslErrors.join(QLatin1String(" ; "));
        if (m_socket.error() == QAbstractSocket::RemoteHostClosedError || reason.isEmpty())
            return Failure(Failure::Kind::Broken,
                           QStringLiteral("Le serveur de messagerie %1 a fermé la connexion").arg(m_server.host));
        return Failure(Failure::Kind::Broken, QStringLiteral("Connexion impossible au serveur de messagerie %1:%2 (%3)")
                                                  .arg(m_server.host)
                                                  .arg(m_server.port)
                                                  .arg(reason));
    }

    SmtpServer m_server;
    int m_timeoutMs;
    QSslSocket m_socket;
    QByteArray m_buffer;
    QStringList m_sslErrors;
};

// What the server said it can do after EHLO (keywords upper-cased).
class Extensions
{
public:
    Extensions() = default;
    explicit Extensions(const Reply &ehlo)
    {
        for (int i = 1; i < ehlo.lines.size(); ++i)
            m_lines.append(ehlo.lines.at(i).mid(4).trimmed().toUpper());
    }
    bool has(const QString &keyword) const
    {
        for (const QString &line : m_lines) {
            if (line == keyword || line.startsWith(keyword + QLatin1Char(' '))
                || line.startsWith(keyword + QLatin1Char('=')))
                return true;
        }
        return false;
    }
    // "AUTH PLAIN LOGIN" and the older "AUTH=LOGIN" both announce LOGIN.
    bool offersAuthLogin() const
    {
        for (const QString &line : m_lines) {
            if (line.startsWith(QLatin1String("AUTH ")) || line.startsWith(QLatin1String("AUTH="))) {
                if (line.mid(5).split(QLatin1Char(' '), Qt::SkipEmptyParts).contains(QLatin1String("LOGIN")))
                    return true;
            }
        }
        return false;
    }

private:
    QStringList m_lines;
};

void checkAddress(const QString &address)
{
    for (const QChar c : address) {
        if (c.unicode() < 0x21 || c == QLatin1Char('<') || c == QLatin1Char('>') || c.unicode() == 0x7f)
            throw Error(QStringLiteral("Adresse électronique incorrecte : « %1 »").arg(address));
    }
}

class Dialogue
{
public:
    Dialogue(Connection &connection, const SmtpServer &server, const QString &helloName)
        : m_connection(connection)
        , m_server(server)
        , m_helloName(helloName.toUtf8())
    {
    }

    void greet()
    {
        const Reply greeting = m_connection.readReply();
        if (greeting.code != 220)
            throw refused(QStringLiteral("la connexion"), greeting);
        hello();
        if (m_extensions.has(QStringLiteral("STARTTLS")) && QSslSocket::supportsSsl()) {
            // A server that cannot start TLS now is used as it is, as a server offering none.
            const Reply reply = m_connection.command("STARTTLS");
            if (reply.code == 220) {
                m_connection.startTls();
                hello();
            }
        }
    }

    void authenticate()
    {
        if (m_server.user.isEmpty() || !m_extensions.offersAuthLogin())
            return;
        expect(m_connection.command("AUTH LOGIN"), {334}, QStringLiteral("« AUTH LOGIN »"));
        expect(m_connection.command(toWindows1252(m_server.user).toBase64()), {334},
               QStringLiteral("le nom d'utilisateur"));
        expect(m_connection.command(toWindows1252(m_server.password).toBase64()), {235},
               QStringLiteral("le mot de passe"));
    }

    void transaction(const QString &sender, const QStringList &recipients, const QByteArray &message)
    {
        QList<QByteArray> commands{"RSET", "MAIL FROM:<" + sender.toUtf8() + '>'};
        for (const QString &recipient : recipients)
            commands.append("RCPT TO:<" + recipient.toUtf8() + '>');
        commands.append("DATA");

        if (m_extensions.has(QStringLiteral("PIPELINING")))
            pipelined(commands, message);
        else
            oneByOne(commands, message);
    }

    void quit()
    {
        m_connection.command("QUIT");
    }

private:
    void hello()
    {
        const Reply ehlo = m_connection.command("EHLO " + m_helloName);
        if (ehlo.code == 250) {
            m_extensions = Extensions(ehlo);
            return;
        }
        m_extensions = Extensions();
        expect(m_connection.command("HELO " + m_helloName), {250}, QStringLiteral("« HELO »"));
    }

    static QList<int> acceptedCodes(const QByteArray &command)
    {
        if (command.startsWith("MAIL"))
            return {250};
        if (command.startsWith("RCPT"))
            return {250, 251};
        return {354};
    }

    static bool acceptable(const QByteArray &command, const Reply &reply)
    {
        return command == "RSET" || reply.is(acceptedCodes(command));
    }

    void oneByOne(const QList<QByteArray> &commands, const QByteArray &message)
    {
        for (const QByteArray &command : commands) {
            const Reply reply = m_connection.command(command);
            if (!acceptable(command, reply))
                throw refused(label(command), reply);
        }
        sendData(message);
    }

    void pipelined(const QList<QByteArray> &commands, const QByteArray &message)
    {
        m_connection.send(commands.join("\r\n") + "\r\n");
        std::optional<Failure> firstRefusal;
        Reply dataReply;
        for (const QByteArray &command : commands) {
            const Reply reply = m_connection.readReply();
            if (command == "DATA")
                dataReply = reply;
            else if (!firstRefusal && !acceptable(command, reply))
                firstRefusal = refused(label(command), reply);
        }
        if (firstRefusal) {
            if (dataReply.code == 354)
                m_connection.command(".");
            throw *firstRefusal;
        }
        if (dataReply.code != 354)
            throw refused(label("DATA"), dataReply);
        sendData(message);
    }

    void sendData(const QByteArray &message)
    {
        m_connection.send(SmtpSession::dataBlock(message));
        expect(m_connection.readReply(), {250}, QStringLiteral("le message"));
    }

    static QString label(const QByteArray &command)
    {
        return QStringLiteral("« %1 »").arg(QString::fromUtf8(command));
    }

    static void expect(const Reply &reply, const QList<int> &codes, const QString &what)
    {
        if (!reply.is(codes))
            throw refused(what, reply);
    }

    Connection &m_connection;
    SmtpServer m_server;
    QByteArray m_helloName;
    Extensions m_extensions;
};

} // namespace

SmtpSession::SmtpSession(int replyTimeoutMs, QString helloName)
    : m_replyTimeoutMs(replyTimeoutMs)
    , m_helloName(std::move(helloName))
{
}

QByteArray SmtpSession::dataBlock(const QByteArray &message)
{
    QByteArray block;
    block.reserve(message.size() + 16);
    qsizetype start = 0;
    while (start < message.size()) {
        qsizetype end = message.indexOf("\r\n", start);
        end = end < 0 ? message.size() : end + 2;
        if (message.at(start) == '.')
            block += '.';
        block += message.mid(start, end - start);
        start = end;
    }
    if (!block.isEmpty() && !block.endsWith("\r\n"))
        block += "\r\n";
    block += ".\r\n";
    return block;
}

void SmtpSession::deliver(const SmtpServer &server, const QString &sender, const QStringList &recipients,
                          const QByteArray &message)
{
    if (server.host.trimmed().isEmpty())
        throw Error(QStringLiteral("Aucun serveur de messagerie n'est indiqué dans les paramètres de messagerie"));
    if (recipients.isEmpty())
        throw Error(QStringLiteral("Aucun destinataire n'est indiqué pour ce message"));
    checkAddress(sender);
    for (const QString &recipient : recipients)
        checkAddress(recipient);

    QString helloName = m_helloName.isEmpty() ? QHostInfo::localHostName() : m_helloName;
    if (helloName.isEmpty())
        helloName = QStringLiteral("localhost");

    Connection connection(server, m_replyTimeoutMs);
    Dialogue dialogue(connection, server, helloName);
    try {
        connection.open();
        dialogue.greet();
        dialogue.authenticate();
        dialogue.transaction(sender, recipients, message);
    } catch (const Failure &failure) {
        if (failure.connectionUsable()) {
            try {
                dialogue.quit();
            } catch (const Error &) {
                // The refusal is what the person must see; a failing farewell adds nothing.
            }
        }
        connection.close();
        throw;
    }
    try {
        dialogue.quit();
    } catch (const Error &) {
        // The server has taken the message; how it says goodbye does not change that.
    }
    connection.close();
}

} // namespace orvane::messaging
