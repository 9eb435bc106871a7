#pragma once

#include "app/passwordcipher.h"

namespace orvane {
class DialogService;
}

namespace orvane::app {

class SettingsStore;
class Tmotdepasse;

// The gate in front of the patient files, run once when the main window first shows: the first
// use has the user choose the access password, every later start asks for it.
class PasswordGate
{
public:
    enum class Outcome { Open, Ended };

    PasswordGate(DialogService &dialogs, Tmotdepasse &window, SettingsStore &settings);

    Outcome run();

private:
    Outcome choosePassword();
    Outcome askPassword();

    DialogService &m_dialogs;
    Tmotdepasse &m_window;
    SettingsStore &m_settings;
    PasswordCipher m_cipher;
};

} // namespace orvane::app
