#pragma once

#include <QDialog>
#include <optional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane::app {

// The access password window. As designed it has the user choose a password and confirm it; for
// a later start it is rearranged to ask for the stored one. Four refused answers, or closing it
// without an accepted answer, ask for the end of the program.
class Tmotdepasse : public QDialog
{
    Q_OBJECT

public:
    explicit Tmotdepasse(QWidget *parent = nullptr);

    // Rearranges the window to ask for the stored password. Without a value (a stored text the
    // program cannot have written) no answer is ever accepted.
    void askForStoredPassword(const std::optional<QByteArray> &password);

    // The text of the confirmation box, read after the window has closed.
    QString confirmation() const;
    bool isAccepted() const { return m_accepted; }
    int refusals() const { return m_refusals; }
    // The program is to end: the fourth refusal, or the window closed without an accepted answer.
    bool terminationRequested() const { return m_terminationRequested; }

public slots:
    void Button1Click();
    void FormCloseQuery();
    bool Edit1KeyPress(QKeyEvent *event);
    bool Edit1KeyDown(QKeyEvent *event);
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool answerMatches() const;
    void requestTermination();

    QLabel *m_label1;
    QLineEdit *m_edit1;
    QLabel *m_label2;
    QLineEdit *m_edit2;
    QPushButton *m_button1;
    bool m_askingStored = false;
    std::optional<QByteArray> m_storedPassword;
    bool m_accepted = false;
    int m_refusals = 0;
    bool m_terminationRequested = false;
};

} // namespace orvane::app
