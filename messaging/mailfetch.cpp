#include "messaging/mailfetch.h"

#include "platform/error.h"

#include <chrono>
#include <future>
#include <memory>

namespace orvane::messaging {

MailFetch::MailFetch(FileMessage fileMessage, QObject *parent)
    : QObject(parent)
    , m_fileMessage(std::move(fileMessage))
{
}

MailFetch::~MailFetch()
{
    m_cancelled = true;
    if (m_worker.joinable())
        m_worker.join();
}

bool MailFetch::start(const IncomingServer &server)
{
    if (m_running)
        return false;
    if (m_worker.joinable())
        m_worker.join();
    m_running = true;
    m_cancelled = false;
    m_worker = std::thread(&MailFetch::run, this, server, m_limits, m_certificates);
    return true;
}

std::optional<QString> MailFetch::fileOnWindowsThread(const QByteArray &raw, Report &report)
{
    struct Filing
    {
        std::promise<std::optional<QString>> done;
        ResultFiler::Outcome outcome;
    };
    const auto filing = std::make_shared<Filing>();
    std::future<std::optional<QString>> done = filing->done.get_future();
    QMetaObject::invokeMethod(
        this,
        [this, filing, raw] {
            try {
                filing->outcome = m_fileMessage(raw);
                emit messageFiled();
                filing->done.set_value(std::nullopt);
            } catch (const Error &error) {
                filing->done.set_value(error.message());
            }
        },
        Qt::QueuedConnection);
    while (done.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
        if (m_cancelled)
            throw Error(QStringLiteral("La relève du courrier a été interrompue"));
    }
    const std::optional<QString> problem = done.get();
    report.filed += int(filing->outcome.filed.size());
    report.waiting += int(filing->outcome.waiting.size());
    return problem;
}

void MailFetch::run(const IncomingServer &server, const ImapInbox::Limits &limits, const QString &certificates)
{
    Report report;
    try {
        ImapInbox inbox(server, limits, [this] { return m_cancelled.load(); });
        if (!certificates.isEmpty())
            inbox.trustCertificates(certificates);
        for (const quint32 uid : inbox.unreadMessages()) {
            const std::optional<QByteArray> raw = inbox.message(uid);
            if (!raw) {
                report.problems.append(QStringLiteral("Un message de plus de %1 Mo est resté sur le serveur")
                                           .arg(limits.largestMessage / (1024 * 1024)));
                continue;
            }
            if (const std::optional<QString> problem = fileOnWindowsThread(*raw, report)) {
                report.problems.append(*problem);
                continue;
            }
            inbox.markRead(uid);
            ++report.messages;
        }
    } catch (const Error &error) {
        report.failure = error.message();
    }
    QMetaObject::invokeMethod(
        this,
        [this, report] {
            m_worker.join();
            m_running = false;
            emit finished(report);
        },
        Qt::QueuedConnection);
}

QString MailFetch::summary(const Report &report)
{
    QStringList lines;
    if (!report.failure.isEmpty())
        lines.append(report.failure);
    if (report.messages == 0 && report.failure.isEmpty() && report.problems.isEmpty())
        lines.append(QStringLiteral("Aucun nouveau message"));
    else if (report.messages > 0)
        lines.append(QStringLiteral("Messages relevés : %1 ; examens classés : %2 ; à classer : %3")
                         .arg(report.messages)
                         .arg(report.filed)
                         .arg(report.waiting));
    lines += report.problems;
    return lines.join(QLatin1Char('\n'));
}

} // namespace orvane::messaging
