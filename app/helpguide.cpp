#include "app/helpguide.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace orvane::app {

QString guidePageName(const QString &tabName)
{
    static const QHash<QString, QString> pages = {
        {QStringLiteral("Identite"), QStringLiteral("identite.html")},
        {QStringLiteral("consultation"), QStringLiteral("consultation.html")},
        {QStringLiteral("Prescri"), QStringLiteral("prescriptions.html")},
        {QStringLiteral("vaccin"), QStringLiteral("vaccinations.html")},
        {QStringLiteral("bilans"), QStringLiteral("bilans.html")},
        {QStringLiteral("statistique"), QStringLiteral("statistiques.html")}};
    return pages.value(tabName);
}

QString findGuidePage(const QString &pageName, const QStringList &folders)
{
    if (pageName.isEmpty())
        return QString();
    for (const QString &folder : folders) {
        const QFileInfo page(QDir(folder).filePath(pageName));
        if (page.isFile())
            return page.absoluteFilePath();
    }
    return QString();
}

} // namespace orvane::app
