#pragma once

#include <QWidget>

namespace orvane::prescribing {

// The notice shown, without waiting, while a print job is being made: a borderless window
// centred on the screen with a small printer picture and "Impression en cours".
class TImprime : public QWidget
{
    Q_OBJECT

public:
    explicit TImprime(QWidget *parent = nullptr);

    void showCentred();
};

} // namespace orvane::prescribing
