#include "entries/activity_interval.h"

#include "common/decimal_text.h"
#include "common/time_text.h"

#include <algorithm>
#include <limits>

namespace {

// Minutes of [a, b) that lie in [x, y).
int Overlap(int a, int b, int x, int y)
{
    return std::max(0, std::min(b, y) - std::max(a, x));
}

} // namespace

int NightMinutes(int start, int end, int nightFrom, int nightTo)
{
    if (nightFrom > nightTo) {
        // The evening part has no end: it runs on past midnight to the end of the interval.
        return Overlap(start, end, 0, nightTo) + Overlap(start, end, nightFrom, std::max(end, nightFrom));
    }
    return Overlap(start, end, nightFrom, nightTo);
}

IntervalTimes NormaliseMinutes(int fromMinute, int toMinute)
{
    if (fromMinute == 0 && toMinute == 0)
        return IntervalTimes{};
    int end = toMinute == 0 ? kMinutesPerDay : toMinute;
    if (end < fromMinute)
        end += kMinutesPerDay;
    return IntervalTimes{false, fromMinute, end};
}

bool IsEndOfDayText(const QString& typed)
{
    QString digits;
    for (const QChar c : typed) {
        if (c.isDigit())
            digits += c;
    }
    return digits == QLatin1String("2400");
}

IntervalTimes NormaliseInterval(const QString& fromText, const QString& toText)
{
    const int from = MinutesBetween(ParseTimeText(fromText), 0);
    if (IsEndOfDayText(toText))
        return IntervalTimes{false, from, kMinutesPerDay};
    return NormaliseMinutes(from, MinutesBetween(ParseTimeText(toText), 0));
}

int WholeKilometres(Decimal3 kilometres)
{
    if (!kilometres.isWhole() || kilometres.wholePart() > std::numeric_limits<int>::max()
        || kilometres.wholePart() < std::numeric_limits<int>::min())
        return 0;
    return static_cast<int>(kilometres.wholePart());
}

QString ClockText(int minutes)
{
    return FormatMinutes(((minutes % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay);
}

IntervalRow RowFromInterval(const ActivityInterval& interval)
{
    const bool wholeDay = interval.start == 0 && interval.end == kMinutesPerDay;
    return IntervalRow{interval.kind, ClockText(interval.start), wholeDay ? kEndOfDayText : ClockText(interval.end),
                       FormatDecimal(interval.kilometres.toText()), FormatDecimal(interval.litres.toText())};
}

std::vector<ActivityInterval> IntervalsFromRows(std::span<const IntervalRow> rows)
{
    std::vector<ActivityInterval> intervals;
    for (const IntervalRow& row : rows) {
        const IntervalTimes times = NormaliseInterval(row.from, row.to);
        if (!times.counts())
            continue;
        intervals.push_back(ActivityInterval{row.kind, times.start, times.end, Decimal3::fromText(row.kilometres),
                                             Decimal3::fromText(row.litres)});
    }
    return intervals;
}
