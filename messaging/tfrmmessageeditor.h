#pragma once

#include <QDialog>

namespace orvane::messaging {

// The HPRIM message editor.
class TfrmMessageEditor : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmMessageEditor(QWidget *parent = nullptr);
};

} // namespace orvane::messaging
