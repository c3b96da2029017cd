#pragma once

#include <QChar>
#include <QString>

#include <optional>

// Reads a plain number text: blanks around it, an optional sign, digits with at most one
// decimal separator (digits on at least one side of it) and an optional exponent
// ("1,5E3"). No grouping characters and no locale: the separator is the one given.
// Anything else, or a value beyond the range of double, gives nothing.
std::optional<double> ReadNumber(const QString& text, QChar decimalSeparator);
