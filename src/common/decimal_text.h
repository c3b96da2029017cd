#pragma once

#include <QString>

// Decimal numbers as the operator types and reads them: ',' is the decimal separator and
// '.' groups thousands, whatever the computer's regional settings are. None of these fails:
// a text that cannot be read counts as 0.

// Reads a typed number: when the text has both '.' and ',', the first of them is a thousands
// separator (only that one is dropped) and the other the decimal separator; otherwise the
// one present is the decimal separator. "12,5", "12.5", "1.234,5" and "1,234.5" read as
// numbers; "1.234.567,8" (a second point) and text without digits read as 0.
double ParseDecimal(const QString& text);

// Two-decimal display, rounded to 7 significant digits, with the thousands grouped by '.'
// ("1.234,50"); 0 gives an empty text. From 10 000 000 upward the exponent form
// "1,234568E+07" is used. The text form takes a number text as typed or stored ("1234,5",
// "1234.5", "1.234.567,8"), dropping grouping characters first.
QString FormatDecimal(double value);
QString FormatDecimal(const QString& numberText);

// The same without grouping and with "0,00" for 0 ("1234,50").
QString FormatDecimalZero(double value);
QString FormatDecimalZero(const QString& numberText);
