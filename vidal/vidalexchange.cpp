#include "vidal/vidalexchange.h"

#include "platform/places.h"
#include "vidal/vidalanswer.h"
#include "vidal/vidalhost.h"
#include "vidal/vidalrequest.h"

#include <QClipboard>
#include <QFileInfo>
#include <QProcess>

namespace orvane::vidal {

namespace {

constexpr int watchPeriodMs = 100;
const QString longTermIllnessSeparator = QStringLiteral("<non 100%>");

} // namespace

VidalExchange::VidalExchange(VidalHost &host, QClipboard *clipboard, QObject *parent, Launcher launcher)
    : QObject(parent)
    , m_host(host)
    , m_clipboard(clipboard)
    , m_launcher(std::move(launcher))
{
    m_timer.setObjectName(QStringLiteral("Timer2"));
    m_timer.setInterval(watchPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &VidalExchange::Timer2Timer);
}

QString VidalExchange::accessProgram()
{
    return places::inProgramFolder(QStringLiteral("accesvidalcd.exe"));
}

bool VidalExchange::accessProgramInstalled()
{
    return QFileInfo(accessProgram()).isFile();
}

VidalExchange::Launcher VidalExchange::detachedLauncher()
{
    return [](const QString &program) { QProcess::startDetached(program, QStringList()); };
}

void VidalExchange::vidalClick()
{
    const QString request = vidalRequest(m_host.vidalPatient());
    m_host.setScratchText(request);
    m_clipboard->setText(request);
    m_launcher(accessProgram());
    m_timer.start();
    if (m_host.prescription().contains(longTermIllnessSeparator))
        m_host.disablePrintButtons();
}

void VidalExchange::Timer2Timer()
{
    // A tick already queued when the watch ended must not take a later answer.
    if (!m_timer.isActive())
        return;
    // Images and other data hold no text: nothing to look at.
    const QString text = m_clipboard->text();
    if (const auto lines = answerLines(text))
        takeAnswer(text, *lines);
}

void VidalExchange::takeAnswer(const QString &text, const QStringList &lines)
{
    m_timer.stop();
    m_host.setScratchText(text);
    for (const QString &line : lines)
        m_host.appendToPrescription(line);
    emptyClipboard();
    // Every drug line of the prescription is logged, those written before the answer as well.
    for (const QString &logText : drugLogTexts(m_host.prescription()))
        m_host.logDrug(logText);
}

void VidalExchange::emptyClipboard()
{
    // On X11 the answer belongs to the access program, and clearing a clipboard we do not own is
    // a no-op there: taking it over first really empties it, and tells the access program it may end.
    m_clipboard->setText(QString());
    m_clipboard->clear();
}

void VidalExchange::pageChanged(bool prescriptionsShown)
{
    if (!prescriptionsShown)
        m_timer.stop();
}

} // namespace orvane::vidal
