#pragma once

#include <QDialog>

namespace orvane::prescribing {

// The letterhead dialog.
class Tordonnance : public QDialog
{
    Q_OBJECT

public:
    explicit Tordonnance(QWidget *parent = nullptr);
};

} // namespace orvane::prescribing
