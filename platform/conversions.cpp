#include "platform/conversions.h"

#include "platform/error.h"

#include <QRegularExpression>
#include <cmath>

namespace orvane {

std::optional<qint64> parseWholeNumber(const QString &text)
{
    int pos = 0;
    while (pos < text.size() && text.at(pos) == QLatin1Char(' '))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text.at(pos) == QLatin1Char('-') || text.at(pos) == QLatin1Char('+'))) {
        negative = text.at(pos) == QLatin1Char('-');
        ++pos;
    }
    int base = 10;
    if (pos < text.size() && text.at(pos) == QLatin1Char('$')) {
        base = 16;
        ++pos;
    } else if (text.mid(pos, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0) {
        base = 16;
        pos += 2;
    }
    const QString digits = text.mid(pos);
    if (digits.isEmpty())
        return std::nullopt;
    for (const QChar c : digits) {
        const bool ok = base == 10 ? (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                                   : QStringLiteral("0123456789abcdefABCDEF").contains(c);
        if (!ok)
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    return negative ? -value : value;
}

qint64 toWholeNumber(const QString &text)
{
    const auto value = parseWholeNumber(text);
    if (!value)
        throw Error::notWholeNumber(text);
    return *value;
}

std::optional<double> parseDecimalNumber(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^[+-]?(\\d+(?:[.,]\\d*)?|[.,]\\d+)$"));
    QString trimmed = text.trimmed();
    if (!plain.match(trimmed).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double number = trimmed.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

double toFloatingPoint(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    // "inf", "nan" and numbers beyond the double range are no values a person measured.
    if (!ok || !std::isfinite(value) || text.contains(QLatin1Char(',')))
        throw Error::notFloatingPoint(text);
    return value;
}

} // namespace orvane
