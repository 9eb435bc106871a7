#include "messaging/apicryptbridge.h"

#include "messaging/apicryptcall.h"
#include "messaging/fileremoval.h"
#include "platform/dialogservice.h"
#include "platform/places.h"
#include "platform/textcodec.h"
#include "platform/textlines.h"

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

QString userIdentifier()
{
    if (!places::registryKeyExists(ApicryptBridge::identifierKey))
        return QString();
    return places::registryKey(ApicryptBridge::identifierKey)->value(QStringLiteral("Apicrypt")).toString();
}

} // namespace

const QString ApicryptBridge::libraryFileName = QStringLiteral("dllapi.dll");
const QString ApicryptBridge::inputFileName = QStringLiteral("cryptage.txt");
const QString ApicryptBridge::outputFileName = QStringLiteral("cryptage.txt.api");
const QString ApicryptBridge::keyFolderName = QStringLiteral("clefs");
const QString ApicryptBridge::identifierKey = QStringLiteral("Nolvar 20xx");
const QString ApicryptBridge::decipherInputFileName = QStringLiteral("decryptage.txt.api");

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

bool ApicryptBridge::isEnciphered(const QString &text)
{
    const QString first = text.trimmed().section(QLatin1Char('\n'), 0, 0).trimmed();
    return first.size() > 10 && first.startsWith(QLatin1String("-----")) && first.endsWith(QLatin1String("-----"));
}

std::optional<QString> ApicryptBridge::decipher(const QString &programFolder, const QString &text)
{
    const QDir folder(programFolder);
    const QString identifier = userIdentifier();
    if (identifier.isEmpty() || !QFileInfo(folder.filePath(keyFolderName)).isDir()
        || !QFileInfo::exists(folder.filePath(libraryFileName)))
        return std::nullopt;
    QLibrary library(folder.filePath(libraryFileName));
    const auto decipherFile =
        reinterpret_cast<ApicCrypter2Function>(library.resolve(ORVANE_APICRYPT_DECIPHER_ENTRY_POINT));
    if (!decipherFile)
        return std::nullopt;
    const QString input = folder.filePath(decipherInputFileName);
    QString output = input;
    output.chop(4);
    removeFileIfPresent(output);
    writeWindowsTextFile(input, splitLines(text));
    const QByteArray inputPath = nativePath(input);
    const QByteArray user = toWindows1252(identifier);
    const QByteArray keys = nativePath(programFolder) + QFile::encodeName(QDir::separator());
    decipherFile(inputPath.constData(), user.constData(), keys.constData(), nullptr, nullptr, nullptr, 0);
    removeFileIfPresent(input);
    if (!QFileInfo::exists(output))
        return std::nullopt;
    const QStringList clear = readWindowsTextFile(output);
    removeFileIfPresent(output);
    return joinLines(clear);
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
