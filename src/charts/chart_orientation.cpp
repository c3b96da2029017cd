#include "charts/chart_orientation.h"

#include "charts/disc_detection.h"
#include "common/rounding.h"

#include <QElapsedTimer>

#include <cmath>
#include <numbers>

namespace {

constexpr int kRaysPerDegree = 4;
constexpr int kRayCount = 360 * kRaysPerDegree + 1; // 0 .. 360 inclusive
constexpr int kEdgeAtLeast = 20;
// Edge-map thresholds of the orientation estimate: faint edges count here.
constexpr int kOrientationZeroBelow = 40;
constexpr int kOrientationBoxAbove = 120;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

int FreeLength(const Raster& edgeMap, int cx, int cy, int steps, double angle)
{
    const double cosine = std::cos(angle);
    const double sine = std::sin(angle);
    for (int i = 0; i <= steps; ++i) {
        const int x = cx + static_cast<int>(RoundHalfEven(i * cosine));
        const int y = cy + static_cast<int>(RoundHalfEven(i * sine));
        if (edgeMap.contains(x, y) && Intensity(edgeMap.at(x, y)) >= kEdgeAtLeast)
            return i;
    }
    return steps + 1;
}

} // namespace

double OrientationFromEdgeMap(const Raster& edgeMap)
{
    const int cx = edgeMap.width / 2;
    const int cy = edgeMap.height / 2;
    const int steps = edgeMap.width / 2;
    int bestLength = -1;
    double bestAngle = 0;
    for (int ray = 0; ray < kRayCount; ++ray) {
        const double degrees = static_cast<double>(ray) / kRaysPerDegree;
        const int length = FreeLength(edgeMap, cx, cy, steps, degrees * kRadiansPerDegree);
        if (length > bestLength) {
            bestLength = length;
            bestAngle = degrees;
        }
    }
    const double pos0 = bestAngle + 180;
    return pos0 > 360 ? pos0 - 360 : pos0;
}

OrientationResult FindChartOrientation(const Raster& disc)
{
    QElapsedTimer timer;
    timer.start();
    Raster edges;
    EdgeMap(disc, edges, kOrientationZeroBelow, kOrientationBoxAbove);
    OrientationResult result;
    result.pos0 = OrientationFromEdgeMap(edges);
    result.elapsedMs = static_cast<int>(timer.elapsed());
    return result;
}
