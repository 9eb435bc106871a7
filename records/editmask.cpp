#include "records/editmask.h"

#include <QLineEdit>
#include <QStringList>

#include <algorithm>

namespace orvane::records {

QString qtInputMask(const QString &mask)
{
    if (mask.isEmpty())
        return QString();
    const QStringList parts = mask.split(QLatin1Char(';'));
    const QString pattern = parts.value(0);
    const QString blank = parts.value(2, QStringLiteral("_")).left(1);
    QString result;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\\') && i + 1 < pattern.size()) {
            result += QLatin1Char('\\');
            result += pattern.at(++i);
            continue;
        }
        if (c == QLatin1Char('<') && pattern.mid(i, 2) == QLatin1String("<>")) {
            result += QLatin1Char('!');
            ++i;
            continue;
        }
        switch (c.toLatin1()) {
        case '0': result += QLatin1Char('9'); break;
        case '9': result += QLatin1Char('0'); break;
        case '#': result += QLatin1Char('#'); break;
        case 'L': result += QLatin1Char('A'); break;
        case 'l': result += QLatin1Char('a'); break;
        case 'A': result += QLatin1Char('N'); break;
        case 'a': result += QLatin1Char('n'); break;
        case 'C': result += QLatin1Char('X'); break;
        case 'c': result += QLatin1Char('x'); break;
        case '>': result += QLatin1Char('>'); break;
        case '<': result += QLatin1Char('<'); break;
        case '!': break; // leading blanks: Qt pads on its own
        default:
            // Any other character is a literal; the ones Qt would read as mask characters are escaped.
            if (QStringLiteral("90#AaNnXxHhBbDd><!{}[]").contains(c))
                result += QLatin1Char('\\');
            result += c;
        }
    }
    const bool blankIsSpace = blank.isEmpty() || blank == QLatin1String(" ");
    return result + QLatin1Char(';') + (blankIsSpace ? QString(QChar(QChar::Nbsp)) : blank);
}

MaskedText::MaskedText(const QString &qtMask)
    : m_blank(QLatin1Char(' '))
{
    static const QString typedPlaces = QStringLiteral("AaNnXx90DdHhBb#");
    for (int i = 0; i < qtMask.size(); ++i) {
        const QChar c = qtMask.at(i);
        if (c == QLatin1Char('\\')) {
            ++i;
            m_typed.append(false);
        } else if (c == QLatin1Char(';')) {
            if (i + 1 < qtMask.size())
                m_blank = qtMask.at(i + 1);
            break;
        } else if (c != QLatin1Char('>') && c != QLatin1Char('<') && c != QLatin1Char('!')) {
            m_typed.append(typedPlaces.contains(c));
        }
    }
}

int MaskedText::typedEnd(const QString &shown) const
{
    for (int i = std::min(int(shown.size()), int(m_typed.size())) - 1; i >= 0; --i) {
        if (m_typed.at(i) && shown.at(i) != m_blank)
            return i + 1;
    }
    return 0;
}

int MaskedText::caretAfterTyped(const QString &shown) const
{
    const int end = typedEnd(shown);
    if (end > 0)
        return end;
    const int firstFree = int(m_typed.indexOf(true));
    return firstFree < 0 ? 0 : firstFree;
}

QString MaskedText::value(const QString &shown) const
{
    QString value;
    const int end = typedEnd(shown);
    for (int i = 0; i < end; ++i) {
        if (!m_typed.at(i) || shown.at(i) != m_blank)
            value += shown.at(i);
    }
    return value;
}

void placeCaretAfterTyped(QLineEdit *edit)
{
    const QString mask = edit->inputMask();
    edit->setCursorPosition(mask.isEmpty() ? int(edit->text().size())
                                           : MaskedText(mask).caretAfterTyped(edit->displayText()));
}

} // namespace orvane::records
