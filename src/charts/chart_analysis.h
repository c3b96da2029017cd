#pragma once

#include "charts/chart_geometry.h"
#include "charts/chart_reading_options.h"
#include "charts/day_split.h"
#include "charts/fine_geometry.h"
#include "charts/raster.h"
#include "charts/trace_strip.h"

#include <QString>

// Milliseconds spent in the steps of the latest set-up or re-analysis.
struct ChartAnalysisDurations {
    int orientationMs = 0; // set-up only
    int unrollingMs = 0;
    int readingMs = 0;
};

// The reading of one chart disc, as a digitisation workspace holds it: the disc image, its
// geometry, the unrolled strip, the intervals read from it, the split point and the days.
// Every geometry change reads the whole chart again.
class ChartAnalysis {
public:
    ChartAnalysis(Raster disc, const ChartReadingOptions& options);

    // Starts from a saved geometry, or from the image's default geometry when none was saved
    // (cx == 0); Pos0 is always estimated from the image (with the fine reading from the
    // centre hole and the rim scale, the longest free ray only where they fail). Then reads the
    // chart.
    void setUp(const ChartGeometry& saved);
    // Re-analysis with a new geometry: strip, intervals, split point and days anew.
    void setGeometry(const ChartGeometry& geometry);
    // A split point chosen by the operator (minutes 0..1440): only the days change.
    void setSplitPoint(int minute);

    const Raster& disc() const { return m_disc; }
    const ChartReadingOptions& options() const { return m_options; }
    const ChartGeometry& geometry() const { return m_geometry; }
    QString caption() const { return GeometryCaption(m_geometry); }
    const TraceStrip& strip() const { return m_strip; }
    const ChartIntervals& intervals() const { return m_intervals; }
    int splitPoint() const { return m_splitPoint; }
    const ChartDays& days() const { return m_days; }
    const ChartAnalysisDurations& durations() const { return m_durations; }
    // How the set-up's fine reading established 00:00 (nothing to check without it).
    const ZeroDirectionCheck& zeroCheck() const { return m_zeroCheck; }

private:
    void reanalyse();

    Raster m_disc;
    ChartReadingOptions m_options;
    ChartGeometry m_geometry;
    TraceStrip m_strip;
    ChartIntervals m_intervals;
    int m_splitIndex = -1; // taken at the first reading, kept for the workspace's lifetime
    int m_splitPoint = 0;
    ChartDays m_days;
    ChartAnalysisDurations m_durations;
    ZeroDirectionCheck m_zeroCheck;
};

// What the workspace's status line and veltra-kts say when 00:00 should be checked.
inline const QString kCheckZeroMessage = QStringLiteral("Provjerite položaj 00:00");
