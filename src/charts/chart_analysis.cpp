#include "charts/chart_analysis.h"

#include "charts/chart_orientation.h"
#include "charts/trace_reading.h"
#include "charts/trace_unrolling.h"

#include <QElapsedTimer>

#include <algorithm>

ChartAnalysis::ChartAnalysis(Raster disc, const ChartReadingOptions& options)
    : m_disc(std::move(disc))
    , m_options(options)
{
}

void ChartAnalysis::setUp(const ChartGeometry& saved)
{
    m_geometry = saved.cx == 0 ? DefaultChartGeometry(m_disc.width, m_disc.height) : saved;
    int orientationMs = 0;
    const auto roughPos0 = [this, &orientationMs] {
        const OrientationResult orientation = FindChartOrientation(m_disc);
        orientationMs = orientation.elapsedMs;
        return orientation.pos0;
    };
    if (m_options.fineAlignment) {
        const FineFit fine = FineChartGeometry(m_disc, m_geometry, roughPos0);
        m_geometry = fine.geometry;
        m_zeroCheck = fine.zero;
    } else {
        m_geometry.pos0 = roughPos0();
    }
    reanalyse();
    m_durations.orientationMs = orientationMs;
}

void ChartAnalysis::setGeometry(const ChartGeometry& geometry)
{
    m_geometry = geometry;
    reanalyse();
}

void ChartAnalysis::setSplitPoint(int minute)
{
    m_splitPoint = std::clamp(minute, 0, kMinutesPerDay);
    m_days = SplitDays(m_intervals, m_splitPoint);
}

void ChartAnalysis::reanalyse()
{
    m_durations = {};
    QElapsedTimer timer;
    timer.start();
    m_strip = UnrollTrace(m_disc, m_geometry);
    m_durations.unrollingMs = static_cast<int>(timer.restart());
    m_intervals = ReadTraceIntervals(m_strip, m_options);
    if (m_splitIndex < 0)
        m_splitIndex = SplitIndex(m_intervals);
    setSplitPoint(SplitPointAt(m_intervals, m_splitIndex));
    m_durations.readingMs = static_cast<int>(timer.elapsed());
}
