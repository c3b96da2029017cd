#pragma once

#include <QtGlobal>

// Local time of Croatia (Europe/Zagreb) without a time-zone database: Central European Time,
// one hour ahead of UTC, and Central European Summer Time, two hours ahead, from the last
// Sunday of March 01:00 UTC to the last Sunday of October 01:00 UTC (the European Union's rule
// since 1996). Moments are seconds since 1970-01-01 00:00 UTC.

inline constexpr int kStandardOffsetMinutes = 60;
inline constexpr int kSummerOffsetMinutes = 120;
inline constexpr int kChangeHourUtc = 1;
inline constexpr int kSummerStartMonth = 3;
inline constexpr int kSummerEndMonth = 10;

// The moments summer time starts and ends in a year.
qint64 SummerTimeStart(int year);
qint64 SummerTimeEnd(int year);

// Minutes local time is ahead of UTC at a moment.
int LocalOffsetMinutes(qint64 utc);

// The first change of the offset after `utc` (exclusive).
qint64 NextOffsetChange(qint64 utc);
