#include "records/editmask.h"

#include <QStringList>

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
    return result + QLatin1Char(';') + (blank.isEmpty() ? QStringLiteral(" ") : blank);
}

} // namespace orvane::records
