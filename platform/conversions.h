#pragma once

#include <QString>
#include <optional>

namespace orvane {

// Whole-number text as the program has always accepted it: optional leading blanks and sign,
// decimal digits or "$" followed by hexadecimal digits.
std::optional<qint64> parseWholeNumber(const QString &text);

// As parseWholeNumber, but a text that is not a whole number throws the program's message.
qint64 toWholeNumber(const QString &text);

// A number as typed in France ("8,5") or as laboratories print it ("8.5", ",5"), blanks around it
// allowed; none for anything else ("8,5,2", "1e3", "inf").
std::optional<double> parseDecimalNumber(const QString &text);

// Floating-point text with the decimal point; anything else throws the program's message.
double toFloatingPoint(const QString &text);

} // namespace orvane
