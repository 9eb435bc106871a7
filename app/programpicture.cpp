#include "app/programpicture.h"

#include <QImageReader>

// The resources of a static library are registered by hand (at global scope, as the macro needs).
static void registerResourcesOnce()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace orvane::app {

void registerProgramResources()
{
    registerResourcesOnce();
}

QString programPicturePath()
{
    registerProgramResources();
    return QStringLiteral(":/orvane/logo.jpg");
}

QImage programPicture()
{
    QImageReader reader(programPicturePath(), "jpeg");
    return reader.read();
}

} // namespace orvane::app
