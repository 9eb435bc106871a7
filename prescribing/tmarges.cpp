#include "prescribing/tmarges.h"

namespace orvane::prescribing {

TMarges::TMarges(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Marges"));
    setWindowTitle(QStringLiteral("Marges (mm)"));
}

} // namespace orvane::prescribing
