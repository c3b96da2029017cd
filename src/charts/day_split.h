#pragma once

#include "charts/chart_interval.h"

// An interval of the chart grid with the calendar day it belongs to (1 or 2).
struct DayInterval {
    ChartInterval interval;
    int day = 1;

    bool operator==(const DayInterval&) const = default;
};

// A chart cut at its split point into its two calendar days.
struct ChartDays {
    std::vector<DayInterval> all; // every interval with its day number, in order
    ChartIntervals day1;          // intervals starting at or after the split point
    ChartIntervals day2;          // intervals starting before it, trailing rest removed
    int day1Minutes = 0;
    int day2Minutes = 0;
    bool twoDay = false;          // both days hold intervals
};

// The index of the first interval that is not rest (0 when there is none); a workspace
// remembers it at its first reading.
int SplitIndex(const ChartIntervals& intervals);
// The start of the interval at the remembered index; when the list has become shorter, the
// start of its first interval that is not rest, or 00:00.
int SplitPointAt(const ChartIntervals& intervals, int splitIndex);

// The split-point buttons: the start of the first interval after `current` that is not rest,
// else of the first such interval at all; and the start of the last one before `current`, else
// of the last one at all. `current` when the chart holds nothing but rest.
int NextSplitPoint(const ChartIntervals& intervals, int current);
int PreviousSplitPoint(const ChartIntervals& intervals, int current);

// Cuts the interval that strictly contains the split point and assigns the days: intervals
// starting before the split point belong to the following calendar day.
ChartDays SplitDays(const ChartIntervals& intervals, int splitPoint);
