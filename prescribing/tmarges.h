#pragma once

#include "prescribing/printsettings.h"

#include <QDialog>

class QSlider;
class QSpinBox;

namespace orvane::prescribing {

// The printer margins dialog: five bars, each with its value in figures, for the left, right and bottom margins and the two
// spacings. It holds the five values of its own; "&OK" takes them from the bars, any other way
// out leaves them as they were loaded, and the caller stores them once the dialog has closed.
class TMarges : public QDialog
{
    Q_OBJECT

public:
    static constexpr int barCount = 5;

    explicit TMarges(QWidget *parent = nullptr);

    // Loads the five values and puts the bars at them; a value outside a bar's range shows at the
    // nearest end.
    void load(const PrintSettings &settings);
    // The loaded settings with the dialog's five values.
    PrintSettings edited() const;

public slots:
    void Button1Click();

private:
    QSpinBox *numberOf(QSlider *bar, int index);

    PrintSettings m_settings;
    QSlider *m_bars[barCount] = {};
};

} // namespace orvane::prescribing
