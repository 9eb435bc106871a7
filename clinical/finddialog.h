#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace orvane::clinical {

// The modeless find dialog of the notes: a searched text and a button that finds the next line
// holding it.
class FindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FindDialog(QWidget *parent = nullptr);

    QString findText() const;
    void setFindText(const QString &text);

signals:
    // The find button was pressed.
    void find();

private:
    QLineEdit *m_text;
    QPushButton *m_findNext;
};

} // namespace orvane::clinical
