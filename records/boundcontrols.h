#pragma once

#include <QObject>
#include <QString>

class QLineEdit;
class QPlainTextEdit;

namespace orvane {
class RadioGroup;
}

namespace orvane::records {

class Table;

// Ties one control to one field of a table object: the control shows the field whenever the
// current row changes, and a change made by the person puts the row in edit mode and writes the
// field. Showing a value never counts as an edit.
class FieldBinding : public QObject
{
    Q_OBJECT

public:
    FieldBinding(Table &table, const QString &fieldName, QObject *control);

    Table &table() const { return m_table; }
    QString fieldName() const { return m_fieldName; }
    // Shows the field's current value again.
    void show();

protected:
    virtual void display(const QString &text) = 0;
    // Called by the subclasses when the person changed the control.
    void writeFromControl(const QString &text);
    // Enters edit mode without writing yet (for controls that write on demand).
    void beginEdit();
    bool isLoading() const { return m_loading; }

private:
    Table &m_table;
    QString m_fieldName;
    int m_fieldIndex;
    bool m_loading = false;
    bool m_writing = false;
};

class BoundLineEdit final : public FieldBinding
{
    Q_OBJECT

public:
    // The field's edit mask, if it has one, becomes the edit's input mask.
    BoundLineEdit(QLineEdit *edit, Table &table, const QString &fieldName);

protected:
    void display(const QString &text) override;

private:
    QString valueOfControl() const;
    void write();

    QLineEdit *m_edit;
    QString m_mask;
    bool m_numeric;
    bool m_unwritten = false; // typed text that is not yet a value of the field's type
};

// A memo shows the field's lines; the typed text is written into the row when the table needs it
// (before a post, a move or a read), so typing in notes of several megabytes stays instant.
class BoundMemo final : public FieldBinding
{
    Q_OBJECT

public:
    BoundMemo(QPlainTextEdit *memo, Table &table, const QString &fieldName);

protected:
    void display(const QString &text) override;

private:
    void flush();

    QPlainTextEdit *m_memo;
    QString m_shown; // the field's text as the memo shows it, while nothing is typed
    bool m_dirty = false;
};

// An option group storing the caption of the chosen button.
class BoundRadioGroup final : public FieldBinding
{
    Q_OBJECT

public:
    BoundRadioGroup(RadioGroup *group, Table &table, const QString &fieldName);

protected:
    void display(const QString &text) override;

private:
    RadioGroup *m_group;
};

// Patient texts separate lines with CR LF; the memo controls use a lone LF.
QString toMemoText(const QString &stored);
QString fromMemoText(const QString &shown);

} // namespace orvane::records
