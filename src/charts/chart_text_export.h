#pragma once

#include "charts/day_split.h"

#include <QDateTime>
#include <QStringList>

enum class ChartExportKind {
    WholeChart, // every interval with its day number ("MIRELTOSA||KTS2||")
    Day1,       // the intervals of day 1 only ("MIRELTOSA||KTS||")
    Day2,       // the intervals of day 2 only
};

// The lines of the chart's text export: the header with the time stamp, an empty line, the
// column titles, then one tab-separated line per interval (each ending with a tab).
QStringList ChartExportLines(const std::vector<DayInterval>& intervals, ChartExportKind kind,
                             const QDateTime& now);

// The lines as one text, each followed by CR LF.
QString JoinExportLines(const QStringList& lines);
