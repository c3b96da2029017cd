#include "charts/day_split.h"

#include <algorithm>
#include <optional>

namespace {

int TotalMinutes(const ChartIntervals& intervals)
{
    int total = 0;
    for (const ChartInterval& interval : intervals)
        total += interval.length();
    return total;
}

} // namespace

int SplitIndex(const ChartIntervals& intervals)
{
    const auto found = std::find_if(intervals.begin(), intervals.end(),
                                    [](const ChartInterval& i) { return i.code != kRest; });
    return found == intervals.end() ? 0 : static_cast<int>(found - intervals.begin());
}

int SplitPointAt(const ChartIntervals& intervals, int splitIndex)
{
    if (splitIndex >= 0 && splitIndex < static_cast<int>(intervals.size()))
        return intervals[splitIndex].start;
    const int first = SplitIndex(intervals);
    return first < static_cast<int>(intervals.size()) ? intervals[first].start : 0;
}

int NextSplitPoint(const ChartIntervals& intervals, int current)
{
    std::optional<int> first;
    for (const ChartInterval& interval : intervals) {
        if (interval.code == kRest)
            continue;
        if (interval.start > current)
            return interval.start;
        if (!first)
            first = interval.start;
    }
    return first.value_or(current);
}

int PreviousSplitPoint(const ChartIntervals& intervals, int current)
{
    std::optional<int> last;
    for (auto interval = intervals.rbegin(); interval != intervals.rend(); ++interval) {
        if (interval->code == kRest)
            continue;
        if (interval->start < current)
            return interval->start;
        if (!last)
            last = interval->start;
    }
    return last.value_or(current);
}

ChartDays SplitDays(const ChartIntervals& intervals, int splitPoint)
{
    ChartIntervals cut = intervals;
    const auto containing = std::find_if(cut.begin(), cut.end(), [&](const ChartInterval& i) {
        return i.start < splitPoint && splitPoint < i.end;
    });
    if (containing != cut.end()) {
        const ChartInterval tail{splitPoint, containing->end, containing->code};
        containing->end = splitPoint;
        cut.insert(containing + 1, tail);
    }

    ChartDays days;
    for (const ChartInterval& interval : cut) {
        const int day = interval.start < splitPoint ? 2 : 1;
        days.all.push_back({interval, day});
        (day == 1 ? days.day1 : days.day2).push_back(interval);
    }
    while (!days.day2.empty() && days.day2.back().code == kRest)
        days.day2.pop_back();
    days.day1Minutes = TotalMinutes(days.day1);
    days.day2Minutes = TotalMinutes(days.day2);
    days.twoDay = !days.day1.empty() && !days.day2.empty();
    return days;
}
