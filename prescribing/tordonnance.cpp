#include "prescribing/tordonnance.h"

namespace orvane::prescribing {

Tordonnance::Tordonnance(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ordonnance"));
    setWindowTitle(QStringLiteral("EnTête Ordonnance"));
}

} // namespace orvane::prescribing
