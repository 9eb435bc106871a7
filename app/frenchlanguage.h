#pragma once

class QCoreApplication;

namespace orvane::app {

// The program speaks French whatever the system's language: French formats of dates, times and
// numbers for every text it writes, and Qt's own dialogs and messages translated. Returns false
// when Qt's French translations are not installed (the program then runs with Qt's texts).
bool useFrenchLanguage(QCoreApplication &application);

} // namespace orvane::app
