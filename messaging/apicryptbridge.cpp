#include "messaging/apicryptbridge.h"

#include "messaging/apicryptcall.h"
#include "messaging/textlines.h"
#include "platform/dialogservice.h"
#include "platform/places.h"
#include "platform/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>
#include <QWidget>

namespace orvane::messaging {

namespace {

class StepGuard
{
public:
    explicit StepGuard(bool &flag)
        : m_flag(flag)
    {
        m_flag = true;
    }
    ~StepGuard() { m_flag = false; }
    StepGuard(const StepGuard &) = delete;
    StepGuard &operator=(const StepGuard &) = delete;

private:
    bool &m_flag;
};

QTimer *makeTimer(QObject *parent, const char *name)
{
    auto *timer = new QTimer(parent);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(100);
    return timer;
}

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(QDir::toNativeSeparators(path));
}

} // namespace

const QString ApicryptBridge::libraryFileName = QStringLiteral("dllapi.dll");
const QString ApicryptBridge::inputFileName = QStringLiteral("cryptage.txt");
const QString ApicryptBridge::outputFileName = QStringLiteral("cryptage.txt.api");
const QString ApicryptBridge::keyFolderName = QStringLiteral("clefs");
const QString ApicryptBridge::identifierKey = QStringLiteral("Nolvar 20xx");

ApicryptBridge::ApicryptBridge(const QString &programFolder, DialogService &dialogs, QWidget *messageParent)
    : QObject(messageParent)
    , m_programFolder(programFolder)
    , m_dialogs(dialogs)
    , m_messageParent(messageParent)
    , m_encipheringTimer(makeTimer(this, "Timer2"))
    , m_outputTimer(makeTimer(this, "Timer1"))
{
    connect(m_encipheringTimer, &QTimer::timeout, this, &ApicryptBridge::encipheringStep);
    connect(m_outputTimer, &QTimer::timeout, this, &ApicryptBridge::outputWait);
    QFile::remove(inFolder(outputFileName));
    QFile::remove(inFolder(inputFileName));
}

QString ApicryptBridge::inFolder(const QString &name) const
{
    return m_programFolder + QLatin1Char('/') + name;
}

void ApicryptBridge::start(const QStringList &lines)
{
    if (!QFileInfo::exists(inFolder(libraryFileName)))
        return;
    // The old output must go first, or the wait would take it for the answer to this text.
    removeFileIfPresent(inFolder(outputFileName));
    removeFileIfPresent(inFolder(inputFileName));
    writeWindowsTextFile(inFolder(inputFileName), lines);
    m_encipheringTimer->start();
}

void ApicryptBridge::encipheringStep()
{
    if (m_stepRunning || !QFileInfo::exists(inFolder(inputFileName)))
        return;
    const StepGuard guard(m_stepRunning);
    if (!QFileInfo(inFolder(keyFolderName)).isDir()) {
        m_encipheringTimer->stop();
        m_dialogs.showMessage(m_messageParent, QStringLiteral("Le répertoire <Clefs> d'Apicrypt n'existe pas"));
        return;
    }
    const QString identifier = userIdentifier();
    if (identifier.isEmpty())
        m_dialogs.showMessage(m_messageParent, QStringLiteral("Il n'y a pas d'utilisateur enregistré pour Apicrypt"));
    else
        callLibrary(identifier);
    m_encipheringTimer->stop();
    m_outputTimer->start();
}

void ApicryptBridge::outputWait()
{
    if (m_stepRunning || !QFileInfo::exists(inFolder(outputFileName)))
        return;
    // Stopped first: a file that cannot be read is reported once, not at every tick.
    m_outputTimer->stop();
    emit enciphered(readWindowsTextFile(inFolder(outputFileName)));
}

QString ApicryptBridge::userIdentifier() const
{
    if (!places::registryKeyExists(identifierKey))
        return QString();
    return places::registryKey(identifierKey)->value(QStringLiteral("Apicrypt")).toString();
}

void ApicryptBridge::callLibrary(const QString &identifier)
{
    if (!m_library.isLoaded()) {
        m_library.setFileName(inFolder(libraryFileName));
        if (!m_library.load())
            return;
    }
    const auto encipher = reinterpret_cast<ApicCrypter2Function>(m_library.resolve(ORVANE_APICRYPT_ENTRY_POINT));
    if (!encipher)
        return;
    const QByteArray input = nativePath(inFolder(inputFileName));
    const QByteArray user = toWindows1252(identifier);
    const QByteArray folder = nativePath(m_programFolder) + QFile::encodeName(QDir::separator());
    encipher(input.constData(), user.constData(), folder.constData(), nullptr, nullptr, nullptr, 0);
}

} // namespace orvane::messaging
