#pragma once

#include <QDialog>

namespace orvane::prescribing {

// The printer margins dialog.
class TMarges : public QDialog
{
    Q_OBJECT

public:
    explicit TMarges(QWidget *parent = nullptr);
};

} // namespace orvane::prescribing
