#include "app/passwordgate.h"

#include "app/settingsstore.h"
#include "app/tmotdepasse.h"
#include "platform/dialogservice.h"
#include "platform/textcodec.h"

namespace orvane::app {

PasswordGate::PasswordGate(DialogService &dialogs, Tmotdepasse &window, SettingsStore &settings)
    : m_dialogs(dialogs)
    , m_window(window)
    , m_settings(settings)
{
}

PasswordGate::Outcome PasswordGate::run()
{
    return m_settings.settings().accessPassword.isEmpty() ? choosePassword() : askPassword();
}

PasswordGate::Outcome PasswordGate::choosePassword()
{
    m_dialogs.execModal(m_window);
    // A window closed without an accepted answer stores nothing: the program is ending.
    if (!m_window.isAccepted())
        return Outcome::Ended;
    // An empty choice stores nothing, so the next start asks again to choose.
    const QString chosen = m_window.confirmation();
    if (!chosen.isEmpty())
        m_settings.writeAccessPassword(m_cipher.encipher(toWindows1252(chosen)));
    return Outcome::Open;
}

PasswordGate::Outcome PasswordGate::askPassword()
{
    m_window.askForStoredPassword(m_cipher.decipher(m_settings.settings().accessPassword));
    m_dialogs.execModal(m_window);
    return m_window.isAccepted() ? Outcome::Open : Outcome::Ended;
}

} // namespace orvane::app
