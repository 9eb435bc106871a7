#include "clinical/tbetablocants.h"

namespace orvane::clinical {

Tbetablocants::Tbetablocants(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("betablocants"));
    setWindowTitle(QStringLiteral("Bêtablocants"));
}

} // namespace orvane::clinical
