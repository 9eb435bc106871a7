#pragma once

#include "app/settings.h"

#include <QStringList>

class QDir;
class QSettings;

namespace orvane::app {

// The settings of the registry key "Orvane 32": read once at start, then changed only through the
// writers, which store one group of values and keep it in force for the rest of the run.
class SettingsStore
{
public:
    static const QString keyName;

    explicit SettingsStore(const QString &programFolder);

    // Every value at its default, then whatever the key holds. A stored number that is not a whole
    // number keeps its default; loadProblems() then says which one, in the program's message.
    void load();
    const Settings &settings() const { return m_settings; }
    QStringList loadProblems() const { return m_problems; }

    // Each writer keeps the new values in force and stores them; throws when the key cannot be
    // written (the values then stay in force for this run only).
    void writeLetterhead(const Letterhead &letterhead);
    void writeMargins(const PrintMargins &margins);
    void writeMessaging(const MessagingSettings &messaging);
    void writeAccessPassword(const QString &enciphered);

private:
    void readKey(const QDir &programFolder);
    void readWholeNumber(const QSettings &key, const QString &name, int &target);
    static void store(QSettings &key);

    QString m_programFolder;
    Settings m_settings;
    QStringList m_problems;
};

} // namespace orvane::app
