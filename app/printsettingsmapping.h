#pragma once

#include "app/settings.h"
#include "prescribing/printsettings.h"

namespace orvane::app {

// The program-wide settings as the printed layouts and the two print settings dialogs take them.
prescribing::PrintSettings printSettingsOf(const Settings &settings);

// The values of the letterhead dialog and of the margins dialog, back in the settings' own groups.
Letterhead letterheadOf(const prescribing::PrintSettings &settings);
PrintMargins marginsOf(const prescribing::PrintSettings &settings);

} // namespace orvane::app
