#pragma once

#include "chart_drawing.h"
#include "charts/chart_interval.h"

#include <QString>
#include <QStringList>

#include <cstdlib>

// A disc image of 750 pixels has less than a pixel of arc per minute at the trace ring
// (2π × 190 / 1440 ≈ 0.83), so a boundary between two drawn activities reads up to a minute
// early or late, and an estimated Pos0 (quarter-degree rays) moves every boundary by up to
// two minutes more. A reading matches a drawn trace when it has the same activities in the
// same order and each boundary lies within the tolerance of the drawn one.

inline QString DescribeIntervals(const ChartIntervals& intervals)
{
    QStringList parts;
    for (const ChartInterval& i : intervals)
        parts << QStringLiteral("%1-%2:%3").arg(i.start).arg(i.end).arg(i.code);
    return parts.join(QLatin1Char(' '));
}

inline ChartIntervals FromTrace(const std::vector<TraceInterval>& trace)
{
    ChartIntervals intervals;
    for (const TraceInterval& t : trace)
        intervals.push_back({t.startMinute, t.endMinute, t.activity});
    return intervals;
}

// Empty when the reading matches, else both lists for the failure message.
inline QString MismatchWithTrace(const ChartIntervals& read, const std::vector<TraceInterval>& drawn, int tolerance)
{
    const ChartIntervals expected = FromTrace(drawn);
    bool matches = read.size() == expected.size();
    for (std::size_t i = 0; matches && i < read.size(); ++i) {
        matches = read[i].code == expected[i].code && std::abs(read[i].start - expected[i].start) <= tolerance
            && std::abs(read[i].end - expected[i].end) <= tolerance;
    }
    return matches ? QString()
                   : QStringLiteral("read %1, drawn %2").arg(DescribeIntervals(read), DescribeIntervals(expected));
}
