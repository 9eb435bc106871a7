#include "platform/error.h"

namespace orvane {

Error::Error(const QString &message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{
}

Error Error::notWholeNumber(const QString &text)
{
    return Error(QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(text));
}

Error Error::notFloatingPoint(const QString &text)
{
    return Error(QStringLiteral("'%1' n'est pas une valeur en virgule flottante correcte").arg(text));
}

Error Error::requiredField(const QString &fieldName)
{
    return Error(QStringLiteral("Le champ '%1' doit avoir une valeur").arg(fieldName));
}

Error Error::listIndexOutOfBounds(int index)
{
    return Error(QStringLiteral("Indice de liste hors limites (%1)").arg(index));
}

} // namespace orvane
