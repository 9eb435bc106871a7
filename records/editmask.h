#pragma once

#include <QList>
#include <QString>

class QLineEdit;

namespace orvane::records {

// The edit masks of the schema are written in the notation of the program's first toolkit
// ("0" required digit, "9" optional digit, "c" optional character, ...); this gives the
// QLineEdit::setInputMask mask that accepts the same texts. An empty position shown as a blank
// is shown as a no-break space, so that a typed blank ("LE GALL") stays a character of the value.
QString qtInputMask(const QString &mask);

// Where the typed characters stand in the shown text of an edit with a Qt input mask.
class MaskedText
{
public:
    explicit MaskedText(const QString &qtMask);

    // Just after the last typed character; the first free position when nothing is typed.
    int caretAfterTyped(const QString &shown) const;
    // What was typed: the literals up to the last typed character, without the empty positions.
    QString value(const QString &shown) const;

private:
    int typedEnd(const QString &shown) const;

    QList<bool> m_typed; // per position: a place for a typed character, or a literal
    QChar m_blank;
};

// The caret of an edit just after its typed text, never after the empty positions of its mask.
void placeCaretAfterTyped(QLineEdit *edit);

} // namespace orvane::records
