#include "app/tdialogues.h"

#include "platform/dialogservice.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace orvane::app {

Tdialogues::Tdialogues(DialogService &dialogs, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_dialogs(dialogs)
    , m_action(new QLabel(QStringLiteral("Date du jour?"), this))
    , m_image1(new QLabel(this))
    , m_ok(new QPushButton(QStringLiteral("&Oui"), this))
    , m_non(new QPushButton(QStringLiteral("&Non"), this))
{
    setObjectName(QStringLiteral("dialogues"));
    setWindowTitle(QStringLiteral("Ajouter la date ?"));
    m_action->setObjectName(QStringLiteral("action"));
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_ok->setObjectName(QStringLiteral("ok"));
    m_non->setObjectName(QStringLiteral("non"));

    m_image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(48, 48));
    m_action->setWordWrap(true);
    QFont questionFont = m_action->font();
    questionFont.setBold(true);
    m_action->setFont(questionFont);

    auto *question = new QHBoxLayout;
    question->addWidget(m_image1);
    question->addWidget(m_action, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_non);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(question);
    layout->addLayout(buttons);
    setMinimumWidth(280);

    connect(m_ok, &QPushButton::clicked, this, &Tdialogues::okClick);
    connect(m_non, &QPushButton::clicked, this, &Tdialogues::nonClick);
}

bool Tdialogues::ask(const QString &caption, const QString &question)
{
    setWindowTitle(caption);
    m_action->setText(question);
    m_answer = false;
    m_dialogs.execModal(*this);
    return m_answer;
}

void Tdialogues::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void Tdialogues::FormShow()
{
    m_ok->setDefault(true);
    m_ok->setFocus();
}

void Tdialogues::okClick()
{
    m_answer = true;
    accept();
}

void Tdialogues::nonClick()
{
    m_answer = false;
    QDialog::reject();
}

// Escape, Alt+F4 and every other way out but "&Oui" answer no.
void Tdialogues::reject()
{
    nonClick();
}

} // namespace orvane::app
