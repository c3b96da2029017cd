#include "charts/trace_unrolling.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
constexpr int kThresholdRings = 4;
constexpr int kThresholdMargin = 10;
constexpr int kMinutesPerDegree = 4;

int SampleIntensity(const Raster& disc, const ChartGeometry& geometry, double cosine, double sine, int radius)
{
    return Intensity(SampleBilinear(disc, geometry.centreX() + radius * cosine, geometry.centreY() + radius * sine));
}

} // namespace

int StripThreshold(const Raster& disc, const ChartGeometry& geometry)
{
    int sum = 0;
    for (int degree = 0; degree < 360; ++degree) {
        const double angle = degree * kRadiansPerDegree;
        const double cosine = std::cos(angle);
        const double sine = std::sin(angle);
        for (int radius = geometry.r1 - kThresholdRings; radius < geometry.r1; ++radius)
            sum += SampleIntensity(disc, geometry, cosine, sine, radius);
    }
    return sum / (360 * kThresholdRings) - kThresholdMargin;
}

TraceStrip UnrollTrace(const Raster& disc, const ChartGeometry& geometry)
{
    TraceStrip strip;
    strip.rows = std::max(0, geometry.r2 - geometry.r1 + 2);
    strip.values.assign(static_cast<std::size_t>(strip.rows) * TraceStrip::kColumns, TraceStrip::kPaper);
    strip.threshold = StripThreshold(disc, geometry);
    for (int minute = 0; minute < TraceStrip::kColumns; ++minute) {
        const double angle = (geometry.pos0 + static_cast<double>(minute) / kMinutesPerDegree) * kRadiansPerDegree;
        const double cosine = std::cos(angle);
        const double sine = std::sin(angle);
        for (int radius = geometry.r1; radius <= geometry.r2; ++radius) {
            const int v = SampleIntensity(disc, geometry, cosine, sine, radius);
            strip.at(minute, radius - geometry.r1) = v > strip.threshold ? TraceStrip::kPaper : static_cast<std::uint8_t>(v);
        }
    }
    return strip;
}
