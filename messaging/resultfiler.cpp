#include "messaging/resultfiler.h"

#include "messaging/apicryptbridge.h"
#include "messaging/correspondencefolders.h"
#include "messaging/fileremoval.h"
#include "messaging/receivedmail.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/textlines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orvane::messaging {

namespace {

const QString textExtension = QStringLiteral(".txt");
const QString messageExtension = QStringLiteral(".eml");

QString identityName(const HprimIdentity &identity)
{
    return identity.surname + QLatin1Char(' ') + identity.forename;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Impossible d'ouvrir le fichier %1").arg(QDir::toNativeSeparators(path)));
    return file.readAll();
}

} // namespace

const QString ResultFiler::noPatient = QStringLiteral("Aucun dossier ne correspond à ce patient");
const QString ResultFiler::severalPatients = QStringLiteral("Plusieurs dossiers correspondent à ce patient");
const QString ResultFiler::noHprimText = QStringLiteral("Message sans données HPRIM");
const QString ResultFiler::encipheredWithoutLibrary =
    QStringLiteral("Message chiffré par Apicrypt : la bibliothèque Apicrypt n'est pas configurée");
const QString ResultFiler::unreadable = QStringLiteral("Message illisible");

ResultFiler::ResultFiler(const QString &resultsFolder, PatientLookup lookup, Decipher decipher, const Clock &clock)
    : m_resultsFolder(resultsFolder)
    , m_lookup(std::move(lookup))
    , m_decipher(std::move(decipher))
    , m_clock(clock)
{
}

QString ResultFiler::pendingFolder() const
{
    return pendingResultsFolder(m_resultsFolder);
}

QList<ResultFiler::Found> ResultFiler::hprimTexts(const ReceivedMail &mail, bool &encipheredLeft) const
{
    encipheredLeft = false;
    QList<Found> found;
    for (const QString &part : mail.texts) {
        std::optional<QString> text = part;
        if (ApicryptBridge::isEnciphered(part)) {
            text = m_decipher(part);
            if (!text) {
                encipheredLeft = true;
                continue;
            }
        }
        if (const auto identity = HprimText::identityOf(splitLines(*text)))
            found.append({*text, *identity});
    }
    return found;
}

QString ResultFiler::reasonFor(const HprimIdentity &identity) const
{
    const qsizetype files = m_lookup(identity).size();
    return files == 0 ? noPatient : files == 1 ? QString() : severalPatients;
}

ResultFiler::Outcome ResultFiler::file(const QByteArray &raw) const
{
    const ReceivedMail mail = readMail(raw);
    const QDate date = mail.date.isValid() ? mail.date.date() : m_clock.today();
    bool encipheredLeft = false;
    const QList<Found> found = mail.readable ? hprimTexts(mail, encipheredLeft) : QList<Found>();
    Outcome outcome;
    for (const Found &text : found) {
        const QStringList keys = m_lookup(text.identity);
        const QByteArray bytes = windowsTextBytes(splitLines(text.text));
        if (keys.size() == 1)
            outcome.filed.append(writeOnce(m_resultsFolder, receivedResultBaseName(keys.first(), date), textExtension, bytes));
        else
            outcome.waiting.append(
                writeOnce(pendingFolder(), receivedResultBaseName(identityName(text.identity), date), textExtension, bytes));
    }
    // Nothing received is lost: a message of which some text could not be read is kept whole.
    if (found.isEmpty() || encipheredLeft) {
        const QString name = QStringLiteral("message du %1 %2 %3").arg(date.day()).arg(date.month()).arg(date.year());
        outcome.waiting.append(writeOnce(pendingFolder(), name, messageExtension, raw));
    }
    return outcome;
}

ResultFiler::Waiting ResultFiler::waiting(const QString &path) const
{
    Waiting entry{path, std::nullopt, QString()};
    if (path.endsWith(textExtension, Qt::CaseInsensitive)) {
        entry.identity = HprimText::identityOf(readWindowsTextFile(path));
        entry.reason = entry.identity ? reasonFor(*entry.identity) : noHprimText;
        return entry;
    }
    const ReceivedMail mail = readMail(fileBytes(path));
    bool encipheredLeft = false;
    const QList<Found> found = mail.readable ? hprimTexts(mail, encipheredLeft) : QList<Found>();
    if (!mail.readable)
        entry.reason = unreadable;
    else if (encipheredLeft)
        entry.reason = encipheredWithoutLibrary;
    else if (found.isEmpty())
        entry.reason = noHprimText;
    else {
        entry.identity = found.first().identity;
        entry.reason = reasonFor(*entry.identity);
    }
    return entry;
}

QList<ResultFiler::Waiting> ResultFiler::waitingEntries() const
{
    QList<Waiting> entries;
    const QFileInfoList files = QDir(pendingFolder()).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &file : files)
        entries.append(waiting(file.filePath()));
    return entries;
}

QString ResultFiler::assign(const QString &path, const QString &patientKey) const
{
    const QFileInfo file(path);
    QString name = file.completeBaseName();
    // A waiting text is named after its header's identity, which the patient's key replaces.
    if (const auto identity = waiting(path).identity; identity && path.endsWith(textExtension, Qt::CaseInsensitive)) {
        const QString prefix = patientFilePrefix(identityName(*identity));
        if (name.startsWith(prefix))
            name.remove(0, prefix.size());
    }
    const QString filed = writeOnce(m_resultsFolder, patientFilePrefix(patientKey) + name,
                                    QLatin1Char('.') + file.suffix(), fileBytes(path));
    removeFileIfPresent(path);
    return filed;
}

} // namespace orvane::messaging
