#include "shellfixture.h"

#include "platform/places.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

namespace orvane::test {

void ShellFixture::reset() const
{
    QDir(places::driveC()).removeRecursively();
    QFile::remove(settingsFile());
}

QString ShellFixture::programFolder() const
{
    return places::programFolder();
}

QString ShellFixture::settingsFile() const
{
    return places::registryKey(QStringLiteral("Orvane 32"))->fileName();
}

void ShellFixture::writeSettingsFile(const QByteArray &iniText) const
{
    QFile file(settingsFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the settings file");
    file.write(iniText);
}

void ShellFixture::storeValue(const QString &name, const QString &value) const
{
    const auto key = places::registryKey(QStringLiteral("Orvane 32"));
    key->setValue(name, value);
    key->sync();
}

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        const auto code = c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, code, QString(c), Qt::NoModifier);
    }
}

} // namespace orvane::test
