#pragma once

#include <QDialog>

namespace orvane::records {

// The patient search window.
class TRechercher : public QDialog
{
    Q_OBJECT

public:
    explicit TRechercher(QWidget *parent = nullptr);
};

} // namespace orvane::records
