#include "prescribing/tmarges.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvane::prescribing {

namespace {

struct BarDefinition
{
    const char *labelName;
    const char *label;
    int PrintSettings::*value;
    int minimum;
    int maximum;
    int step;
    int tick;
    // Every tick is labelled, or only the two ends.
    bool scale;
};

const BarDefinition bars[TMarges::barCount] = {
    {"Label4", "&Marge Gauche", &PrintSettings::margeGauche, 0, 600, 50, 50, true},
    {"Label3", "&Marge Droite", &PrintSettings::margeDroite, 0, 600, 50, 50, true},
    {"Label6", "&Marge Inférieure", &PrintSettings::margeBas, 0, 600, 50, 50, true},
    {"Label7", "&Espacement des caractères", &PrintSettings::espacement, 100, 500, 1, 25, false},
    {"Label8", "&Interligne", &PrintSettings::intervalle, 100, 200, 1, 10, false},
};

QWidget *scaleLabels(const BarDefinition &bar, QWidget *parent)
{
    auto *labels = new QWidget(parent);
    auto *row = new QHBoxLayout(labels);
    row->setContentsMargins(0, 0, 0, 0);
    const int every = bar.scale ? 100 : bar.maximum - bar.minimum;
    for (int value = bar.minimum; value <= bar.maximum; value += every) {
        if (value != bar.minimum)
            row->addStretch();
        row->addWidget(new QLabel(QString::number(value), labels));
    }
    return labels;
}

} // namespace

TMarges::TMarges(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Marges"));
    setWindowTitle(QStringLiteral("Marges (mm)"));

    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    for (int i = 0; i < barCount; ++i) {
        const BarDefinition &bar = bars[i];
        auto *label = new QLabel(QString::fromUtf8(bar.label), this);
        label->setObjectName(QString::fromLatin1(bar.labelName));
        m_bars[i] = new QSlider(Qt::Horizontal, this);
        m_bars[i]->setObjectName(QStringLiteral("TrackBar%1").arg(i + 1));
        m_bars[i]->setRange(bar.minimum, bar.maximum);
        m_bars[i]->setSingleStep(bar.step);
        m_bars[i]->setPageStep(bar.scale ? bar.step : bar.tick);
        m_bars[i]->setTickInterval(bar.tick);
        m_bars[i]->setTickPosition(QSlider::TicksBelow);
        m_bars[i]->setMinimumWidth(300);
        label->setBuddy(m_bars[i]);
        grid->addWidget(label, 2 * i, 0);
        grid->addWidget(m_bars[i], 2 * i, 1);
        grid->addWidget(numberOf(m_bars[i], i), 2 * i, 2);
        grid->addWidget(scaleLabels(bar, this), 2 * i + 1, 1);
    }
    layout->addLayout(grid);

    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TMarges::Button1Click);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
}

QSpinBox *TMarges::numberOf(QSlider *bar, int index)
{
    // The bar's value in figures, which can be typed as well.
    auto *number = new QSpinBox(this);
    number->setObjectName(QStringLiteral("Valeur%1").arg(index + 1));
    number->setRange(bar->minimum(), bar->maximum());
    number->setSingleStep(bar->singleStep());
    number->setValue(bar->value());
    connect(bar, &QSlider::valueChanged, number, &QSpinBox::setValue);
    connect(number, &QSpinBox::valueChanged, bar, &QSlider::setValue);
    return number;
}

void TMarges::load(const PrintSettings &settings)
{
    m_settings = settings;
    for (int i = 0; i < barCount; ++i)
        m_bars[i]->setValue(settings.*bars[i].value);
}

PrintSettings TMarges::edited() const
{
    return m_settings;
}

void TMarges::Button1Click()
{
    for (int i = 0; i < barCount; ++i)
        m_settings.*bars[i].value = m_bars[i]->value();
    accept();
}

} // namespace orvane::prescribing
