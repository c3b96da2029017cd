#include "common/decimal_text.h"

#include "common/number_reading.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr int kSignificantDigits = 7;
constexpr int kDecimals = 2;
constexpr int kGroupSize = 3;

const QChar kComma = QLatin1Char(',');
const QChar kPoint = QLatin1Char('.');

bool HasDigit(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// A non-negative value as decimal digits: value = 0.digits x 10^integerDigits, so
// integerDigits is the number of digits before the decimal point (0 or less below 1).
struct DecimalDigits {
    QString digits;  // no leading zeros; empty for 0
    int integerDigits = 0;
};

// The shortest digits that read back as the same double, so that a typed "1,005" is
// rounded as 1,005 and not as the binary fraction just below it.
DecimalDigits ExactDigits(double value)
{
    DecimalDigits result;
    if (value == 0.0) {
        return result;
    }
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
    const QString text = QString::fromLatin1(buffer, end - buffer);  // "1.2345e+05"
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    result.digits = text.left(e).remove(kPoint);
    result.integerDigits = text.mid(e + 1).toInt() + 1;
    return result;
}

// Keeps the first `count` digits, rounding half up on the digit after them.
DecimalDigits RoundToDigits(DecimalDigits number, int count)
{
    if (count < 0) {
        return DecimalDigits{};
    }
    if (number.digits.size() > count) {
        const bool roundUp = number.digits[count] >= QLatin1Char('5');
        number.digits.truncate(count);
        qsizetype i = number.digits.size() - 1;
        while (roundUp && i >= 0 && number.digits[i] == QLatin1Char('9')) {
            number.digits[i] = QLatin1Char('0');
            --i;
        }
        if (roundUp && i >= 0) {
            number.digits[i] = QChar(number.digits[i].unicode() + 1);
        } else if (roundUp) {
            number.digits.prepend(QLatin1Char('1'));
            ++number.integerDigits;
        }
    }
    while (number.digits.endsWith(QLatin1Char('0'))) {
        number.digits.chop(1);
    }
    return number;
}

QString Grouped(const QString& integerPart)
{
    QString result = integerPart;
    for (qsizetype i = result.size() - kGroupSize; i > 0; i -= kGroupSize) {
        result.insert(i, kPoint);
    }
    return result;
}

// "1,234568E+07": the significant digits with the decimal comma after the first.
QString ExponentForm(const DecimalDigits& number)
{
    QString mantissa = number.digits.left(1);
    if (number.digits.size() > 1) {
        mantissa += kComma + number.digits.mid(1);
    }
    const int exponent = number.integerDigits - 1;
    return mantissa + QStringLiteral("E+") + QString::number(exponent).rightJustified(2, QLatin1Char('0'));
}

QString FixedForm(const DecimalDigits& number, bool grouped)
{
    const auto digitAt = [&](int position) {
        return position >= 0 && position < number.digits.size() ? number.digits[position] : QLatin1Char('0');
    };
    QString integerPart;
    for (int i = 0; i < number.integerDigits; ++i) {
        integerPart += digitAt(i);
    }
    if (integerPart.isEmpty()) {
        integerPart = QStringLiteral("0");
    }
    QString fraction;
    for (int i = 0; i < kDecimals; ++i) {
        fraction += digitAt(number.integerDigits + i);
    }
    return (grouped ? Grouped(integerPart) : integerPart) + kComma + fraction;
}

// Infinity and NaN cannot come from a number text; shown, they count as 0 like any
// unreadable number.
QString TwoDecimals(double value, bool grouped)
{
    if (!std::isfinite(value)) {
        value = 0.0;
    }
    const DecimalDigits exact = ExactDigits(std::abs(value));
    const DecimalDigits rounded =
        RoundToDigits(exact, std::min(kSignificantDigits, exact.integerDigits + kDecimals));
    if (rounded.digits.isEmpty()) {
        return FixedForm(rounded, grouped);
    }
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    if (rounded.integerDigits > kSignificantDigits) {
        return sign + ExponentForm(rounded);
    }
    return sign + FixedForm(rounded, grouped);
}

// A number text with its grouping characters dropped: while it has both '.' and ',', the
// first of them goes; the one left is the decimal separator.
double ReadNumberText(const QString& numberText)
{
    QString text = numberText;
    while (text.contains(kPoint) && text.contains(kComma)) {
        text.remove(std::min(text.indexOf(kPoint), text.indexOf(kComma)), 1);
    }
    return ReadNumber(text, text.contains(kComma) ? kComma : kPoint).value_or(0.0);
}

}  // namespace

double ParseDecimal(const QString& text)
{
    if (!HasDigit(text)) {
        return 0.0;
    }
    QString number = text;
    const qsizetype point = number.indexOf(kPoint);
    const qsizetype comma = number.indexOf(kComma);
    QChar separator = comma >= 0 ? kComma : kPoint;
    if (point >= 0 && comma >= 0) {
        number.remove(std::min(point, comma), 1);
        separator = point < comma ? kComma : kPoint;
    }
    return ReadNumber(number, separator).value_or(0.0);
}

QString FormatDecimal(double value)
{
    return value == 0.0 || !std::isfinite(value) ? QString() : TwoDecimals(value, true);
}

QString FormatDecimal(const QString& numberText)
{
    return FormatDecimal(ReadNumberText(numberText));
}

QString FormatDecimalZero(double value)
{
    return TwoDecimals(value, false);
}

QString FormatDecimalZero(const QString& numberText)
{
    return FormatDecimalZero(ReadNumberText(numberText));
}
