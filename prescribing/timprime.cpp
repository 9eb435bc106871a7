#include "prescribing/timprime.h"

#include "platform/screenplacement.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace orvane::prescribing {

namespace {

QPixmap printerPicture()
{
    QPixmap picture(40, 36);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(10, 2, 20, 12); // the sheet going in
    painter.setBrush(QColor(0x80, 0x80, 0x80));
    painter.drawRect(2, 12, 36, 14); // the body
    painter.setBrush(Qt::white);
    painter.drawRect(8, 22, 24, 12); // the printed sheet
    painter.setBrush(Qt::green);
    painter.drawEllipse(31, 15, 4, 4);
    return picture;
}

} // namespace

TImprime::TImprime(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Imprime"));
    setWindowTitle(QStringLiteral("Imprime"));

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Box | QFrame::Raised);
    auto *picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(printerPicture());
    auto *notice = new QLabel(QStringLiteral("Impression en cours"), panel);
    notice->setObjectName(QStringLiteral("Label1"));
    QFont bold = notice->font();
    bold.setBold(true);
    notice->setFont(bold);
    QPalette red = notice->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    notice->setPalette(red);

    auto *panelLayout = new QHBoxLayout(panel);
    panelLayout->addWidget(picture);
    panelLayout->addWidget(notice);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel);
    adjustSize();
}

void TImprime::showCentred()
{
    centreOnScreen(*this);
    show();
    repaint();
}

TImprime::WhilePrinting::WhilePrinting(TImprime &window)
    : m_window(window)
{
    m_window.showCentred();
}

TImprime::WhilePrinting::~WhilePrinting()
{
    m_window.close();
}

} // namespace orvane::prescribing
