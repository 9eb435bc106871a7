#include "app/settingsstore.h"

#include "messaging/correspondencefolders.h"
#include "platform/conversions.h"
#include "platform/error.h"
#include "platform/places.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <cstddef>
#include <limits>

namespace orvane::app {

const QString SettingsStore::keyName = QStringLiteral("Orvane 32");

namespace {

// Where each value lives in the settings: its name in the key and its member in its group.
template <typename Group, typename Value>
struct StoredValue
{
    QStringView name;
    Value Group::*member;
};

constexpr StoredValue<Letterhead, QString> letterheadTexts[] = {
    {u"Identifiant", &Letterhead::identifiant},
    {u"Diplôme", &Letterhead::diplome},
    {u"Sécurité", &Letterhead::securite},
    {u"Libre 1", &Letterhead::libre1},
    {u"Libre 2", &Letterhead::libre2},
    {u"Ville", &Letterhead::ville},
    {u"Résidence", &Letterhead::residence},
    {u"Téléphone", &Letterhead::telephone},
};
constexpr StoredValue<Letterhead, int> letterheadNumbers[] = {{u"Aga", &Letterhead::aga}};
constexpr StoredValue<PrintMargins, int> marginNumbers[] = {
    {u"Marge Gauche", &PrintMargins::left},
    {u"Marge Droite", &PrintMargins::right},
    {u"Marge Bas", &PrintMargins::bottom},
    {u"Espacement", &PrintMargins::horizontalSpacing},
    {u"Intervalle", &PrintMargins::lineSpacing},
};
constexpr StoredValue<MessagingSettings, QString> accountTexts[] = {
    {u"Email", &MessagingSettings::email},
    {u"IdMessagerie", &MessagingSettings::accountId},
    {u"Mot de Passe", &MessagingSettings::accountPassword},
    {u"Serveur", &MessagingSettings::server},
    {u"Port", &MessagingSettings::port},
};
constexpr StoredValue<MessagingSettings, QString> apicryptTexts[] = {
    {u"Cryptage", &MessagingSettings::encipher},
    {u"Apicrypt", &MessagingSettings::apicryptId},
};
constexpr StoredValue<messaging::IncomingServer, QString> incomingTexts[] = {
    {u"Serveur IMAP", &messaging::IncomingServer::host},
    {u"Port IMAP", &messaging::IncomingServer::port},
    {u"Sécurité IMAP", &messaging::IncomingServer::security},
    {u"IdMessagerie IMAP", &messaging::IncomingServer::user},
    {u"Mot de Passe IMAP", &messaging::IncomingServer::password},
    {u"Relève automatique", &messaging::IncomingServer::everyTenMinutes},
};
const QString accessPasswordName = QStringLiteral("Mot de Passe Orvane");

// Far longer than any value the program writes (a letterhead line, an address, a password): a file
// damaged or written by something else, refused before anything works on it.
constexpr qsizetype longestValue = 4096;

QString storedText(const QSettings &key, const QString &name, QStringList &problems)
{
    const QVariant value = key.value(name);
    // A settings file edited by hand may hold an unquoted text with commas, read back as a list.
    const QString text = value.metaType().id() == QMetaType::QStringList ? value.toStringList().join(QStringLiteral(", "))
                                                                         : value.toString();
    if (text.size() <= longestValue)
        return text;
    problems.append(QStringLiteral("Le paramètre « %1 » est trop long pour être juste (%2 caractères) : sa valeur par "
                                   "défaut est gardée").arg(name).arg(text.size()));
    return QString();
}

// An absent or empty value keeps the default.
void readText(const QSettings &key, const QString &name, QString &target, QStringList &problems)
{
    const QString text = storedText(key, name, problems);
    if (!text.isEmpty())
        target = text;
}

template <typename Group, std::size_t count>
void readTexts(const QSettings &key, const StoredValue<Group, QString> (&values)[count], Group &group,
               QStringList &problems)
{
    for (const auto &value : values)
        readText(key, value.name.toString(), group.*value.member, problems);
}

template <typename Group, std::size_t count>
void writeTexts(QSettings &key, const StoredValue<Group, QString> (&values)[count], const Group &group)
{
    for (const auto &value : values)
        key.setValue(value.name.toString(), group.*value.member);
}

// Numbers are stored as decimal text.
template <typename Group, std::size_t count>
void writeNumbers(QSettings &key, const StoredValue<Group, int> (&values)[count], const Group &group)
{
    for (const auto &value : values)
        key.setValue(value.name.toString(), QString::number(group.*value.member));
}

} // namespace

SettingsStore::SettingsStore(const QString &programFolder)
    : m_programFolder(programFolder)
{
}

void SettingsStore::readWholeNumber(const QSettings &key, const QString &name, int &target)
{
    const QString text = storedText(key, name, m_problems);
    if (text.isEmpty())
        return;
    const auto number = parseWholeNumber(text);
    if (!number || *number < std::numeric_limits<int>::min() || *number > std::numeric_limits<int>::max()) {
        m_problems.append(QStringLiteral("%1 (paramètre « %2 » : la valeur %3 est conservée)")
                              .arg(Error::notWholeNumber(text).message(), name)
                              .arg(target));
        return;
    }
    target = int(*number);
}

void SettingsStore::load()
{
    const QDir folder(m_programFolder);
    m_settings = Settings();
    m_problems.clear();
    m_settings.folders.receivedLetters = messaging::correspondenceFolderPath(messaging::CorrespondenceFolder::ReceivedLetters);
    m_settings.folders.receivedResults = messaging::correspondenceFolderPath(messaging::CorrespondenceFolder::ReceivedResults);
    m_settings.folders.sentLetters = messaging::correspondenceFolderPath(messaging::CorrespondenceFolder::SentLetters);

    if (!places::registryKeyExists(keyName))
        return;
    const auto key = places::registryKey(keyName);

    Settings &settings = m_settings;
    readTexts(*key, letterheadTexts, settings.letterhead, m_problems);
    for (const auto &value : marginNumbers)
        readWholeNumber(*key, value.name.toString(), settings.margins.*value.member);
    for (const auto &value : letterheadNumbers)
        readWholeNumber(*key, value.name.toString(), settings.letterhead.*value.member);
    readTexts(*key, accountTexts, settings.messaging, m_problems);
    readTexts(*key, incomingTexts, settings.messaging.incoming, m_problems);
    // Without the Apicrypt key folder nothing can be enciphered, whatever was stored.
    if (QFileInfo(folder.filePath(QStringLiteral("clefs"))).isDir()) {
        readTexts(*key, apicryptTexts, settings.messaging, m_problems);
    } else {
        settings.messaging.encipher = QStringLiteral("non");
        settings.messaging.apicryptId.clear();
    }

    readText(*key, accessPasswordName, m_settings.accessPassword, m_problems);
}

void SettingsStore::store(QSettings &key)
{
    key.sync();
    if (key.status() != QSettings::NoError)
        throw Error(QStringLiteral("Les paramètres ne peuvent pas être enregistrés dans « %1 »")
                        .arg(QDir::toNativeSeparators(key.fileName())));
}

void SettingsStore::writeLetterhead(const Letterhead &letterhead)
{
    m_settings.letterhead = letterhead;
    const auto key = places::registryKey(keyName);
    writeTexts(*key, letterheadTexts, letterhead);
    writeNumbers(*key, letterheadNumbers, letterhead);
    store(*key);
}

void SettingsStore::writeMargins(const PrintMargins &margins)
{
    m_settings.margins = margins;
    const auto key = places::registryKey(keyName);
    writeNumbers(*key, marginNumbers, margins);
    store(*key);
}

void SettingsStore::writeMessaging(const MessagingSettings &messaging)
{
    m_settings.messaging = messaging;
    const auto key = places::registryKey(keyName);
    writeTexts(*key, accountTexts, messaging);
    writeTexts(*key, apicryptTexts, messaging);
    writeTexts(*key, incomingTexts, messaging.incoming);
    store(*key);
}

void SettingsStore::writeAccessPassword(const QString &enciphered)
{
    m_settings.accessPassword = enciphered;
    const auto key = places::registryKey(keyName);
    key->setValue(accessPasswordName, enciphered);
    store(*key);
}

} // namespace orvane::app
