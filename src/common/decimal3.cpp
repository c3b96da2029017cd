#include "common/decimal3.h"

#include "common/decimal_text.h"

#include <cmath>

Decimal3 Decimal3::fromText(const QString& text)
{
    // Far beyond any odometer; keeps the conversion to whole thousandths defined.
    constexpr double kLimit = 1e15;
    const double value = ParseDecimal(text);
    if (!std::isfinite(value) || std::fabs(value) >= kLimit)
        return Decimal3{};
    return Decimal3{static_cast<qint64>(std::llround(value * kScale))};
}

QString Decimal3::toText() const
{
    const bool negative = thousandths < 0;
    const quint64 magnitude = negative ? 0 - static_cast<quint64>(thousandths) : static_cast<quint64>(thousandths);
    QString text = QString::number(magnitude / kScale);
    QString fraction = QStringLiteral("%1").arg(magnitude % kScale, 3, 10, QLatin1Char('0'));
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += QLatin1Char(',') + fraction;
    return negative ? QLatin1Char('-') + text : text;
}
