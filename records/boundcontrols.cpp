#include "records/boundcontrols.h"

#include "platform/radiogroup.h"
#include "platform/error.h"
#include "records/editmask.h"
#include "records/table.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QScopedValueRollback>

namespace orvane::records {

QString toMemoText(const QString &stored)
{
    QString text = stored;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

QString fromMemoText(const QString &shown)
{
    QString text = shown;
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return text;
}

FieldBinding::FieldBinding(Table &table, const QString &fieldName, QObject *control)
    : QObject(control)
    , m_table(table)
    , m_fieldName(table.definition().field(fieldName).name)
    , m_fieldIndex(table.definition().fieldIndex(fieldName))
{
    connect(&table, &Table::currentChanged, this, [this] {
        if (!m_writing)
            show();
    });
    connect(&table, &Table::fieldChanged, this, [this](int index) {
        if (index == m_fieldIndex && !m_writing)
            show();
    });
}

void FieldBinding::show()
{
    const QScopedValueRollback<bool> guard(m_loading, true);
    display(m_table.isOpen() ? m_table.text(m_fieldName) : QString());
}

void FieldBinding::beginEdit()
{
    const QScopedValueRollback<bool> guard(m_writing, true);
    m_table.edit();
}

void FieldBinding::writeFromControl(const QString &text)
{
    const QScopedValueRollback<bool> guard(m_writing, true);
    m_table.edit();
    m_table.setText(m_fieldName, text);
}

BoundLineEdit::BoundLineEdit(QLineEdit *edit, Table &table, const QString &fieldName)
    : FieldBinding(table, fieldName, edit)
    , m_edit(edit)
    , m_mask(table.definition().field(fieldName).mask)
    , m_numeric(table.definition().field(fieldName).ordersAsNumber())
{
    if (!m_mask.isEmpty())
        edit->setInputMask(qtInputMask(m_mask));
    connect(edit, &QLineEdit::textEdited, this, [this] {
        if (isLoading())
            return;
        if (!m_numeric) {
            writeFromControl(valueOfControl());
            return;
        }
        // A number being typed ("1", "19", ...) is written as soon as it is one; the message for
        // a text that never becomes one comes when the person leaves the box or the row is stored.
        try {
            writeFromControl(valueOfControl());
            m_unwritten = false;
        } catch (const Error &) {
            m_unwritten = true;
            beginEdit();
        }
    });
    connect(edit, &QLineEdit::editingFinished, this, [this] {
        // A message about the text taking the focus is no leaving of the box: the text is written
        // when the person leaves it, so one slip gives one message.
        const QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != m_edit->window())
            return;
        write();
    });
    connect(&table, &Table::flushRequested, this, &BoundLineEdit::write);
    show();
}

void BoundLineEdit::write()
{
    if (!m_unwritten)
        return;
    writeFromControl(valueOfControl()); // throws the message while the text is not a number
    m_unwritten = false;
}

QString BoundLineEdit::valueOfControl() const
{
    if (m_mask.isEmpty())
        return m_edit->text();
    // The mask's literals alone ("----") are no value, and positions left empty are not part of it.
    QString value = MaskedText(m_edit->inputMask()).value(m_edit->displayText());
    while (value.endsWith(QLatin1Char(' ')))
        value.chop(1);
    return value;
}

void BoundLineEdit::display(const QString &text)
{
    m_unwritten = false;
    m_edit->setText(text);
    // A box left shows its text from the start; the person typing goes on after what is typed.
    if (m_edit->hasFocus())
        placeCaretAfterTyped(m_edit);
    else
        m_edit->setCursorPosition(0);
}

BoundMemo::BoundMemo(QPlainTextEdit *memo, Table &table, const QString &fieldName)
    : FieldBinding(table, fieldName, memo)
    , m_memo(memo)
{
    connect(memo, &QPlainTextEdit::textChanged, this, [this] {
        if (isLoading())
            return;
        m_dirty = true;
        beginEdit();
    });
    connect(&table, &Table::flushRequested, this, &BoundMemo::flush);
    show();
}

void BoundMemo::flush()
{
    if (!m_dirty)
        return;
    m_dirty = false;
    m_shown = fromMemoText(m_memo->toPlainText());
    writeFromControl(m_shown);
}

void BoundMemo::display(const QString &text)
{
    // A line appended to long notes adds only the new end: laying out megabytes again would not.
    if (!m_dirty && text.size() > m_shown.size() && text.startsWith(m_shown)
        && !(m_shown.endsWith(QLatin1Char('\r')) && text.at(m_shown.size()) == QLatin1Char('\n'))) {
        QTextCursor end(m_memo->document());
        end.movePosition(QTextCursor::End);
        // As after a full reload, the program's own change is not for the person to undo.
        m_memo->document()->setUndoRedoEnabled(false);
        end.insertText(toMemoText(text.mid(m_shown.size())));
        m_memo->document()->setUndoRedoEnabled(true);
    } else {
        m_memo->setPlainText(toMemoText(text));
    }
    m_dirty = false;
    m_shown = text;
}

BoundRadioGroup::BoundRadioGroup(RadioGroup *group, Table &table, const QString &fieldName)
    : FieldBinding(table, fieldName, group)
    , m_group(group)
{
    connect(group, &RadioGroup::clicked, this, [this] {
        if (!isLoading())
            writeFromControl(m_group->chosenText());
    });
    show();
}

void BoundRadioGroup::display(const QString &text)
{
    m_group->setItemIndex(m_group->indexOfText(text));
}

} // namespace orvane::records
