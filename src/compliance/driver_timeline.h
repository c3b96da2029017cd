#pragma once

#include "entries/activity_interval.h"
#include "entries/activity_kind.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <map>
#include <optional>
#include <vector>

class Transaction;

// Moments of the checks are whole minutes on one absolute scale: the Julian day of the date
// times 1440 plus the minute of the day. Julian day 0 is a Monday, so a week starts at every
// multiple of kMinutesPerWeek.
using Minute = qint64;

inline constexpr Minute kMinutesPerWeek = 7 * kMinutesPerDay;

Minute MinuteOf(const QDate& date);
Minute MinuteOf(const QDate& date, int minuteOfDay);
QDate DateOfMinute(Minute minute);
// The moment as "YYYY-MM-DDTHH:MM" (the midnight that ends a day as 00:00 of the next).
QString IsoMinuteText(Minute minute);
// The moment as "dd.mm.yyyy hh:mm".
QString MinuteText(Minute minute);
// Monday 00:00 of the week the minute lies in.
Minute WeekStart(Minute minute);

// A stretch of time [start, end).
struct Span {
    Minute start = 0;
    Minute end = 0;

    Minute length() const { return end - start; }
    bool overlaps(const Span& other) const { return start < other.end && other.start < end; }
    friend bool operator==(const Span&, const Span&) = default;
};

// One recorded interval of a driver on the absolute scale.
struct TimelineInterval {
    Minute start = 0;
    Minute end = 0;
    ActivityKind kind = ActivityKind::Rest;
    bool multiManning = false;  // crew or co-driver flag of SCP
    NightWindow night;          // NOD and NDO of its entry
};

// A day of a summary entry: its day sums only, no intervals.
struct SummaryDay {
    QDate date;
    int driving = 0;    // S4
    int otherWork = 0;  // S3
    int nightWork = 0;  // N1 + N2: night driving and night other work
};

// What is recorded of one driver over some days: the intervals in any order (overlaps
// allowed) and the summary days.
struct DriverTimeline {
    int driverId = -1;
    std::vector<TimelineInterval> intervals;
    std::vector<SummaryDay> summaries;
};

// Reads the intervals and summary days of every driver (or the one given) whose entry days lie
// from `from` to `to`, both included: an interval's moments are its day's DUNOS.DATUM plus
// TOD and TDO, so TDO beyond 1440 runs into the next day. Intervals of a kind the program
// does not know, or without both times, are left out. One statement whatever the number of
// drivers. Throws DbError.
std::map<int, DriverTimeline> LoadDriverTimelines(Transaction& read, const QDate& from, const QDate& to,
                                                  std::optional<int> driverId);

// A driver of the checks: id and name, by name.
struct CheckedDriver {
    int id = -1;
    QString name;
};
// Every employee (the checks take whoever has entries), by name. Throws DbError.
std::vector<CheckedDriver> LoadCheckedDrivers(Transaction& read);
