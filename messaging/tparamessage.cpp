#include "messaging/tparamessage.h"

namespace orvane::messaging {

Tparamessage::Tparamessage(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("paramessage"));
    setWindowTitle(QStringLiteral("Paramètres de messagerie"));
}

} // namespace orvane::messaging
