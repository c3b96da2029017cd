#include "common/time_text.h"

#include "common/conversion_error.h"
#include "common/number_reading.h"
#include "common/rounding.h"

#include <cmath>

namespace {

constexpr int kLastHour = 23;
constexpr int kLastMinute = 59;
constexpr qint64 kMillisecondsPerMinute = 60 * 1000;
constexpr qint64 kMillisecondsPerDay = kMinutesPerDay * kMillisecondsPerMinute;

QString TwoDigits(qint64 value)
{
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

QString HoursAndMinutes(qint64 minutes)
{
    if (minutes < 0) {
        return QLatin1Char('-') + HoursAndMinutes(-minutes);
    }
    return TwoDigits(minutes / kMinutesPerHour) + QLatin1Char(':') + TwoDigits(minutes % kMinutesPerHour);
}

double ClockTime(int hours, int minutes)
{
    return double(hours * kMinutesPerHour + minutes) / kMinutesPerDay;
}

[[noreturn]] void RejectTime(const QString& text)
{
    throw ConversionError(QStringLiteral("'%1' nije ispravno vrijeme").arg(text));
}

// A whole number of hours with a fraction: "7,5" is 07:30, "7,30" is 07:18.
double HoursToClockTime(const QString& text, double hours)
{
    if (hours < 0) {
        RejectTime(text);
    }
    const double wholeHours = std::trunc(hours);
    const double minutes = RoundHalfEven((hours - wholeHours) * kMinutesPerHour);
    if (minutes >= kMinutesPerHour) {
        RejectTime(text);
    }
    return ClockTime(int(wholeHours), int(minutes));
}

// The digits of the text read as minutes ("30"), hour and minute digits ("75", "830") or
// hours and minutes with the hours held to 23 and the minutes above 59 made 0.
double DigitsToClockTime(const QString& text)
{
    if (text.trimmed().isEmpty()) {
        return 0.0;
    }
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits += c;
        }
    }
    if (digits.isEmpty()) {
        RejectTime(text);
    }
    if (digits.size() <= 2) {
        const int value = digits.toInt();
        if (value <= kLastMinute) {
            return ClockTime(0, value);
        }
        return ClockTime(digits.left(1).toInt(), digits.right(1).toInt());
    }
    int minutes = digits.right(2).toInt();
    if (minutes > kLastMinute) {
        minutes = 0;
    }
    int hours = digits.chopped(2).right(2).toInt();
    if (hours > kLastHour) {
        hours = kLastHour;
    }
    return ClockTime(hours, minutes);
}

}  // namespace

QString FormatMinutes(int minutes)
{
    return HoursAndMinutes(minutes);
}

QString FormatDuration(double days)
{
    if (days < 0) {
        return QLatin1Char('-') + FormatDuration(-days);
    }
    const double wholeDays = std::floor(days);
    const auto milliseconds = qint64(std::round((days - wholeDays) * kMillisecondsPerDay));
    return HoursAndMinutes(qint64(wholeDays) * kMinutesPerDay + milliseconds / kMillisecondsPerMinute);
}

double ParseTimeText(const QString& text)
{
    const double number = ReadNumber(text, QLatin1Char(',')).value_or(-1.0);
    if (number != -1.0 && number != 1.0 && number < 24.0) {
        return HoursToClockTime(text, number);
    }
    return DigitsToClockTime(text);
}

int MinutesBetween(double a, double b)
{
    return int(RoundHalfEven(std::abs(a - b) * kMinutesPerDay));
}
