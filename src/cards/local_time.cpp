#include "cards/local_time.h"

#include <QDate>

namespace {

constexpr qint64 kSecondsPerDay = 24 * 60 * 60;
constexpr qint64 kSecondsPerHour = 60 * 60;
constexpr int kLastDayOfMarchAndOctober = 31;
constexpr int kSunday = 7;

qint64 LastSundayAtChange(int year, int month)
{
    const QDate last(year, month, kLastDayOfMarchAndOctober);
    const QDate sunday = last.addDays(-(last.dayOfWeek() % kSunday));
    return QDate(1970, 1, 1).daysTo(sunday) * kSecondsPerDay + kChangeHourUtc * kSecondsPerHour;
}

int YearOf(qint64 utc)
{
    return QDate(1970, 1, 1).addDays(utc >= 0 ? utc / kSecondsPerDay : (utc + 1) / kSecondsPerDay - 1).year();
}

} // namespace

qint64 SummerTimeStart(int year)
{
    return LastSundayAtChange(year, kSummerStartMonth);
}

qint64 SummerTimeEnd(int year)
{
    return LastSundayAtChange(year, kSummerEndMonth);
}

int LocalOffsetMinutes(qint64 utc)
{
    const int year = YearOf(utc);
    return utc >= SummerTimeStart(year) && utc < SummerTimeEnd(year) ? kSummerOffsetMinutes : kStandardOffsetMinutes;
}

qint64 NextOffsetChange(qint64 utc)
{
    const int year = YearOf(utc);
    if (utc < SummerTimeStart(year))
        return SummerTimeStart(year);
    if (utc < SummerTimeEnd(year))
        return SummerTimeEnd(year);
    return SummerTimeStart(year + 1);
}
