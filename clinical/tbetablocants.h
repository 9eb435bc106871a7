#pragma once

#include <QDialog>

namespace orvane::clinical {

// The list editor: one table object, reopened on the list chosen from the menu.
class Tbetablocants : public QDialog
{
    Q_OBJECT

public:
    explicit Tbetablocants(QWidget *parent = nullptr);
};

} // namespace orvane::clinical
