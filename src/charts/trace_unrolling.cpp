#include "charts/trace_unrolling.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
constexpr int kThresholdRings = 4;
constexpr int kThresholdMargin = 10;
constexpr int kMinutesPerDegree = 4;

int SampleIntensity(const Raster& disc, const ChartGeometry& geometry, double cosine, double sine, double radius)
{
    return Intensity(SampleBilinear(disc, geometry.centreX() + radius * cosine, geometry.centreY() + radius * sine));
}

} // namespace

int PaperLevel(const Raster& disc, const ChartGeometry& geometry)
{
    int sum = 0;
    for (int degree = 0; degree < 360; ++degree) {
        const double angle = degree * kRadiansPerDegree;
        const double cosine = std::cos(angle);
        const double sine = std::sin(angle);
        for (int ring = kThresholdRings; ring > 0; --ring)
            sum += SampleIntensity(disc, geometry, cosine, sine, geometry.innerRadius() - ring);
    }
    return sum / (360 * kThresholdRings);
}

TraceStrip UnrollTrace(const Raster& disc, const ChartGeometry& geometry)
{
    TraceStrip strip;
    strip.rows = std::max(0, geometry.r2 - geometry.r1 + 2);
    strip.values.assign(static_cast<std::size_t>(strip.rows) * TraceStrip::kColumns, TraceStrip::kPaper);
    strip.paperLevel = PaperLevel(disc, geometry);
    strip.threshold = strip.paperLevel - kThresholdMargin;
    for (int minute = 0; minute < TraceStrip::kColumns; ++minute) {
        const double angle = (geometry.pos0 + static_cast<double>(minute) / kMinutesPerDegree) * kRadiansPerDegree;
        const double cosine = std::cos(angle);
        const double sine = std::sin(angle);
        for (int row = 0; row < strip.rows - 1; ++row) {
            const int v = SampleIntensity(disc, geometry, cosine, sine, geometry.innerRadius() + row);
            strip.at(minute, row) = v > strip.threshold ? TraceStrip::kPaper : static_cast<std::uint8_t>(v);
        }
    }
    return strip;
}
