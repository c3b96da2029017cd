#include "charts/fine_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
constexpr int kRimRays = 720;                 // every half degree
constexpr double kRimStep = 1.0;              // pixels along a ray
constexpr double kRimSearchFrom = 1.12;       // times the half-size, outside the disc
constexpr double kRimSearchTo = 0.80;         // times the half-size, inside it
constexpr int kRimPersistence = 6;            // samples (6 pixels, more than a speck) that must all differ
constexpr double kRimMinContrast = 8.0;
constexpr double kRimMaxContrast = 20.0;
constexpr double kRimSide = 3.0;              // pixels either side of an edge to its two levels
constexpr double kRimEdgeStep = 0.25;         // pixels between the samples across an edge
constexpr double kRimAside[] = {0.0, -1.5, 1.5, -3.0, 3.0}; // pixels beside a ray
constexpr int kMinRimPoints = kRimRays / 3;
constexpr int kFitRounds = 4;
constexpr double kMadToSigma = 1.4826;

constexpr double kHoleSearchTo = 0.45;        // times the rim radius
constexpr double kHoleFrom = 3.0;             // pixels from the centre
constexpr double kAxisWindow = 2.0;           // degrees either side of the rough axis
constexpr double kAxisCoarseStep = 0.1;
constexpr double kAxisStep = 0.01;
constexpr double kProfileStep = 0.1;
constexpr double kProfileHalfWidth = 40.0;    // degrees of the hole's profile either side
constexpr double kSymmetryHalfWidth = 35.0;
constexpr double kNotchStep = 0.5;           // degrees between the rays that look for the notch
constexpr int kNotchSmoothing = 2;            // rays either side in the running median
constexpr double kNotchAtLeast = 1.5;         // the notch reaches this much beyond the hole's median
constexpr double kHoleMinContrast = 10.0;
constexpr int kHolePersistence = 3;           // samples (3 pixels) beyond the halfway level
constexpr double kAsymmetryCap = 2.0;         // pixels

double Level(const Raster& disc, double x, double y)
{
    return Intensity(SampleBilinear(disc, x, y));
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The background: the image's corners lie outside a disc that fills it.
double BackgroundLevel(const Raster& disc)
{
    std::vector<double> levels;
    const int size = std::max(2, std::min(disc.width, disc.height) / 40);
    for (const auto& [x0, y0] : std::array<std::pair<int, int>, 4>{
             {{0, 0}, {disc.width - size, 0}, {0, disc.height - size}, {disc.width - size, disc.height - size}}}) {
        for (int y = y0; y < y0 + size; ++y)
            for (int x = x0; x < x0 + size; ++x)
                if (disc.contains(x, y))
                    levels.push_back(Intensity(disc.at(x, y)));
    }
    return Median(levels);
}

struct Circle {
    double x = 0.0;
    double y = 0.0;
    double r = 0.0;
};

// The algebraic least-squares circle through the points (x² + y² + Dx + Ey + F = 0).
bool FitCircle(const std::vector<std::array<double, 2>>& points, Circle& circle)
{
    if (points.size() < 3)
        return false;
    // Centred on the mean, for a well-conditioned system.
    double mx = 0.0;
    double my = 0.0;
    for (const auto& p : points) {
        mx += p[0];
        my += p[1];
    }
    mx /= double(points.size());
    my /= double(points.size());
    double suu = 0, svv = 0, suv = 0, suuu = 0, svvv = 0, suvv = 0, svuu = 0;
    for (const auto& p : points) {
        const double u = p[0] - mx;
        const double v = p[1] - my;
        suu += u * u;
        svv += v * v;
        suv += u * v;
        suuu += u * u * u;
        svvv += v * v * v;
        suvv += u * v * v;
        svuu += v * u * u;
    }
    const double det = suu * svv - suv * suv;
    if (std::abs(det) < 1e-9)
        return false;
    const double a = 0.5 * (suuu + suvv);
    const double b = 0.5 * (svvv + svuu);
    const double uc = (a * svv - b * suv) / det;
    const double vc = (b * suu - a * suv) / det;
    circle.x = uc + mx;
    circle.y = vc + my;
    circle.r = std::sqrt(uc * uc + vc * vc + (suu + svv) / double(points.size()));
    return std::isfinite(circle.r);
}

// Where between two samples the level passes `middle`: 0 at the first, 1 at the second.
double CrossingFraction(double previous, double current, double middle)
{
    const double span = current - previous;
    return std::abs(span) < 1e-9 ? 0.0 : std::clamp((middle - previous) / span, 0.0, 1.0);
}

// The radius of the hole's edge along one ray: where the level first comes halfway from the
// hole's to the paper's and stays like the paper's for a few pixels. A speck of dust in the
// hole is stepped over: it is either too short or far darker than the paper.
double HoleEdge(const Raster& disc, double cx, double cy, double degrees, double reach, double holeLevel, double paper)
{
    const double c = std::cos(degrees * kRadiansPerDegree);
    const double s = std::sin(degrees * kRadiansPerDegree);
    const double half = 0.5 * (holeLevel + paper);
    const double contrast = std::abs(paper - holeLevel);
    const auto beyond = [&](double level) {
        return std::abs(level - paper) <= std::abs(level - holeLevel) && std::abs(level - paper) <= contrast;
    };
    const auto level = [&](double r) { return Level(disc, cx + r * c, cy + r * s); };
    double previous = level(kHoleFrom);
    for (double r = kHoleFrom + kRimStep; r <= reach; r += kRimStep) {
        const double current = level(r);
        if (beyond(current)) {
            bool lasting = true;
            for (int k = 1; k < kHolePersistence && lasting; ++k)
                lasting = beyond(level(r + k * kRimStep));
            if (lasting) {
                return r - kRimStep + CrossingFraction(previous, current, half) * kRimStep;
            }
        }
        previous = current;
    }
    return reach;
}

// What the scanner shows through the hole: the median of rings about the centre (all within
// the hole of a disc that fills its image), which a speck of dust on it does not move.
double HoleLevel(const Raster& disc, double cx, double cy)
{
    std::vector<double> levels;
    for (double r : {4.0, 8.0, 12.0, 16.0})
        for (int degree = 0; degree < 360; degree += 15)
            levels.push_back(Level(disc, cx + r * std::cos(degree * kRadiansPerDegree), cy + r * std::sin(degree * kRadiansPerDegree)));
    return Median(levels);
}

} // namespace

RimFit FitDiscRim(const Raster& disc, double startX, double startY)
{
    RimFit fit;
    if (disc.isEmpty())
        return fit;
    const double half = 0.5 * std::min(disc.width, disc.height);
    const double background = BackgroundLevel(disc);
    // The paper's level: most of a ring well inside the rim is paper.
    std::vector<double> ring;
    for (int i = 0; i < kRimRays; i += 4) {
        const double a = i * (360.0 / kRimRays) * kRadiansPerDegree;
        ring.push_back(Level(disc, startX + 0.86 * half * std::cos(a), startY + 0.86 * half * std::sin(a)));
    }
    const double contrast =
        std::clamp(0.5 * std::abs(Median(ring) - background), kRimMinContrast, kRimMaxContrast);

    std::vector<std::array<double, 2>> points;
    for (int i = 0; i < kRimRays; ++i) {
        const double a = i * (360.0 / kRimRays) * kRadiansPerDegree;
        const double c = std::cos(a);
        const double s = std::sin(a);
        // Samples along the ray and along lines beside it: where the rim scale's ink and paper
        // mix to the lid's own level on the ray, a line beside it still sees the scale.
        // Outside the image counts as background.
        const auto level = [&](double r, double aside) {
            const double x = startX + r * c - aside * s;
            const double y = startY + r * s + aside * c;
            if (x < 0 || y < 0 || x > disc.width - 1 || y > disc.height - 1)
                return background;
            return Level(disc, x, y);
        };
        const auto differs = [&](double r) {
            double most = 0.0;
            for (double aside : kRimAside)
                most = std::max(most, std::abs(level(r, aside) - background));
            return most;
        };
        for (double r = kRimSearchFrom * half - kRimStep; r >= kRimSearchTo * half; r -= kRimStep) {
            if (differs(r) < contrast)
                continue;
            bool lasting = true;
            for (int k = 1; k < kRimPersistence && lasting; ++k)
                lasting = differs(r - k * kRimStep) >= contrast;
            if (!lasting)
                continue;
            // The edge where the level comes halfway from the background just outside it to
            // the disc just inside, on the line that shows the rim best: a soft edge is crossed
            // there whatever its contrast (the paper's, or the rim scale's ink against a dark or
            // a white lid).
            double aside = 0.0;
            double outside = level(r + kRimSide, 0.0);
            double inside = level(r - kRimSide, 0.0);
            for (double other : kRimAside) {
                const double otherOutside = level(r + kRimSide, other);
                const double otherInside = level(r - kRimSide, other);
                if (std::abs(otherInside - otherOutside) > std::abs(inside - outside)) {
                    aside = other;
                    outside = otherOutside;
                    inside = otherInside;
                }
            }
            const double middle = 0.5 * (outside + inside);
            const bool rising = inside > outside;
            double edge = r;
            double previous = outside;
            for (double at = r + kRimSide - kRimEdgeStep; at >= r - kRimSide; at -= kRimEdgeStep) {
                const double current = level(at, aside);
                if (rising ? current >= middle : current <= middle) {
                    edge = at + kRimEdgeStep * (1.0 - CrossingFraction(previous, current, middle));
                    break;
                }
                previous = current;
            }
            points.push_back({startX + edge * c - aside * s, startY + edge * s + aside * c});
            break;
        }
    }

    Circle circle;
    for (int round = 0; round < kFitRounds; ++round) {
        if (static_cast<int>(points.size()) < kMinRimPoints || !FitCircle(points, circle))
            return fit;
        std::vector<double> residuals;
        for (const auto& p : points)
            residuals.push_back(std::abs(std::hypot(p[0] - circle.x, p[1] - circle.y) - circle.r));
        const double limit = std::max(3.0 * kMadToSigma * Median(residuals), 0.75);
        std::vector<std::array<double, 2>> kept;
        for (std::size_t i = 0; i < points.size(); ++i)
            if (residuals[i] <= limit)
                kept.push_back(points[i]);
        if (kept.size() == points.size())
            break;
        points = std::move(kept);
    }
    if (static_cast<int>(points.size()) < kMinRimPoints || !FitCircle(points, circle))
        return fit;
    fit.found = true;
    fit.centreX = circle.x;
    fit.centreY = circle.y;
    fit.radius = circle.r;
    fit.points = static_cast<int>(points.size());
    return fit;
}

double RefineZeroDirection(const Raster& disc, double centreX, double centreY, double pos0)
{
    const double reach = kHoleSearchTo * 0.5 * std::min(disc.width, disc.height);
    // The hole shows what lies behind the disc; the paper is what surrounds it.
    const double holeLevel = HoleLevel(disc, centreX, centreY);
    std::vector<double> ring;
    for (int degree = 0; degree < 360; degree += 3) {
        const double a = degree * kRadiansPerDegree;
        ring.push_back(Level(disc, centreX + 0.6 * reach * std::cos(a), centreY + 0.6 * reach * std::sin(a)));
    }
    const double paper = Median(ring);
    if (std::abs(paper - holeLevel) < kHoleMinContrast)
        return pos0;

    // The notch, all round: where the hole reaches furthest (a running median steps over
    // specks). The rough estimate stands when no notch stands out.
    const int rays = static_cast<int>(std::lround(360.0 / kNotchStep));
    std::vector<double> reachAround(static_cast<std::size_t>(rays));
    for (int i = 0; i < rays; ++i)
        reachAround[static_cast<std::size_t>(i)] = HoleEdge(disc, centreX, centreY, i * kNotchStep, reach, holeLevel, paper);
    double roughAxis = pos0 - 180.0;
    double longest = 0.0;
    for (int i = 0; i < rays; ++i) {
        std::vector<double> window;
        for (int k = -kNotchSmoothing; k <= kNotchSmoothing; ++k)
            window.push_back(reachAround[static_cast<std::size_t>((i + k + rays) % rays)]);
        const double smoothed = Median(window);
        if (smoothed > longest) {
            longest = smoothed;
            roughAxis = i * kNotchStep;
        }
    }
    // A round hole is symmetric about every axis: without a notch that stands out the rough
    // estimate stands.
    if (longest < kNotchAtLeast * Median(reachAround))
        return pos0;

    // The hole's edge every kProfileStep degrees around the rough axis.
    const int profileCount = static_cast<int>(std::lround(2 * kProfileHalfWidth / kProfileStep)) + 1;
    std::vector<double> profile(static_cast<std::size_t>(profileCount));
    const double profileStart = roughAxis - kProfileHalfWidth;
    for (int i = 0; i < profileCount; ++i)
        profile[static_cast<std::size_t>(i)] =
            HoleEdge(disc, centreX, centreY, profileStart + i * kProfileStep, reach, holeLevel, paper);
    const auto at = [&](double degrees) {
        const double index = (degrees - profileStart) / kProfileStep;
        const int i = std::clamp(static_cast<int>(std::floor(index)), 0, profileCount - 2);
        const double t = std::clamp(index - i, 0.0, 1.0);
        return profile[static_cast<std::size_t>(i)] * (1 - t) + profile[static_cast<std::size_t>(i + 1)] * t;
    };

    const auto asymmetry = [&](double axis) {
        double cost = 0.0;
        for (double d = kProfileStep; d <= kSymmetryHalfWidth; d += kProfileStep) {
            // A ray cut short by a speck counts no more than one a few pixels off.
            const double difference = std::min(std::abs(at(axis + d) - at(axis - d)), kAsymmetryCap);
            cost += difference * difference;
        }
        return cost;
    };
    // Coarse steps over the window, then fine ones around the best of them.
    const auto mostSymmetric = [&](double from, double to, double step) {
        double best = from;
        double bestCost = -1.0;
        for (double axis = from; axis <= to + 1e-9; axis += step) {
            const double cost = asymmetry(axis);
            if (bestCost < 0 || cost < bestCost) {
                bestCost = cost;
                best = axis;
            }
        }
        return best;
    };
    const double coarse = mostSymmetric(roughAxis - kAxisWindow, roughAxis + kAxisWindow, kAxisCoarseStep);
    const double bestAxis = mostSymmetric(coarse - kAxisCoarseStep, coarse + kAxisCoarseStep, kAxisStep);
    double refined = std::fmod(bestAxis + 180.0, 360.0);
    if (refined <= 0)
        refined += 360.0;
    return refined;
}

ChartGeometry FineChartGeometry(const Raster& disc, const ChartGeometry& rough)
{
    const RimFit rim = FitDiscRim(disc, rough.centreX(), rough.centreY());
    if (!rim.found)
        return rough;
    ChartGeometry fine = rough;
    fine.cx = static_cast<int>(std::lround(rim.centreX));
    fine.cy = static_cast<int>(std::lround(rim.centreY));
    fine.centreFractionX = rim.centreX - fine.cx;
    fine.centreFractionY = rim.centreY - fine.cy;
    const double inner = rim.radius * kFineInnerFraction;
    fine.r1 = static_cast<int>(std::lround(inner));
    fine.radiusFraction = inner - fine.r1;
    fine.r2 = static_cast<int>(std::lround(rim.radius * kFineOuterFraction - fine.radiusFraction));
    fine.pos0 = RefineZeroDirection(disc, rim.centreX, rim.centreY, rough.pos0);
    return fine;
}
