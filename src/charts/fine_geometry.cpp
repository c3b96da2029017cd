#include "charts/fine_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
constexpr int kRimRays = 360;                 // every degree
constexpr double kRimStep = 1.0;              // pixels along a ray
constexpr double kRimCoarseStep = 2.0;        // pixels along a ray through the lid
constexpr int kRimPersistence = 6;            // samples (6 pixels, more than a speck) that must all differ
constexpr double kRimMinContrast = 8.0;
constexpr double kRimMaxContrast = 20.0;
constexpr double kRimSide = 3.0;              // pixels outside an edge to the level beyond it
constexpr double kRimInside = 5.0;            // pixels inside it where the paper is looked for
constexpr double kRimEdgeStep = 0.5;          // pixels between the samples across an edge
constexpr double kRimAside[] = {0.0, -1.5, 1.5, -3.0, 3.0}; // pixels beside a ray
constexpr double kPaperRings[] = {0.3, 0.42, 0.58, 0.7, 0.76, 0.84}; // times the radius looked about
constexpr double kPaperLikeShare = 0.4;       // of the paper's contrast to the background
constexpr double kMinPaperLike = 5.0;
constexpr double kMaxPaperLike = 20.0;
constexpr double kPaperRun = 1.0;             // pixels of paper, more than a transition passing its level
constexpr int kMinRimPoints = kRimRays / 3;
constexpr int kFitRounds = 4;
constexpr double kMadToSigma = 1.4826;

// A disc image is cut to the disc, about its rim or its box: the rim lies this near its half-size.
constexpr double kDiscImageRimSpread = 0.12;

constexpr double kHoleSearchTo = 0.45;        // times the rim radius
constexpr double kHoleFrom = 3.0;             // pixels from the centre
constexpr double kAxisWindow = 3.0;           // degrees either side of the notch's middle
constexpr double kAxisCoarseStep = 0.1;
constexpr double kAxisStep = 0.01;
constexpr double kProfileStep = 0.2;
constexpr double kProfileHalfWidth = 40.0;    // degrees of the hole's profile either side
constexpr double kSymmetryHalfWidth = 35.0;
constexpr double kNotchStep = 0.5;           // degrees between the rays that look for the notch
constexpr int kNotchSmoothing = 10;           // rays either side in the running median (past a speck)
constexpr double kNotchAtLeast = 1.5;         // the notch reaches this much beyond the hole's median
constexpr int kNotchCandidates = 3;
constexpr double kNotchesApart = 20.0;        // degrees beyond one candidate's rays to the next
constexpr double kHoleMinContrast = 10.0;
constexpr int kHolePersistence = 6;           // samples (6 pixels, more than a speck) beyond the halfway level
constexpr double kAsymmetryCap = 2.0;         // pixels
constexpr double kSymmetryKept = 0.8;         // of the pairs of rays, the most alike
// The outline of a hole as light as the paper: darker than the hole by this much, and its
// middle taken over this many pixels before and after where a ray first meets it.
constexpr double kOutlineDepth = 20.0;
constexpr double kOutlineBefore = 2.0;
constexpr double kOutlineAfter = 4.0;
constexpr int kOutlineDips = 3;               // dips along a ray looked at for the outline
constexpr int kOutlineSmoothing = 20;         // rays either side in the median the outline is expected at

// The printed rim scale: rings from kScaleFrom to kScaleTo of the rim's radius, kScaleRingStep
// pixels apart, each read at kBinsPerTick points per 5-minute tick all round and folded onto
// one hour (kTicksPerHour ticks, the hour's bins).
constexpr double kScaleFrom = 0.89;
constexpr double kScaleTo = 0.99;
constexpr double kScaleRingStep = 2.0;
constexpr int kBinsPerTick = 10;
constexpr int kTicksPerHour = 12;
constexpr int kHoursAround = 24;
constexpr int kHourBins = kBinsPerTick * kTicksPerHour;
constexpr int kScaleSamples = kHourBins * kHoursAround;
constexpr double kDegreesPerBin = 360.0 / kScaleSamples;
constexpr double kDegreesPerHour = 15.0;
// A ring shows 5-minute ticks when the fundamental of its tick profile holds this share of
// the profile's variation, with an amplitude of at least kMinTickAmplitude levels; a scale
// needs kMinTickRings such rings.
constexpr double kTickCoherence = 0.5;
constexpr double kMinTickAmplitude = 3.0;
constexpr int kMinTickRings = 2;
// A ring votes for the tick of the hour it shows darkest when that tick is kHourStandout
// levels darker than the median tick of the hour; the winner needs kMinHourVotes levels of
// votes and twice those of any other tick.
constexpr double kHourStandout = 12.0;
constexpr double kMinHourVotes = 40.0;
constexpr double kHourVoteMargin = 2.0;

double Level(const IntensityImage& disc, double x, double y)
{
    return SampleLevel(disc, x, y);
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
double BackgroundLevel(const IntensityImage& disc)
{
    std::vector<double> levels;
    const int size = std::max(2, std::min(disc.width, disc.height) / 40);
    for (const auto& [x0, y0] : std::array<std::pair<int, int>, 4>{
             {{0, 0}, {disc.width - size, 0}, {0, disc.height - size}, {disc.width - size, disc.height - size}}}) {
        for (int y = y0; y < y0 + size; ++y)
            for (int x = x0; x < x0 + size; ++x)
                if (x >= 0 && y >= 0 && x < disc.width && y < disc.height)
                    levels.push_back(disc.at(x, y));
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

// How the hole's edge shows: what the scanner shows through the hole and the paper around it.
// When the two are alike (a white lid), only the outline the paper's cut edge casts shows it.
struct HoleLook {
    double hole = 0.0;
    double paper = 0.0;
    bool outlineOnly = false;
};

// The radius of the hole's edge along one ray: where the level first comes halfway from the
// hole's to the paper's and stays like the paper's for a few pixels. A speck of dust in the
// hole is stepped over: it is either too short or far darker than the paper.
double HoleEdgeByLevel(const IntensityImage& disc, double cx, double cy, double c, double s, double reach,
                       const HoleLook& look)
{
    const double half = 0.5 * (look.hole + look.paper);
    const double contrast = std::abs(look.paper - look.hole);
    const auto beyond = [&](double level) {
        return std::abs(level - look.paper) <= std::abs(level - look.hole) && std::abs(level - look.paper) <= contrast;
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

// The radius of the hole's outline along one ray: the middle of a dip darker than the hole,
// its darkness beyond half the least depth weighting each point. Of the first few dips, the
// one nearest `expected` (where the outline lies along the rays about this one), or without it
// the first: a speck in the hole also makes a dip, nearer the centre.
double HoleEdgeByOutline(const IntensityImage& disc, double cx, double cy, double c, double s, double reach,
                         const HoleLook& look, double expected)
{
    const auto level = [&](double r) { return Level(disc, cx + r * c, cy + r * s); };
    const double dark = look.hole - kOutlineDepth;
    double edge = reach;
    int dips = 0;
    for (double r = kHoleFrom; r <= reach && dips < kOutlineDips; r += kRimStep) {
        if (level(r) >= dark)
            continue;
        double weights = 0.0;
        double weighted = 0.0;
        for (double at = r - kOutlineBefore; at <= r + kOutlineAfter; at += kRimEdgeStep) {
            const double weight = std::max(0.0, look.hole - level(at) - 0.5 * kOutlineDepth);
            weights += weight;
            weighted += weight * at;
        }
        const double middle = weighted / weights;
        if (expected < 0)
            return middle;
        if (dips == 0 || std::abs(middle - expected) < std::abs(edge - expected))
            edge = middle;
        if (middle > expected)
            break;
        ++dips;
        r += kOutlineAfter;
    }
    return edge;
}

// The hole's edge along the ray at `degrees`; `expected` as for HoleEdgeByOutline.
double HoleEdge(const IntensityImage& disc, double cx, double cy, double degrees, double reach, const HoleLook& look,
                double expected = -1.0)
{
    const double c = std::cos(degrees * kRadiansPerDegree);
    const double s = std::sin(degrees * kRadiansPerDegree);
    return look.outlineOnly ? HoleEdgeByOutline(disc, cx, cy, c, s, reach, look, expected)
                            : HoleEdgeByLevel(disc, cx, cy, c, s, reach, look);
}

// What the scanner shows through the hole: the median of rings about the centre (all within
// the hole of a disc that fills its image), which a speck of dust on it does not move.
double HoleLevel(const IntensityImage& disc, double cx, double cy)
{
    std::vector<double> levels;
    for (double r : {4.0, 8.0, 12.0, 16.0})
        for (int degree = 0; degree < 360; degree += 15)
            levels.push_back(Level(disc, cx + r * std::cos(degree * kRadiansPerDegree), cy + r * std::sin(degree * kRadiansPerDegree)));
    return Median(levels);
}

// An angle in degrees brought into (0, 360].
double ZeroToFullCircle(double degrees)
{
    double a = std::fmod(degrees, 360.0);
    if (a <= 0)
        a += 360.0;
    return a;
}

double AngleBetween(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

} // namespace

RimFit FitDiscRim(const IntensityImage& disc, double startX, double startY, double about, double spread)
{
    RimFit fit;
    if (disc.isEmpty())
        return fit;
    const double half = about;
    const double background = BackgroundLevel(disc);
    // The paper's level: most of the disc inside the rim is paper, whatever circles, scales and
    // trace are printed or drawn on it.
    std::vector<double> inside;
    for (double ring : kPaperRings) {
        for (int i = 0; i < kRimRays; i += 4) {
            const double a = i * (360.0 / kRimRays) * kRadiansPerDegree;
            inside.push_back(Level(disc, startX + ring * half * std::cos(a), startY + ring * half * std::sin(a)));
        }
    }
    const double paper = Median(inside);
    const double contrast = std::clamp(0.5 * std::abs(paper - background), kRimMinContrast, kRimMaxContrast);
    // Levels this near the paper's count as paper.
    const double paperLike = std::clamp(kPaperLikeShare * std::abs(paper - background), kMinPaperLike, kMaxPaperLike);

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
        // Coarse steps through the lid along the ray, then back out to the first pixel where
        // the ray or a line beside it differs.
        // (Not beyond a start already found not to last.)
        double outermost = (1 + spread) * half - kRimStep;
        for (double coarse = outermost; coarse >= (1 - spread) * half; coarse -= kRimCoarseStep) {
            if (std::abs(level(coarse, 0.0) - background) < contrast)
                continue;
            double r = coarse;
            while (r + kRimStep <= outermost && differs(r + kRimStep) >= contrast)
                r += kRimStep;
            bool lasting = true;
            for (int k = 1; k < kRimPersistence && lasting; ++k)
                lasting = differs(r - k * kRimStep) >= contrast;
            if (!lasting) {
                outermost = coarse - kRimStep;
                continue;
            }
            // The paper's own edge where it casts a shadow on the lid: on each line, going inwards
            // from just outside to where the paper begins (a pixel like the paper, not an edge
            // passing the paper's level), where the level comes back halfway from the shadow's to
            // the paper's; the outermost such edge of the lines that reach paper near the rim
            // (where the rim scale's ticks end short of the rim, some line passes between them).
            double edge = 0.0;
            double aside = 0.0;
            bool onPaper = false;
            // Each line's levels from kRimSide outside to kRimInside inside, every kRimEdgeStep.
            constexpr int kProfileSamples = static_cast<int>((kRimSide + kRimInside) / kRimEdgeStep) + 1;
            constexpr int kPaperSamples = static_cast<int>(kPaperRun / kRimEdgeStep);
            std::array<double, kProfileSamples> profile{};
            for (double line : kRimAside) {
                for (int k = 0; k < kProfileSamples; ++k)
                    profile[static_cast<std::size_t>(k)] = level(r + kRimSide - k * kRimEdgeStep, line);
                const auto isPaper = [&](int k) {
                    for (int along = 0; along < kPaperSamples; ++along)
                        if (k + along >= kProfileSamples
                            || std::abs(profile[static_cast<std::size_t>(k + along)] - paper) > paperLike)
                            return false;
                    return true;
                };
                int extreme = 0;
                for (int k = 1; k < kProfileSamples; ++k) {
                    const double current = profile[static_cast<std::size_t>(k)];
                    if (!isPaper(k)) {
                        if (std::abs(current - paper) > std::abs(profile[static_cast<std::size_t>(extreme)] - paper))
                            extreme = k;
                        continue;
                    }
                    // Only a shadow between the lid and the paper marks the paper's edge so; a
                    // line that meets ink or a plain step keeps to the edge found below.
                    if (profile[static_cast<std::size_t>(extreme)] > std::min(paper, background) - contrast)
                        break;
                    const double middle = 0.5 * (profile[static_cast<std::size_t>(extreme)] + paper);
                    double crossing = r + kRimSide - k * kRimEdgeStep;
                    for (int back = extreme + 1; back <= k; ++back) {
                        const double backLevel = profile[static_cast<std::size_t>(back)];
                        if (std::abs(backLevel - paper) <= std::abs(middle - paper)) {
                            const double previous = profile[static_cast<std::size_t>(back - 1)];
                            crossing = r + kRimSide - (back - 1 + CrossingFraction(previous, backLevel, middle)) * kRimEdgeStep;
                            break;
                        }
                    }
                    if (!onPaper || crossing > edge) {
                        edge = crossing;
                        aside = line;
                        onPaper = true;
                    }
                    break;
                }
            }
            // Elsewhere (no shadow, or a scale printed out to the rim) the edge on the line that
            // shows the rim best, where the level comes halfway from the background just
            // outside it to the disc just inside: a soft edge is crossed there whatever its
            // contrast (the ink's against a dark or a white lid).
            if (!onPaper) {
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
                edge = r;
                double previous = outside;
                for (double at = r + kRimSide - kRimEdgeStep; at >= r - kRimSide; at -= kRimEdgeStep) {
                    const double current = level(at, aside);
                    if (rising ? current >= middle : current <= middle) {
                        edge = at + kRimEdgeStep * (1.0 - CrossingFraction(previous, current, middle));
                        break;
                    }
                    previous = current;
                }
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

std::optional<double> HoleZeroDirection(const IntensityImage& disc, double centreX, double centreY)
{
    const double reach = kHoleSearchTo * 0.5 * std::min(disc.width, disc.height);
    // The hole shows what lies behind the disc; the paper is what surrounds it.
    HoleLook look;
    look.hole = HoleLevel(disc, centreX, centreY);
    std::vector<double> ring;
    for (int degree = 0; degree < 360; degree += 3) {
        const double a = degree * kRadiansPerDegree;
        ring.push_back(Level(disc, centreX + 0.6 * reach * std::cos(a), centreY + 0.6 * reach * std::sin(a)));
    }
    look.paper = Median(ring);
    look.outlineOnly = std::abs(look.paper - look.hole) < kHoleMinContrast;

    // The notch, all round: where the hole reaches furthest (a running median steps over
    // specks), and the rays about it that reach more than halfway from the hole's median to
    // the furthest. The notch's middle is the middle of those rays: a notch with a square end
    // reaches furthest at its corners, off its axis.
    const int rays = static_cast<int>(std::lround(360.0 / kNotchStep));
    std::vector<double> reachAround(static_cast<std::size_t>(rays));
    for (int i = 0; i < rays; ++i)
        reachAround[static_cast<std::size_t>(i)] = HoleEdge(disc, centreX, centreY, i * kNotchStep, reach, look);
    const auto runningMedian = [rays](const std::vector<double>& values, int either) {
        std::vector<double> smoothed(values.size());
        std::vector<double> window;
        for (int i = 0; i < rays; ++i) {
            window.clear();
            for (int k = -either; k <= either; ++k)
                window.push_back(values[static_cast<std::size_t>((i + k + rays) % rays)]);
            smoothed[static_cast<std::size_t>(i)] = Median(window);
        }
        return smoothed;
    };
    // An outline is read again, each ray taking its dip nearest where the rays about it put it.
    std::vector<double> expected(static_cast<std::size_t>(rays), -1.0);
    if (look.outlineOnly) {
        expected = runningMedian(reachAround, kOutlineSmoothing);
        for (int i = 0; i < rays; ++i)
            reachAround[static_cast<std::size_t>(i)] =
                HoleEdge(disc, centreX, centreY, i * kNotchStep, reach, look, expected[static_cast<std::size_t>(i)]);
    }
    const auto expectedAt = [&](double degrees) {
        const double index = std::fmod(degrees / kNotchStep + 2.0 * rays, double(rays));
        const int i = static_cast<int>(std::floor(index));
        const double t = index - i;
        return expected[static_cast<std::size_t>(i % rays)] * (1 - t) + expected[static_cast<std::size_t>((i + 1) % rays)] * t;
    };
    const std::vector<double> smoothed = runningMedian(reachAround, kNotchSmoothing);
    const double median = Median(reachAround);
    // A round hole is symmetric about every axis: without a notch that stands out (or without
    // any edge) the hole tells nothing. A speck on a hole seen by its outline may open a gap
    // through which rays run on past the hole, so the few furthest places are candidates, and
    // the one the hole is most symmetric about is the notch.
    std::vector<bool> taken(static_cast<std::size_t>(rays), false);
    std::vector<double> middles;
    while (static_cast<int>(middles.size()) < kNotchCandidates) {
        int furthest = -1;
        for (int i = 0; i < rays; ++i)
            if (!taken[static_cast<std::size_t>(i)]
                && (furthest < 0 || smoothed[static_cast<std::size_t>(i)] > smoothed[static_cast<std::size_t>(furthest)]))
                furthest = i;
        if (furthest < 0 || smoothed[static_cast<std::size_t>(furthest)] < kNotchAtLeast * median)
            break;
        const double notchLevel = 0.5 * (smoothed[static_cast<std::size_t>(furthest)] + median);
        const auto inNotch = [&](int i) { return smoothed[static_cast<std::size_t>((i + rays) % rays)] >= notchLevel; };
        int first = furthest;
        int last = furthest;
        while (inNotch(first - 1) && furthest - first < rays / 2)
            --first;
        while (inNotch(last + 1) && last - furthest < rays / 2)
            ++last;
        middles.push_back(0.5 * (first + last) * kNotchStep);
        const int apart = static_cast<int>(std::lround(kNotchesApart / kNotchStep));
        for (int i = first - apart; i <= last + apart; ++i)
            taken[static_cast<std::size_t>((i + rays) % rays)] = true;
    }
    if (middles.empty())
        return std::nullopt;

    // About each candidate, the hole's edge every kProfileStep degrees, and the axis it is most
    // symmetric about: the pairs of rays either side of it that differ most are left out (rays
    // cut short by specks on one side).
    const int profileCount = static_cast<int>(std::lround(2 * kProfileHalfWidth / kProfileStep)) + 1;
    std::vector<double> profile(static_cast<std::size_t>(profileCount));
    std::vector<double> differences;
    double bestAxis = 0.0;
    double bestCost = -1.0;
    for (double middle : middles) {
        const double profileStart = middle - kProfileHalfWidth;
        for (int i = 0; i < profileCount; ++i)
            profile[static_cast<std::size_t>(i)] = HoleEdge(disc, centreX, centreY, profileStart + i * kProfileStep,
                                                            reach, look, expectedAt(profileStart + i * kProfileStep));
        const auto at = [&](double degrees) {
            const double index = (degrees - profileStart) / kProfileStep;
            const int i = std::clamp(static_cast<int>(std::floor(index)), 0, profileCount - 2);
            const double t = std::clamp(index - i, 0.0, 1.0);
            return profile[static_cast<std::size_t>(i)] * (1 - t) + profile[static_cast<std::size_t>(i + 1)] * t;
        };
        const auto asymmetry = [&](double axis) {
            differences.clear();
            for (double d = kProfileStep; d <= kSymmetryHalfWidth; d += kProfileStep) {
                const double difference = std::min(std::abs(at(axis + d) - at(axis - d)), kAsymmetryCap);
                differences.push_back(difference * difference);
            }
            const auto kept = differences.begin()
                + static_cast<std::ptrdiff_t>(std::lround(kSymmetryKept * double(differences.size())));
            std::nth_element(differences.begin(), kept, differences.end());
            double cost = 0.0;
            for (auto d = differences.begin(); d != kept; ++d)
                cost += *d;
            return cost;
        };
        // Coarse steps over the window, then fine ones around the best of them.
        const auto mostSymmetric = [&](double from, double to, double step) {
            std::pair<double, double> best{from, -1.0};
            for (double axis = from; axis <= to + 1e-9; axis += step) {
                const double cost = asymmetry(axis);
                if (best.second < 0 || cost < best.second)
                    best = {axis, cost};
            }
            return best;
        };
        const double coarse = mostSymmetric(middle - kAxisWindow, middle + kAxisWindow, kAxisCoarseStep).first;
        const auto [axis, cost] = mostSymmetric(coarse - kAxisCoarseStep, coarse + kAxisCoarseStep, kAxisStep);
        if (bestCost < 0 || cost < bestCost) {
            bestCost = cost;
            bestAxis = axis;
        }
    }
    return ZeroToFullCircle(bestAxis + 180.0);
}

std::optional<double> RimScaleZeroWithinHour(const IntensityImage& disc, double centreX, double centreY,
                                             double rimRadius)
{
    // The directions of the samples, the same for every ring.
    static const std::vector<std::array<double, 2>> directions = [] {
        std::vector<std::array<double, 2>> around(kScaleSamples);
        for (int j = 0; j < kScaleSamples; ++j)
            around[static_cast<std::size_t>(j)] = {std::cos(j * kDegreesPerBin * kRadiansPerDegree),
                                                  std::sin(j * kDegreesPerBin * kRadiansPerDegree)};
        return around;
    }();
    // Per ring, the darkness of each bin of the hour folded from all 24 hours (against the
    // ring's mean), and the sum of the tick profiles' fundamentals over the rings with ticks.
    std::vector<std::array<double, kHourBins>> rings;
    std::complex<double> ticks;
    int tickRings = 0;
    for (double r = kScaleFrom * rimRadius; r <= kScaleTo * rimRadius; r += kScaleRingStep) {
        std::array<double, kHourBins> darkness{};
        double mean = 0.0;
        for (int j = 0; j < kScaleSamples; ++j) {
            const auto& [c, s] = directions[static_cast<std::size_t>(j)];
            const double level = Level(disc, centreX + r * c, centreY + r * s);
            darkness[static_cast<std::size_t>(j % kHourBins)] -= level;
            mean += level;
        }
        mean /= kScaleSamples;
        for (double& d : darkness)
            d = d / kHoursAround + mean;
        std::array<double, kBinsPerTick> tick{};
        for (int b = 0; b < kHourBins; ++b)
            tick[static_cast<std::size_t>(b % kBinsPerTick)] += darkness[static_cast<std::size_t>(b)] / kTicksPerHour;
        std::complex<double> fundamental;
        double variation = 0.0;
        for (int b = 0; b < kBinsPerTick; ++b) {
            fundamental += tick[static_cast<std::size_t>(b)] * std::polar(1.0, -2.0 * std::numbers::pi * b / kBinsPerTick);
            variation += std::abs(tick[static_cast<std::size_t>(b)]);
        }
        const double amplitude = 2.0 * std::abs(fundamental) / kBinsPerTick;
        if (std::abs(fundamental) >= kTickCoherence * variation && amplitude >= kMinTickAmplitude) {
            ticks += fundamental;
            ++tickRings;
        }
        rings.push_back(darkness);
    }
    if (tickRings < kMinTickRings)
        return std::nullopt;
    // Where the ticks are darkest, in bins of the tick (0 .. kBinsPerTick).
    double tickBin = -std::arg(ticks) * kBinsPerTick / (2.0 * std::numbers::pi);
    if (tickBin < 0)
        tickBin += kBinsPerTick;
    // Which tick of the hour is the hour tick: each ring votes for its darkest tick.
    const auto darknessAt = [](const std::array<double, kHourBins>& darkness, double bin) {
        const int i = static_cast<int>(std::floor(bin));
        const double t = bin - i;
        return darkness[static_cast<std::size_t>(i % kHourBins)] * (1 - t) + darkness[static_cast<std::size_t>((i + 1) % kHourBins)] * t;
    };
    std::array<double, kTicksPerHour> votes{};
    for (const auto& darkness : rings) {
        std::vector<double> ofTick(kTicksPerHour);
        for (int k = 0; k < kTicksPerHour; ++k)
            ofTick[static_cast<std::size_t>(k)] = darknessAt(darkness, tickBin + k * kBinsPerTick);
        const auto darkest = std::max_element(ofTick.begin(), ofTick.end());
        const double standout = *darkest - Median(ofTick);
        if (standout >= kHourStandout)
            votes[static_cast<std::size_t>(darkest - ofTick.begin())] += standout;
    }
    const auto winner = std::max_element(votes.begin(), votes.end());
    double runnerUp = 0.0;
    for (auto v = votes.begin(); v != votes.end(); ++v)
        if (v != winner)
            runnerUp = std::max(runnerUp, *v);
    if (*winner < kMinHourVotes || *winner < kHourVoteMargin * runnerUp)
        return std::nullopt;
    return (tickBin + static_cast<double>(winner - votes.begin()) * kBinsPerTick) * kDegreesPerBin;
}

ZeroDirection WeighZeroWitnesses(double roughPos0, std::optional<double> holeZero,
                                 std::optional<double> scaleZeroWithinHour)
{
    ZeroDirection zero;
    zero.check.holeAxisFound = holeZero.has_value();
    zero.check.holeZero = holeZero.value_or(roughPos0);
    zero.pos0 = zero.check.holeZero;
    if (!scaleZeroWithinHour) {
        zero.check.needsChecking = !holeZero;
        return zero;
    }
    // The hour of the scale whose 00:00 lies nearest the hole's.
    const double hours = std::round((zero.check.holeZero - *scaleZeroWithinHour) / kDegreesPerHour);
    zero.check.scaleFound = true;
    zero.check.scaleZero = ZeroToFullCircle(*scaleZeroWithinHour + hours * kDegreesPerHour);
    const bool agree = AngleBetween(zero.check.scaleZero, zero.check.holeZero) <= kZeroAgreement;
    zero.check.needsChecking = !agree;
    // The scale is the more precise; a rough estimate, quarter degrees from the longest free ray,
    // gives way to it even when they disagree (which is then shown).
    if (agree || !holeZero)
        zero.pos0 = zero.check.scaleZero;
    return zero;
}

FineFit FineChartGeometry(const Raster& disc, const ChartGeometry& start, const std::function<double()>& roughPos0)
{
    const IntensityImage levels = IntensityImageOf(disc);
    const RimFit rim =
        FitDiscRim(levels, start.centreX(), start.centreY(), 0.5 * std::min(disc.width, disc.height), kDiscImageRimSpread);
    FineFit fit{start, {}};
    if (!rim.found) {
        fit.geometry.pos0 = roughPos0();
        fit.zero.holeZero = fit.geometry.pos0;
        fit.zero.needsChecking = true;
        return fit;
    }
    ChartGeometry& fine = fit.geometry;
    fine.cx = static_cast<int>(std::lround(rim.centreX));
    fine.cy = static_cast<int>(std::lround(rim.centreY));
    fine.centreFractionX = rim.centreX - fine.cx;
    fine.centreFractionY = rim.centreY - fine.cy;
    const double inner = rim.radius * kFineInnerFraction;
    fine.r1 = static_cast<int>(std::lround(inner));
    fine.radiusFraction = inner - fine.r1;
    fine.r2 = static_cast<int>(std::lround(rim.radius * kFineOuterFraction - fine.radiusFraction));
    const std::optional<double> hole = HoleZeroDirection(levels, rim.centreX, rim.centreY);
    const ZeroDirection zero = WeighZeroWitnesses(hole ? *hole : roughPos0(), hole,
                                                  RimScaleZeroWithinHour(levels, rim.centreX, rim.centreY, rim.radius));
    fine.pos0 = zero.pos0;
    fit.zero = zero.check;
    return fit;
}
