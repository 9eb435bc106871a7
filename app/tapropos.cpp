#include "app/tapropos.h"

namespace orvane::app {

Tapropos::Tapropos(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("apropos"));
    setWindowTitle(QStringLiteral("A propos"));
}

} // namespace orvane::app
