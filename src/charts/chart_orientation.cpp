#include "charts/chart_orientation.h"

#include "charts/sparse_table.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>

namespace {

constexpr int kRaysPerDegree = 4;
constexpr int kRayCount = 360 * kRaysPerDegree + 1; // 0 .. 360 inclusive
constexpr int kEdgeAtLeast = 20;
// Edge strengths below this count as no edge in the orientation estimate.
constexpr int kOrientationZeroBelow = 40;
constexpr int kMaxStrength = 255;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// The first longest edge-free ray from the centre of a width × height image, turned by 180
// degrees. strength(x, y) is the edge strength of a point inside the image (the border and
// the outside count as 0).
template <typename Strength>
double LongestFreeRay(int width, int height, Strength strength)
{
    const int cx = width / 2;
    const int cy = height / 2;
    const int steps = width / 2;
    const auto freeLength = [&](double angle) {
        const double cosine = std::cos(angle);
        const double sine = std::sin(angle);
        for (int i = 0; i <= steps; ++i) {
            const int x = cx + RoundHalfToEven(i * cosine);
            const int y = cy + RoundHalfToEven(i * sine);
            if (x >= 0 && y >= 0 && x < width && y < height && strength(x, y) >= kEdgeAtLeast)
                return i;
        }
        return steps + 1;
    };
    int bestLength = -1;
    double bestAngle = 0;
    for (int ray = 0; ray < kRayCount; ++ray) {
        const double degrees = static_cast<double>(ray) / kRaysPerDegree;
        const int length = freeLength(degrees * kRadiansPerDegree);
        if (length > bestLength) {
            bestLength = length;
            bestAngle = degrees;
        }
    }
    const double pos0 = bestAngle + 180;
    return pos0 > 360 ? pos0 - 360 : pos0;
}

// The Sobel edge strength of one pixel, as EdgeMap computes it for every pixel: |A| + |B|
// capped at 255, 0 below the threshold and on the border. The rays stop at the first edge,
// mostly at the centre hole, so they need only a few of the image's strengths.
int SobelStrength(const Raster& image, int x, int y, int zeroBelow)
{
    if (x <= 0 || y <= 0 || x >= image.width - 1 || y >= image.height - 1)
        return 0;
    const auto level = [&](int dx, int dy) { return Intensity(image.at(x + dx, y + dy)); };
    const int a = (level(-1, 1) + 2 * level(0, 1) + level(1, 1)) - (level(-1, -1) + 2 * level(0, -1) + level(1, -1));
    const int b = (level(-1, -1) + 2 * level(-1, 0) + level(-1, 1)) - (level(1, -1) + 2 * level(1, 0) + level(1, 1));
    const int v = std::min(std::abs(a) + std::abs(b), kMaxStrength);
    return v < zeroBelow ? 0 : v;
}

} // namespace

double OrientationFromEdgeMap(const Raster& edgeMap)
{
    return LongestFreeRay(edgeMap.width, edgeMap.height,
                          [&](int x, int y) { return Intensity(edgeMap.at(x, y)); });
}

OrientationResult FindChartOrientation(const Raster& disc)
{
    QElapsedTimer timer;
    timer.start();
    OrientationResult result;
    // All rays start at the centre, so the points near it are read many times: each
    // strength is worked out once, kept as strength + 1 (0 marks one not worked out yet).
    SparseTable strengths(disc.width, disc.height);
    result.pos0 = LongestFreeRay(disc.width, disc.height, [&](int x, int y) {
        std::uint16_t& known = strengths.at(x, y);
        if (known == 0)
            known = static_cast<std::uint16_t>(SobelStrength(disc, x, y, kOrientationZeroBelow) + 1);
        return known - 1;
    });
    result.elapsedMs = static_cast<int>(timer.elapsed());
    return result;
}
