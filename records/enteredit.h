#pragma once

#include <QLineEdit>
#include <memory>

namespace orvane::records {

class BoundLineEdit;
class Table;

// An edit in which Enter and the Down arrow go to the next control of the window and the Up
// arrow to the previous one; none of these keys reaches the edit.
// With an input mask, the caret arrives just after the typed text (never after the mask's empty
// positions), the box left shows its text from the start, and a typed character the mask refuses
// is reported, once each time the box is entered.
class TEnterEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TEnterEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    // Throws the message when the typed text changed nothing in a masked box.
    void reportRefused(const QString &shownBefore, int caretBefore);

    bool m_refusalReported = false;
};

// The same edit bound to a field of a table object.
class TEDBEdit : public TEnterEdit
{
    Q_OBJECT

public:
    TEDBEdit(Table &table, const QString &fieldName, QWidget *parent = nullptr);
    ~TEDBEdit() override;

private:
    BoundLineEdit *m_binding;
};

} // namespace orvane::records
