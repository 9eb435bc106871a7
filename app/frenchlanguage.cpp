#include "app/frenchlanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace orvane::app {

bool useFrenchLanguage(QCoreApplication &application)
{
    const QLocale french(QLocale::French, QLocale::France);
    QLocale::setDefault(french);
    auto *translator = new QTranslator(&application);
    // "qt" is the catalogue that loads the translations of every Qt module installed.
    if (!translator->load(french, QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace orvane::app
