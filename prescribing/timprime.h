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

    // Shows the window for its own lifetime, so the window goes even when a print fails.
    class WhilePrinting
    {
    public:
        explicit WhilePrinting(TImprime &window);
        ~WhilePrinting();
        WhilePrinting(const WhilePrinting &) = delete;
        WhilePrinting &operator=(const WhilePrinting &) = delete;

    private:
        TImprime &m_window;
    };
};

} // namespace orvane::prescribing
