#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace orvane {
class DialogService;
}

namespace orvane::app {

// The program's own yes/no question window. "&Oui" is the default button, "&Non" answers Escape;
// a window closed any other way answers no.
class Tdialogues : public QDialog
{
    Q_OBJECT

public:
    explicit Tdialogues(DialogService &dialogs, QWidget *parent = nullptr);

    // Shows the question modally with its caption; true when answered "&Oui".
    bool ask(const QString &caption, const QString &question);
    bool answer() const { return m_answer; }

public slots:
    void FormShow();
    void okClick();
    void nonClick();
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    DialogService &m_dialogs;
    QLabel *m_action;
    QLabel *m_image1;
    QPushButton *m_ok;
    QPushButton *m_non;
    bool m_answer = false;
};

} // namespace orvane::app
