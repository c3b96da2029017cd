#include "chart_drawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Radii of the printed features, as fractions of the disc radius.
constexpr double kHoleFraction = 0.09;
constexpr double kNotchLengthFraction = 0.40;    // from the centre to the notch's tip
constexpr double kNotchHalfWidthFraction = 0.035; // at the hole's edge
constexpr double kScaleInnerFraction = 0.92;      // minute scale out to the rim
constexpr double kScaleMinutes = 5.0;             // one scale tick per 5 minutes
constexpr double kPrintedCircles[] = {0.36, 0.62, 0.80, 0.88};
constexpr double kCircleHalfWidthUnits = 1.5;

// The pear-shaped hole: every disc between the round hole about the centre and a smaller one
// towards the notch (their convex hull), and a slot running on from the smaller one.
constexpr double kPearLobeAtFraction = 0.11;
constexpr double kPearLobeFraction = 0.045;
constexpr double kSlotFromFraction = 0.10;
constexpr double kSlotToFraction = 0.19;
constexpr double kSlotHalfWidthFraction = 0.018;
constexpr int kPearSearchSteps = 40;
// No part of either hole reaches further from the centre.
constexpr double kHoleReachFraction = std::max(kNotchLengthFraction, kSlotToFraction);

// The printed rim scale, in fractions of the disc radius and in disc-image units.
constexpr double kTickFromFraction = 0.945;
constexpr double kHourTickFromFraction = 0.915;
constexpr double kTickToFraction = 0.985;
constexpr double kTickHalfWidthUnits = 0.6;
constexpr double kHourTickHalfWidthUnits = 0.9;
constexpr double kDegreesPerTick = 1.25;
constexpr double kDegreesPerHour = 15.0;
constexpr double kNumeralAtFraction = 0.84;       // the numerals' middle
constexpr double kNumeralHeightUnits = 16.0;
constexpr double kNumeralWidthUnits = 9.0;
constexpr double kNumeralStrokeUnits = 2.2;
constexpr double kNumeralGapUnits = 3.0;

constexpr double kPi = std::numbers::pi;

double Degrees(double radians) { return radians * 180.0 / kPi; }

// Angle from pos0, 0..360, clockwise on screen.
double AngleFrom(double pos0, double dx, double dy)
{
    double a = std::fmod(Degrees(std::atan2(dy, dx)) - pos0, 360.0);
    return a < 0 ? a + 360.0 : a;
}

// Activity of every minute 0..1439 from the intervals (rest where none is given).
std::vector<int> MinuteActivities(const std::vector<TraceInterval>& trace)
{
    std::vector<int> minutes(1440, 0);
    for (const TraceInterval& interval : trace) {
        for (int m = std::max(0, interval.startMinute); m < std::min(1440, interval.endMinute); ++m)
            minutes[m] = interval.activity;
    }
    return minutes;
}

// A point relative to the disc's centre along the notch's axis and across it.
struct AxisPoint {
    double along = 0.0;
    double across = 0.0;
};

AxisPoint OnNotchAxis(const ChartDiscDrawing& disc, double dx, double dy)
{
    const double direction = (disc.pos0 - 180.0) * kPi / 180.0;
    return {dx * std::cos(direction) + dy * std::sin(direction), -dx * std::sin(direction) + dy * std::cos(direction)};
}

bool InWedgeHole(const ChartDiscDrawing& disc, double dx, double dy)
{
    if (std::hypot(dx, dy) < kHoleFraction * disc.radius)
        return true;
    const AxisPoint p = OnNotchAxis(disc, dx, dy);
    const double length = kNotchLengthFraction * disc.radius;
    if (p.along <= 0 || p.along >= length)
        return false;
    // A wedge narrowing from the hole's edge to a point at its tip.
    const double halfWidth = kNotchHalfWidthFraction * disc.radius * (length - p.along)
        / (length - kHoleFraction * disc.radius);
    return std::abs(p.across) < halfWidth;
}

// How far inside the pear-shaped hole a point lies (page pixels; negative outside): the most
// any of the hole's parts leaves it.
double DepthInPearHole(const ChartDiscDrawing& disc, double dx, double dy)
{
    const AxisPoint p = OnNotchAxis(disc, dx, dy);
    const double r = disc.radius;
    // The discs between the two round ends: centre s · lobe distance along the axis, radius
    // from the hole's to the lobe's; the depth is greatest in one of them (a concave function
    // of s, searched by thirds).
    const auto depthInDisc = [&](double s) {
        const double radius = (kHoleFraction + s * (kPearLobeFraction - kHoleFraction)) * r;
        return radius - std::hypot(p.along - s * kPearLobeAtFraction * r, p.across);
    };
    double low = 0.0;
    double high = 1.0;
    for (int i = 0; i < kPearSearchSteps; ++i) {
        const double a = low + (high - low) / 3;
        const double b = high - (high - low) / 3;
        if (depthInDisc(a) < depthInDisc(b))
            low = a;
        else
            high = b;
    }
    const double pear = depthInDisc(0.5 * (low + high));
    const double slot = p.along >= kSlotFromFraction * r
        ? std::min(kSlotHalfWidthFraction * r - std::abs(p.across), kSlotToFraction * r - p.along)
        : -r;
    return std::max(pear, slot);
}

std::uint32_t Darkened(std::uint32_t colour, int share)
{
    std::uint32_t result = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        result |= ((((colour >> shift) & 0xFF) * static_cast<std::uint32_t>(share)) >> 8) << shift;
    return result;
}

// Seven-segment numerals: bit k of a digit's mask is segment "abcdefg"[k].
constexpr int kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

// Whether (x, y) lies on a stroke of the digit drawn in [0, width] × [0, height], y upwards.
bool OnDigit(int digit, double x, double y, double width, double height, double stroke)
{
    if (x < 0 || x > width || y < 0 || y > height)
        return false;
    const int mask = kSegments[digit];
    const bool upper = y >= height / 2;
    const bool on[7] = {
        y >= height - stroke,                    // a, top
        x >= width - stroke && upper,            // b
        x >= width - stroke && !upper,           // c
        y <= stroke,                             // d, bottom
        x <= stroke && !upper,                   // e
        x <= stroke && upper,                    // f
        std::abs(y - height / 2) <= stroke / 2,  // g, middle
    };
    for (int k = 0; k < 7; ++k)
        if ((mask >> k & 1) && on[k])
            return true;
    return false;
}

// Whether a point of the printed rim scale is ink: r in page pixels, angle from the scale's
// 00:00 in degrees, unit page pixels per disc-image unit.
bool OnPrintedScale(double r, double angle, double radius, double unit)
{
    const double hours = angle / kDegreesPerHour;
    const int hour = static_cast<int>(std::lround(hours)) % 24;
    const double fromHour = (hours - std::round(hours)) * kDegreesPerHour;
    const double ticks = angle / kDegreesPerTick;
    const double fromTick = (ticks - std::round(ticks)) * kDegreesPerTick;
    const double toTick = std::abs(r * std::sin(fromTick * kPi / 180.0));
    if (r >= kHourTickFromFraction * radius && r <= kTickToFraction * radius && std::abs(fromHour) < kDegreesPerTick / 2
        && toTick <= kHourTickHalfWidthUnits * unit)
        return true;
    if (r >= kTickFromFraction * radius && r <= kTickToFraction * radius && toTick <= kTickHalfWidthUnits * unit)
        return true;
    // The hour's numeral (24 at 00:00), upright when its hour is at the top: x runs clockwise.
    const int label = hour == 0 ? 24 : hour;
    const int digits = label >= 10 ? 2 : 1;
    const double width = kNumeralWidthUnits * unit;
    const double height = kNumeralHeightUnits * unit;
    const double total = digits * width + (digits - 1) * kNumeralGapUnits * unit;
    const double x = r * fromHour * kPi / 180.0 + total / 2;
    const double y = r - kNumeralAtFraction * radius + height / 2;
    const double stroke = kNumeralStrokeUnits * unit;
    if (digits == 1)
        return OnDigit(label, x, y, width, height, stroke);
    return OnDigit(label / 10, x, y, width, height, stroke)
        || OnDigit(label % 10, x - width - kNumeralGapUnits * unit, y, width, height, stroke);
}

} // namespace

double TraceThicknessRows(int activity)
{
    switch (activity) {
    case 1:
        return 4.5;
    case 2:
        return 7.5;
    case 3:
        return 13.5;
    default:
        return 0.0;
    }
}

ChartDiscDrawing PrintedDisc(ChartDiscDrawing disc, bool whiteLid)
{
    disc.holeShape = HoleShape::Pear;
    disc.holeShadowUnits = 1.5;
    disc.rimScale = RimScale::Printed;
    disc.holeColour = whiteLid ? kChartPaper : kChartBackground;
    return disc;
}

void DrawChartDisc(Raster& page, const ChartDiscDrawing& disc)
{
    const std::vector<int> minutes = MinuteActivities(disc.trace);
    const double unit = disc.radius / kDiscRadiusUnits; // page pixels per disc-image unit
    const double traceStart = (kTraceInnerUnits - 0.5) * unit;
    const double shadow = disc.holeShadowUnits * unit;
    const std::uint32_t shadowColour = Darkened(disc.holeColour, kShadowShare);
    const double reach = disc.radius + shadow;
    const int x0 = std::max(0, static_cast<int>(std::floor(disc.centreX - reach)));
    const int x1 = std::min(page.width - 1, static_cast<int>(std::ceil(disc.centreX + reach)));
    const int y0 = std::max(0, static_cast<int>(std::floor(disc.centreY - reach)));
    const int y1 = std::min(page.height - 1, static_cast<int>(std::ceil(disc.centreY + reach)));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double dx = x - disc.centreX;
            const double dy = y - disc.centreY;
            const double r = std::hypot(dx, dy);
            if (r > disc.radius) {
                // The paper's cut edge casts its shadow on the lid around the disc too.
                if (r <= reach)
                    page.at(x, y) = Darkened(page.at(x, y), kShadowShare);
                continue;
            }
            std::uint32_t color = kChartPaper;
            const double angle = AngleFrom(disc.pos0, dx, dy);
            const double depth = r > kHoleReachFraction * disc.radius ? -1.0
                : disc.holeShape == HoleShape::Pear                  ? DepthInPearHole(disc, dx, dy)
                : InWedgeHole(disc, dx, dy)                          ? disc.radius
                                                                     : -1.0;
            if (depth > 0) {
                color = depth < shadow ? shadowColour : disc.holeColour;
            } else if (disc.rimScale == RimScale::Printed && r >= kNumeralAtFraction * disc.radius - kNumeralHeightUnits * unit) {
                if (OnPrintedScale(r, AngleFrom(disc.pos0 + disc.scaleTurn, dx, dy), disc.radius, unit))
                    color = kChartInk;
                for (double circle : kPrintedCircles) {
                    if (std::abs(r - circle * disc.radius) <= kCircleHalfWidthUnits * unit)
                        color = kChartInk;
                }
            } else if (disc.rimScale == RimScale::Blocks && r >= kScaleInnerFraction * disc.radius) {
                const double tick = std::fmod(angle * 4.0 / kScaleMinutes, 1.0);
                if (tick < 0.5)
                    color = kChartInk;
            } else {
                for (double circle : kPrintedCircles) {
                    if (std::abs(r - circle * disc.radius) <= kCircleHalfWidthUnits * unit)
                        color = kChartInk;
                }
                const int minute = static_cast<int>(std::lround(angle * 4.0)) % 1440;
                const double thickness = TraceThicknessRows(minutes[minute]) * unit;
                if (thickness > 0 && r >= traceStart && r < traceStart + 0.5 * unit + thickness)
                    color = kChartTrace;
            }
            page.at(x, y) = color;
        }
    }
}

Raster DrawChartPage(int width, int height, const std::vector<ChartDiscDrawing>& discs, std::uint32_t background)
{
    Raster page;
    ResizeRaster(page, width, height);
    ClearRaster(page, background);
    for (const ChartDiscDrawing& disc : discs)
        DrawChartDisc(page, disc);
    return page;
}

std::vector<ChartDiscDrawing> StackedDiscs(int pageWidth, int pageHeight, int discCount)
{
    std::vector<ChartDiscDrawing> discs;
    const double radius = 0.29 * pageWidth;
    const std::vector<double> heights = discCount == 1 ? std::vector<double>{0.3} : std::vector<double>{0.25, 0.75};
    for (double h : heights) {
        ChartDiscDrawing disc;
        disc.centreX = pageWidth / 2.0;
        disc.centreY = h * pageHeight;
        disc.radius = radius;
        discs.push_back(disc);
    }
    return discs;
}

int A4WidthPixels(int dpi) { return static_cast<int>(std::lround(210.0 / 25.4 * dpi)); }
int A4HeightPixels(int dpi) { return static_cast<int>(std::lround(297.0 / 25.4 * dpi)); }
