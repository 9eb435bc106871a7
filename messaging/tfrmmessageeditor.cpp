#include "messaging/tfrmmessageeditor.h"

namespace orvane::messaging {

TfrmMessageEditor::TfrmMessageEditor(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMessageEditor"));
    setWindowTitle(QStringLiteral("HPRIM"));
}

} // namespace orvane::messaging
