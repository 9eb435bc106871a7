#include "app/tapropos.h"

#include "app/programpicture.h"
#include "clinical/colourfile.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane::app {

namespace {

QLabel *label(const QString &text, const QString &style, QWidget *parent)
{
    auto *result = new QLabel(text, parent);
    result->setAlignment(Qt::AlignCenter);
    result->setStyleSheet(style);
    return result;
}

} // namespace

Tapropos::Tapropos(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("apropos"));
    setWindowTitle(QStringLiteral("A propos"));

    // An unreadable colour line leaves the window grey: nothing of the About window is worth a message.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::lightGray);
    const clinical::ColourReading reading = clinical::readColourFile(clinical::colourFilePath(), 1, palette());
    if (!reading.colours.isEmpty() && reading.colours.first())
        colours.setColor(QPalette::Window, *reading.colours.first());
    setPalette(colours);
    setAutoFillBackground(true);

    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setStyleSheet(QStringLiteral("#Panel1 { background: black; }"));
    auto *layout = new QVBoxLayout(panel);
    layout->addWidget(label(QStringLiteral("Orvane 2006/Win95-NT"), QStringLiteral("color: red; font-weight: bold;"), panel));
    auto *picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QPixmap::fromImage(programPicture()).scaledToWidth(220, Qt::SmoothTransformation));
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    layout->addWidget(label(QStringLiteral("Version 1-0"),
                            QStringLiteral("font-weight: bold; background: silver; color: black;"), panel));
    layout->addWidget(label(QStringLiteral("Logiciel du cabinet de médecine générale"),
                            QStringLiteral("color: red; font-weight: bold;"), panel));
    auto *ok = new QPushButton(QStringLiteral("OK"), panel);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    connect(ok, &QPushButton::clicked, this, &Tapropos::Button1Click);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(panel);
}

void Tapropos::Button1Click()
{
    accept();
}

} // namespace orvane::app
