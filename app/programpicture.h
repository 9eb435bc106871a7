#pragma once

#include <QImage>
#include <QString>

namespace orvane::app {

// The program's own resources (picture, starting lists), made readable once for the whole run.
void registerProgramResources();

// The program's picture, shown by the splash window and the About window.
QString programPicturePath();
// The decoded picture; a null image when the JPEG decoder is missing.
QImage programPicture();

} // namespace orvane::app
