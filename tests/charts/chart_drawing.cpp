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

double Degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

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

bool InNotch(const ChartDiscDrawing& disc, double dx, double dy)
{
    const double direction = (disc.pos0 - 180.0) * std::numbers::pi / 180.0;
    const double along = dx * std::cos(direction) + dy * std::sin(direction);
    const double across = -dx * std::sin(direction) + dy * std::cos(direction);
    const double length = kNotchLengthFraction * disc.radius;
    if (along <= 0 || along >= length)
        return false;
    // A wedge narrowing from the hole's edge to a point at its tip.
    const double halfWidth = kNotchHalfWidthFraction * disc.radius * (length - along)
        / (length - kHoleFraction * disc.radius);
    return std::abs(across) < halfWidth;
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

void DrawChartDisc(Raster& page, const ChartDiscDrawing& disc)
{
    const std::vector<int> minutes = MinuteActivities(disc.trace);
    const double unit = disc.radius / kDiscRadiusUnits; // page pixels per disc-image unit
    const double traceStart = (kTraceInnerUnits - 0.5) * unit;
    const int x0 = std::max(0, static_cast<int>(std::floor(disc.centreX - disc.radius)));
    const int x1 = std::min(page.width - 1, static_cast<int>(std::ceil(disc.centreX + disc.radius)));
    const int y0 = std::max(0, static_cast<int>(std::floor(disc.centreY - disc.radius)));
    const int y1 = std::min(page.height - 1, static_cast<int>(std::ceil(disc.centreY + disc.radius)));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double dx = x - disc.centreX;
            const double dy = y - disc.centreY;
            const double r = std::hypot(dx, dy);
            if (r > disc.radius)
                continue;
            std::uint32_t color = kChartPaper;
            const double angle = AngleFrom(disc.pos0, dx, dy);
            if (r < kHoleFraction * disc.radius || InNotch(disc, dx, dy)) {
                color = disc.holeColour;
            } else if (r >= kScaleInnerFraction * disc.radius) {
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
