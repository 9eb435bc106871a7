#include "records/fieldvalues.h"

#include "platform/clock.h"
#include "platform/conversions.h"
#include "platform/error.h"
#include "records/sqldialect.h"

#include <QDate>
#include <QLocale>
#include <cmath>

namespace orvane::records {

namespace {

QDate parseDate(const QString &text)
{
    const QString trimmed = text.trimmed();
    for (const QString &format : {QLocale().dateFormat(QLocale::ShortFormat), QStringLiteral("dd/MM/yyyy"),
                                  QStringLiteral("d/M/yyyy"), QStringLiteral("yyyy-MM-dd")}) {
        const QDate date = QLocale().toDate(trimmed, format);
        if (date.isValid())
            return date;
    }
    throw Error(QStringLiteral("'%1' n'est pas une date correcte").arg(text));
}

} // namespace

QVariant nullOf(FieldType type)
{
    switch (type) {
    case FieldType::Number: return QVariant(QMetaType::fromType<double>());
    case FieldType::Short: return QVariant(QMetaType::fromType<int>());
    default: return QVariant(QMetaType::fromType<QString>());
    }
}

QVariant storedValue(const FieldDef &field, const QVariant &value)
{
    if (value.isNull())
        return QVariant();
    const bool isText = value.typeId() == QMetaType::QString;
    const QString text = value.toString();
    switch (field.type) {
    case FieldType::Number: {
        if (!isText)
            return value.toDouble();
        if (text.trimmed().isEmpty())
            return QVariant();
        bool ok = false;
        QString normal = text.trimmed();
        normal.replace(QLatin1Char(','), QLatin1Char('.'));
        const double d = normal.toDouble(&ok);
        if (!ok)
            throw Error::notFloatingPoint(text);
        return d;
    }
    case FieldType::Short:
        if (!isText)
            return value.toInt();
        if (text.trimmed().isEmpty())
            return QVariant();
        return int(toWholeNumber(text));
    case FieldType::Date:
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().isValid() ? value : QVariant();
        if (!isText && value.toDouble() == 0)
            return QVariant();
        if (text.trimmed().isEmpty())
            return QVariant();
        return parseDate(text);
    default:
        if (text.isEmpty())
            return QVariant();
        // A text field holds at most its size: a longer text is cut there, never stored whole.
        if (field.type == FieldType::Text && field.size > 0 && text.size() > field.size)
            return text.left(field.size);
        return text;
    }
}

QVariant loadedValue(const FieldDef &field, const QVariant &value)
{
    if (value.isNull())
        return nullOf(field.type);
    switch (field.type) {
    case FieldType::Number: return value.toDouble();
    case FieldType::Short: return value.toInt();
    case FieldType::Date: {
        const QDate date = QDate::fromString(value.toString(), Qt::ISODate);
        return date.isValid() ? QVariant(date) : nullOf(field.type);
    }
    default: return value.toString();
    }
}

QVariant boundValue(const FieldDef &field, const QVariant &value)
{
    if (value.isNull())
        return nullOf(field.type);
    if (field.type == FieldType::Date)
        return value.toDate().toString(Qt::ISODate);
    return value;
}

QVariant keyValue(const FieldDef &field, const QVariant &value)
{
    if (field.ordersAsNumber())
        return value.isNull() ? emptyNumberKey : value.toDouble();
    if (field.type == FieldType::Date)
        return value.isNull() ? QString() : value.toDate().toString(Qt::ISODate);
    return sortKey(value.toString());
}

QString fieldText(const FieldDef &field, const QVariant &v)
{
    if (v.isNull())
        return QString();
    switch (field.type) {
    case FieldType::Number: {
        const double d = v.toDouble();
        if (std::floor(d) == d && std::fabs(d) < 1e15)
            return QString::number(qint64(d));
        return QLocale().toString(d, 'g', 15);
    }
    case FieldType::Date: return shortDateText(v.toDate());
    default: return v.toString();
    }
}

} // namespace orvane::records
