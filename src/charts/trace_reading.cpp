#include "charts/trace_reading.h"

#include <algorithm>
#include <cstdlib>

namespace {

// A strip value below this is trace; two neighbouring trace values may differ by less than
// kMaxStep to count as one stroke.
constexpr int kDarkBelow = 160;
constexpr int kMaxStep = 128;
// The trace must begin within this many rows of the inner radius and be thicker than it.
constexpr int kMaxFirstRow = 3;
constexpr int kMinThickness = 3;
// Rest up to this many minutes is availability when Odmor15 is on.
constexpr int kShortRestMinutes = 15;

// A pixel is dark when it is darker than darkBelow and, when the row before it was dark
// too, close to that row's value (one stroke); a dark pixel after paper starts a stroke.
int ClassifyColumn(const TraceStrip& strip, int column, int darkBelow)
{
    const int h = strip.rows - 1; // rows 0..h-1 are the radii R1..R2
    int dark = 0;
    int firstDark = -1;
    int previous = -1; // value of the row before when it was dark
    for (int row = 1; row < h; ++row) {
        const int v = strip.at(column, row);
        const bool isDark = v < darkBelow && (previous < 0 || std::abs(v - previous) < kMaxStep);
        if (isDark) {
            ++dark;
            if (firstDark < 0)
                firstDark = row;
        }
        previous = isDark ? v : -1;
    }
    if (dark == 0 || firstDark > kMaxFirstRow || dark <= kMinThickness)
        return kRest;
    if (dark <= h / 3)
        return kAvailability;
    if (dark <= 2 * h / 3)
        return kOtherWork;
    return kDriving;
}

// A soft edge of the trace is crossed halfway between the paper's brightness and the
// trace's own; a fixed level nearer the paper counts the soft rows beside the trace too.
int HalfwayLevel(const TraceStrip& strip, int column)
{
    int darkest = TraceStrip::kPaper;
    for (int row = 1; row < strip.rows - 1; ++row)
        darkest = std::min<int>(darkest, strip.at(column, row));
    return std::min(kDarkBelow, (strip.paperLevel + darkest + 1) / 2);
}

} // namespace

MinuteCodes ClassifyMinutes(const TraceStrip& strip)
{
    MinuteCodes codes{};
    for (int x = 0; x < kMinutesPerDay; ++x)
        codes[x] = ClassifyColumn(strip, x, kDarkBelow);
    codes[kMinutesPerDay] = kRest;
    return codes;
}

MinuteCodes ClassifyMinutesFinely(const TraceStrip& strip)
{
    MinuteCodes codes{};
    for (int x = 0; x < kMinutesPerDay; ++x)
        codes[x] = ClassifyColumn(strip, x, HalfwayLevel(strip, x));
    codes[kMinutesPerDay] = kRest;
    return codes;
}

void SmoothMinutes(MinuteCodes& codes, const ChartReadingOptions& options)
{
    if (!options.joinOneMinute && !options.joinToDriving)
        return;
    for (int x = 1; x < kMinutesPerDay; ++x) {
        int c = codes[x];
        const int p = codes[x - 1];
        const int n = codes[x + 1];
        if ((c == kDriving && options.keepShortDriving) || (c == kRest && options.keepShortRest))
            continue;
        if (options.joinToDriving && (p == kDriving || n == kDriving) && c != p && c != n)
            c = codes[x] = kDriving;
        if (options.joinOneMinute && c != p && c != n)
            codes[x] = p;
    }
}

ChartIntervals MinuteRuns(const MinuteCodes& codes)
{
    ChartIntervals runs;
    int start = 0;
    for (int x = 1; x <= kMinutesPerDay; ++x) {
        if (x == kMinutesPerDay || codes[x] != codes[start]) {
            runs.push_back({start, x, codes[start]});
            start = x;
        }
    }
    return runs;
}

void CorrectDisturbances(ChartIntervals& intervals, const ChartReadingOptions& options)
{
    if (!options.correctDisturbances || options.disturbanceMinutes <= 1)
        return;
    for (ChartInterval& interval : intervals) {
        if (interval.length() <= options.disturbanceMinutes && interval.code != kDriving)
            interval.code = kRest;
    }
}

void MergeIntervals(ChartIntervals& intervals, bool keepFirst)
{
    ChartIntervals merged;
    for (const ChartInterval& interval : intervals) {
        const bool absorb = !merged.empty() && merged.back().code == interval.code
            && !(keepFirst && merged.back().start == 0);
        if (absorb)
            merged.back().end = interval.end;
        else
            merged.push_back(interval);
    }
    intervals = std::move(merged);
}

void CorrectShortRests(ChartIntervals& intervals, const ChartReadingOptions& options)
{
    if (!options.shortRestIsAvailability)
        return;
    for (ChartInterval& interval : intervals) {
        if (interval.code == kRest && interval.length() <= kShortRestMinutes)
            interval.code = kAvailability;
    }
    MergeIntervals(intervals, true);
}

ChartIntervals ReadTraceIntervals(const TraceStrip& strip, const ChartReadingOptions& options)
{
    MinuteCodes codes = options.fineAlignment ? ClassifyMinutesFinely(strip) : ClassifyMinutes(strip);
    SmoothMinutes(codes, options);
    ChartIntervals intervals = MinuteRuns(codes);
    CorrectDisturbances(intervals, options);
    MergeIntervals(intervals);
    CorrectShortRests(intervals, options);
    return intervals;
}
