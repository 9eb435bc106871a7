#pragma once

#include <QLineEdit>
#include <memory>

namespace orvane::records {

class BoundLineEdit;
class Table;

// An edit in which Enter and the Down arrow go to the next control of the window and the Up
// arrow to the previous one; none of these keys reaches the edit.
class TEnterEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TEnterEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
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
