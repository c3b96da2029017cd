#pragma once

#include "common/decimal3.h"
#include "entries/activity_interval.h"
#include "entries/activity_kind.h"

#include <QString>

#include <array>
#include <span>

// The totals of one entry day, as stored in its DUNOS row.
struct DayTotals {
    // S1..S4: minutes per activity kind, indexed by the kind's code.
    std::array<int, kActivityKindCount> kindMinutes{};
    // All intervals together; above 1440 the day is flagged.
    int totalMinutes = 0;
    int nightWork = 0;      // S5: night minutes of availability, other work and driving
    int nightAll = 0;       // S6: night minutes of all kinds, rest included
    int nightDriving = 0;   // N1
    int nightOtherWork = 0; // N2
    int workStart = 0;      // T1: start of the working day; summary entries only
    int workEnd = 0;        // T2: T1 plus all activity minutes; summary entries only
    int kilometres = 0;     // the intervals' kilometres
    Decimal3 litres;        // the intervals' litres

    int minutes(ActivityKind kind) const { return kindMinutes[static_cast<size_t>(ActivityCode(kind))]; }

    friend bool operator==(const DayTotals&, const DayTotals&) = default;
};

// Totals of a day's intervals with one night window for all of them (manual entry, chart).
// Intervals that do not end after their start count nothing; gaps and overlaps are not checked,
// and overlapping minutes count twice.
DayTotals ComputeDayTotals(std::span<const ActivityInterval> intervals, NightWindow window);
// The same with each interval's own night window (the one stored with its entry), as the day
// graph needs; `windows` holds one window per interval.
DayTotals ComputeDayTotals(std::span<const ActivityInterval> intervals, std::span<const NightWindow> windows);

// Minutes per activity kind by day and by night, indexed by the kind's code: the input of a
// summary entry and what its stored totals are split back into.
struct SummaryMinutes {
    std::array<int, kActivityKindCount> day{};
    std::array<int, kActivityKindCount> night{};

    friend bool operator==(const SummaryMinutes&, const SummaryMinutes&) = default;
};

// Totals of a summary entry whose working day starts at `startMinute`.
DayTotals SummaryToDayTotals(const SummaryMinutes& minutes, int startMinute);
// Splits stored totals (S1..S6, N1, N2) back into day and night minutes per kind.
SummaryMinutes SplitDayTotals(const DayTotals& totals);

// A day above 24 hours of activity is flagged (never refused).
constexpr bool ExceedsOneDay(int totalMinutes)
{
    return totalMinutes > kMinutesPerDay;
}
inline const QString kOverOneDayHint =
    QStringLiteral("Uneseno više od 24 sata aktivnosti! Nemoguće jer je unos za jedan dan!!!");

// The warning line of a summary entry: activity above 24 hours, and a start plus activity
// that ends after midnight. Empty when nothing is wrong.
QString SummaryWarning(int startMinute, int totalMinutes);

// Distance of a day from its odometer readings: KM2 - KM1 when KM2 is the larger, otherwise
// none (0).
Decimal3 DayDistance(Decimal3 km1, Decimal3 km2);
// A start reading above the end reading is flagged (never refused).
constexpr bool OdometerReversed(Decimal3 km1, Decimal3 km2)
{
    return km1 > km2;
}

// The kilometres an average speed is taken from: the intervals' kilometres when there are
// any, otherwise the day's distance. Summary entries always use the distance.
Decimal3 SpeedKilometres(int intervalKilometres, Decimal3 dayDistance);

// Average speed in km/h as shown ("90,00", empty for 0), or "N/A" without driving time.
QString AverageSpeed(Decimal3 kilometres, int drivingMinutes);
