#pragma once

#include <QDialog>

namespace orvane::clinical {

// The viewer of one text of the patient's archive row; each caller sets the caption.
class Tacuitearch : public QDialog
{
    Q_OBJECT

public:
    explicit Tacuitearch(QWidget *parent = nullptr);
};

} // namespace orvane::clinical
