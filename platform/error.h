#pragma once

#include <QString>
#include <stdexcept>

namespace orvane {

// The one failure type of the program: it carries the message the person sees.
// Thrown where an operation cannot go on, caught and shown once by the application.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message);

    QString message() const { return m_message; }

    static Error notWholeNumber(const QString &text);
    static Error notFloatingPoint(const QString &text);
    static Error requiredField(const QString &fieldName);
    static Error listIndexOutOfBounds(int index);

private:
    QString m_message;
};

} // namespace orvane
