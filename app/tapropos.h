#pragma once

#include <QDialog>

namespace orvane::app {

// The About window.
class Tapropos : public QDialog
{
    Q_OBJECT

public:
    explicit Tapropos(QWidget *parent = nullptr);
};

} // namespace orvane::app
