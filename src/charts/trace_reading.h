#pragma once

#include "charts/chart_interval.h"
#include "charts/chart_reading_options.h"
#include "charts/trace_strip.h"

#include <array>

// One activity code per minute 0..1440; minute 1440 lies past the strip and is always rest.
using MinuteCodes = std::array<int, kMinutesPerDay + 1>;

// Reads each minute's activity from the trace thickness, measured outwards from the inner
// radius over the strip's first rings (rows 1 .. rows - 2): a thin trace starting near R1 is
// availability, a middle one other work, a wide one driving, none (or one starting further
// out) rest.
MinuteCodes ClassifyMinutes(const TraceStrip& strip);
// The same with the fine reading: a row is dark below the level halfway between the paper and
// the column's darkest row (never above the fixed level), so that the thickness is counted
// where a softened trace's edges lie rather than a row beyond them.
MinuteCodes ClassifyMinutesFinely(const TraceStrip& strip);

// Joins single-minute disturbances to their neighbours as the options say (Min1, MinVoznja,
// NeminVoznja, NeminOdmor), minute by minute in ascending order and in place.
void SmoothMinutes(MinuteCodes& codes, const ChartReadingOptions& options);

// Consecutive minutes 0..1439 of equal code as intervals.
ChartIntervals MinuteRuns(const MinuteCodes& codes);

// SpecKorekt: intervals of at most MinKorekt minutes that are not driving become rest.
void CorrectDisturbances(ChartIntervals& intervals, const ChartReadingOptions& options);

// Each interval absorbs the directly following ones of the same code. With keepFirst the
// interval that starts at minute 0 absorbs nothing.
void MergeIntervals(ChartIntervals& intervals, bool keepFirst = false);

// Odmor15: rest of at most 15 minutes becomes availability; then the list is merged again,
// leaving the interval at minute 0 as it is.
void CorrectShortRests(ChartIntervals& intervals, const ChartReadingOptions& options);

// The whole reading of a strip: classification (the fine one when FinoPoravnaj is on),
// smoothing, runs, corrections and merges.
ChartIntervals ReadTraceIntervals(const TraceStrip& strip, const ChartReadingOptions& options);
