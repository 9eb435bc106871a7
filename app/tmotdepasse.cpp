#include "app/tmotdepasse.h"

#include "platform/textcodec.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orvane::app {

namespace {

constexpr int windowWidth = 280;
constexpr int windowHeight = 170;
constexpr int boxLeft = 40;
constexpr int boxWidth = windowWidth - 2 * boxLeft;
constexpr int rowHeight = 22;
constexpr int maximumRefusals = 3;

} // namespace

Tmotdepasse::Tmotdepasse(QWidget *parent)
    : QDialog(parent)
    , m_label1(new QLabel(QStringLiteral("Choisissez votre mot de passe:"), this))
    , m_edit1(new QLineEdit(this))
    , m_label2(new QLabel(QStringLiteral("Confirmez votre mot de passe:"), this))
    , m_edit2(new QLineEdit(this))
    , m_button1(new QPushButton(QStringLiteral("&OK"), this))
{
    setObjectName(QStringLiteral("motdepasse"));
    setWindowTitle(QStringLiteral("Orvane 2006"));
    setFixedSize(windowWidth, windowHeight);

    m_label1->setObjectName(QStringLiteral("Label1"));
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_edit2->setObjectName(QStringLiteral("Edit2"));
    m_button1->setObjectName(QStringLiteral("Button1"));

    m_label1->setAlignment(Qt::AlignCenter);
    m_label2->setAlignment(Qt::AlignCenter);
    m_label1->setGeometry(0, 16, windowWidth, rowHeight);
    m_edit1->setGeometry(boxLeft, 40, boxWidth, rowHeight);
    m_label2->setGeometry(0, 72, windowWidth, rowHeight);
    m_edit2->setGeometry(boxLeft, 96, boxWidth, rowHeight);
    m_button1->setGeometry((windowWidth - 80) / 2, 132, 80, 26);

    setTabOrder(m_edit1, m_edit2);
    setTabOrder(m_edit2, m_button1);
    m_edit1->installEventFilter(this);
    m_edit2->installEventFilter(this);
    connect(m_button1, &QPushButton::clicked, this, &Tmotdepasse::Button1Click);
    m_edit1->setFocus();
}

void Tmotdepasse::askForStoredPassword(const std::optional<QByteArray> &password)
{
    m_askingStored = true;
    m_storedPassword = password;
    m_edit1->setText(password ? fromWindows1252(*password) : QString());
    m_label1->hide();
    m_edit1->hide();
    m_label2->move(m_label2->x(), 16);
    m_label2->setText(QStringLiteral("Mot de Passe"));
    m_edit2->move(m_edit2->x(), 40);
    m_edit2->setEchoMode(QLineEdit::Password);
    m_edit2->setFocus();
}

QString Tmotdepasse::confirmation() const
{
    return m_edit2->text();
}

// The comparison is made on the bytes the password is stored as, letter case included.
bool Tmotdepasse::answerMatches() const
{
    const QByteArray answer = toWindows1252(m_edit2->text());
    if (m_askingStored)
        return m_storedPassword && answer == *m_storedPassword;
    return answer == toWindows1252(m_edit1->text());
}

void Tmotdepasse::Button1Click()
{
    if (answerMatches()) {
        m_accepted = true;
        accept();
    } else {
        // The answer is typed again at once: Enter in the emptied box goes on to OK, never presses
        // it with nothing typed.
        m_edit2->clear();
        m_edit2->setFocus();
        ++m_refusals;
    }
    if (m_refusals > maximumRefusals)
        requestTermination();
}

void Tmotdepasse::requestTermination()
{
    m_terminationRequested = true;
    if (isVisible())
        done(QDialog::Rejected);
}

void Tmotdepasse::FormCloseQuery()
{
    if (!m_accepted)
        requestTermination();
}

// The title-bar close box and Alt+F4 come here; the window closes in every case.
void Tmotdepasse::reject()
{
    FormCloseQuery();
    QDialog::reject();
}

bool Tmotdepasse::Edit1KeyPress(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    focusNextChild();
    return true;
}

bool Tmotdepasse::Edit1KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up) {
        focusPreviousChild();
        return true;
    }
    if (event->key() == Qt::Key_Down) {
        focusNextChild();
        return true;
    }
    return false;
}

bool Tmotdepasse::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_edit1 || watched == m_edit2) && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        return Edit1KeyDown(key) || Edit1KeyPress(key);
    }
    return QDialog::eventFilter(watched, event);
}

// The window has no cancel button: Escape does not close it.
void Tmotdepasse::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orvane::app
