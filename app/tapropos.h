#pragma once

#include <QDialog>

namespace orvane::app {

// The About window. Its own colour comes from the first line of the colour file when there is
// one; the black panel covers it.
class Tapropos : public QDialog
{
    Q_OBJECT

public:
    explicit Tapropos(QWidget *parent = nullptr);

public slots:
    void Button1Click();
};

} // namespace orvane::app
