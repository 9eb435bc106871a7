#pragma once

#include <QDialog>

namespace orvane::messaging {

// The messaging settings dialog.
class Tparamessage : public QDialog
{
    Q_OBJECT

public:
    explicit Tparamessage(QWidget *parent = nullptr);
};

} // namespace orvane::messaging
