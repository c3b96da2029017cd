#pragma once

#include <QString>

// Times of day and durations as the operator reads and types them.
//
// A minute count is a whole number of minutes (a time of day, a duration or a total).
// A clock time is a fraction of a day, 0 <= f < 1; a duration value is a number of days,
// whole days plus a fraction.

inline constexpr int kMinutesPerHour = 60;
inline constexpr int kMinutesPerDay = 24 * kMinutesPerHour;

// "hh:mm" with at least two digits for the hours and no wrap at 24 hours:
// 0 -> "00:00", 1440 -> "24:00", 6000 -> "100:00". A negative count gets a leading '-'.
QString FormatMinutes(int minutes);

// Hours (24 per whole day, at least two digits) and minutes of a duration value:
// 1,5 days -> "36:00". Seconds are dropped. A negative value gets a leading '-'.
QString FormatDuration(double days);

// Reads a typed time ("8", "7,5", "830", "12:30", "7.30", blank) into a clock time between
// 00:00 and 23:59; never 24:00 ("24:00" reads as 23:00), so callers that accept the end of
// the day recognise "24:00" themselves. Throws ConversionError for a text that is not blank
// but has no digit, and for a number that is negative or whose minutes round to 60.
double ParseTimeText(const QString& text);

// Whole minutes between two date-time values (in days), halves to the even neighbour;
// MinutesBetween(f, 0) is the minute count of a clock time f (1 -> 1440).
int MinutesBetween(double a, double b);
