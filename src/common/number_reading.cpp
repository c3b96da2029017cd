#include "common/number_reading.h"

#include <charconv>
#include <string>

namespace {

bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}  // namespace

std::optional<double> ReadNumber(const QString& text, QChar decimalSeparator)
{
    const QString s = text.trimmed();
    // The text is checked character by character and copied in the form from_chars reads
    // (no '+', '.' as separator), so the conversion never depends on the C locale.
    std::string plain;
    qsizetype i = 0;
    const auto digitsFrom = [&]() {
        qsizetype count = 0;
        while (i < s.size() && IsAsciiDigit(s[i])) {
            plain += char(s[i].unicode());
            ++i;
            ++count;
        }
        return count;
    };

    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        if (s[i] == QLatin1Char('-')) {
            plain += '-';
        }
        ++i;
    }
    qsizetype mantissaDigits = digitsFrom();
    if (i < s.size() && s[i] == decimalSeparator) {
        plain += '.';
        ++i;
        mantissaDigits += digitsFrom();
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        plain += 'e';
        ++i;
        if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
            if (s[i] == QLatin1Char('-')) {
                plain += '-';
            }
            ++i;
        }
        if (digitsFrom() == 0) {
            return std::nullopt;
        }
    }
    if (i != s.size()) {
        return std::nullopt;
    }

    double value = 0.0;
    const char* const end = plain.data() + plain.size();
    const auto [stop, error] = std::from_chars(plain.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}
