#include "records/trechercher.h"

namespace orvane::records {

TRechercher::TRechercher(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Rechercher"));
    setWindowTitle(QStringLiteral("rechercher"));
}

} // namespace orvane::records
