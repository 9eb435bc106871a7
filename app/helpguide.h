#pragma once

#include <QStringList>

namespace orvane::app {

// The short guide of the main window: one HTML page per tab, shipped with the program.

// The page of the tab of that object name ("Identite" gives "identite.html"); empty for none.
QString guidePageName(const QString &tabName);

// The first copy of the page found in the folders, searched in order; empty when none holds it.
QString findGuidePage(const QString &pageName, const QStringList &folders);

} // namespace orvane::app
