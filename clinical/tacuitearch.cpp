#include "clinical/tacuitearch.h"

namespace orvane::clinical {

Tacuitearch::Tacuitearch(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("acuitearch"));
}

} // namespace orvane::clinical
