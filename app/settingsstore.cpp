#include "app/settingsstore.h"

#include "platform/conversions.h"
#include "platform/error.h"
#include "platform/places.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <limits>

namespace orvane::app {

const QString SettingsStore::keyName = QStringLiteral("Orvane 32");

namespace {

const QString identifiantName = QStringLiteral("Identifiant");
const QString diplomeName = QStringLiteral("Diplôme");
const QString securiteName = QStringLiteral("Sécurité");
const QString libre1Name = QStringLiteral("Libre 1");
const QString libre2Name = QStringLiteral("Libre 2");
const QString villeName = QStringLiteral("Ville");
const QString residenceName = QStringLiteral("Résidence");
const QString telephoneName = QStringLiteral("Téléphone");
const QString leftMarginName = QStringLiteral("Marge Gauche");
const QString rightMarginName = QStringLiteral("Marge Droite");
const QString bottomMarginName = QStringLiteral("Marge Bas");
const QString horizontalSpacingName = QStringLiteral("Espacement");
const QString lineSpacingName = QStringLiteral("Intervalle");
const QString agaName = QStringLiteral("Aga");
const QString emailName = QStringLiteral("Email");
const QString accountIdName = QStringLiteral("IdMessagerie");
const QString accountPasswordName = QStringLiteral("Mot de Passe");
const QString serverName = QStringLiteral("Serveur");
const QString portName = QStringLiteral("Port");
const QString encipherName = QStringLiteral("Cryptage");
const QString apicryptName = QStringLiteral("Apicrypt");
const QString accessPasswordName = QStringLiteral("Mot de Passe Orvane");

QString storedText(const QSettings &key, const QString &name)
{
    const QVariant value = key.value(name);
    // A settings file edited by hand may hold an unquoted text with commas, read back as a list.
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

// An absent or empty value keeps the default.
void readText(const QSettings &key, const QString &name, QString &target)
{
    const QString text = storedText(key, name);
    if (!text.isEmpty())
        target = text;
}

} // namespace

SettingsStore::SettingsStore(const QString &programFolder)
    : m_programFolder(programFolder)
{
}

void SettingsStore::readWholeNumber(QSettings &key, const QString &name, int &target)
{
    const QString text = storedText(key, name);
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
    m_settings.folders.receivedLetters = folder.filePath(QStringLiteral("courrier"));
    m_settings.folders.receivedResults = folder.filePath(QStringLiteral("examens"));
    m_settings.folders.sentLetters = folder.filePath(QStringLiteral("courrier envoyé"));

    if (!places::registryKeyExists(keyName))
        return;
    const auto key = places::registryKey(keyName);

    Letterhead &letterhead = m_settings.letterhead;
    readText(*key, identifiantName, letterhead.identifiant);
    readText(*key, diplomeName, letterhead.diplome);
    readText(*key, securiteName, letterhead.securite);
    readText(*key, libre1Name, letterhead.libre1);
    readText(*key, libre2Name, letterhead.libre2);
    readText(*key, villeName, letterhead.ville);
    readText(*key, residenceName, letterhead.residence);
    readText(*key, telephoneName, letterhead.telephone);

    PrintMargins &margins = m_settings.margins;
    readWholeNumber(*key, leftMarginName, margins.left);
    readWholeNumber(*key, rightMarginName, margins.right);
    readWholeNumber(*key, bottomMarginName, margins.bottom);
    readWholeNumber(*key, horizontalSpacingName, margins.horizontalSpacing);
    readWholeNumber(*key, lineSpacingName, margins.lineSpacing);
    readWholeNumber(*key, agaName, letterhead.aga);

    MessagingSettings &messaging = m_settings.messaging;
    readText(*key, emailName, messaging.email);
    readText(*key, accountIdName, messaging.accountId);
    readText(*key, accountPasswordName, messaging.accountPassword);
    readText(*key, serverName, messaging.server);
    readText(*key, portName, messaging.port);
    // Without the Apicrypt key folder nothing can be enciphered, whatever was stored.
    if (QFileInfo(folder.filePath(QStringLiteral("clefs"))).isDir()) {
        readText(*key, encipherName, messaging.encipher);
        readText(*key, apicryptName, messaging.apicryptId);
    } else {
        messaging.encipher = QStringLiteral("non");
        messaging.apicryptId.clear();
    }

    readText(*key, accessPasswordName, m_settings.accessPassword);
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
    key->setValue(identifiantName, letterhead.identifiant);
    key->setValue(diplomeName, letterhead.diplome);
    key->setValue(securiteName, letterhead.securite);
    key->setValue(libre1Name, letterhead.libre1);
    key->setValue(libre2Name, letterhead.libre2);
    key->setValue(villeName, letterhead.ville);
    key->setValue(residenceName, letterhead.residence);
    key->setValue(telephoneName, letterhead.telephone);
    key->setValue(agaName, QString::number(letterhead.aga));
    store(*key);
}

void SettingsStore::writeMargins(const PrintMargins &margins)
{
    m_settings.margins = margins;
    const auto key = places::registryKey(keyName);
    key->setValue(leftMarginName, QString::number(margins.left));
    key->setValue(rightMarginName, QString::number(margins.right));
    key->setValue(bottomMarginName, QString::number(margins.bottom));
    key->setValue(horizontalSpacingName, QString::number(margins.horizontalSpacing));
    key->setValue(lineSpacingName, QString::number(margins.lineSpacing));
    store(*key);
}

void SettingsStore::writeMessaging(const MessagingSettings &messaging)
{
    m_settings.messaging = messaging;
    const auto key = places::registryKey(keyName);
    key->setValue(accountIdName, messaging.accountId);
    key->setValue(accountPasswordName, messaging.accountPassword);
    key->setValue(serverName, messaging.server);
    key->setValue(portName, messaging.port);
    key->setValue(encipherName, messaging.encipher);
    key->setValue(apicryptName, messaging.apicryptId);
    key->setValue(emailName, messaging.email);
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
