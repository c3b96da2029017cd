#pragma once

#include "charts/raster.h"

#include <cstdint>
#include <vector>

// Synthetic tachograph chart discs for tests: a light paper disc on a darker background with
// a fine minute scale at its rim, printed circles, a centre hole with a pointed notch, and a
// stylus trace whose thickness per minute encodes a known activity. A disc may also be drawn
// as printed discs are: a pear-shaped hole with a slot for a notch, outlined by the shadow of
// the paper's cut edge, and a rim scale of thin 5-minute ticks, longer hour ticks and hour
// numerals.
//
// Sizes are given in "disc-image units": scan intake resamples every disc to a 750-pixel-wide
// disc image, so the disc's radius becomes about 375 of them whatever the scan's resolution.
// In those units the trace ring starts at kTraceInnerUnits, which is R1 of the default
// geometry of a 750 × 750 disc image (R1 = 184, R2 = 197); one unit is one strip row there.

// One interval of the drawn trace: minutes [startMinute, endMinute) of activity 0..3
// (0 rest, 1 availability, 2 other work, 3 driving). Minutes not covered are rest.
struct TraceInterval {
    int startMinute = 0;
    int endMinute = 0;
    int activity = 0;
};

constexpr double kDiscRadiusUnits = 375.0;
constexpr double kTraceInnerUnits = 184.0;
// The trace starts half a row inside R1 and reaches outwards by this many rows, so that the
// reading finds 4 dark rows (availability), 7 (other work) or 13 (driving) from row 1 on;
// rest draws no trace.
double TraceThicknessRows(int activity);

constexpr std::uint32_t kChartBackground = 0xFF6E6E6Eu; // scanner lid, seen through the hole too
constexpr std::uint32_t kChartPaper = 0xFFF2F0EAu;
constexpr std::uint32_t kChartInk = 0xFF4A4A52u;         // printed scales and circles
constexpr std::uint32_t kChartTrace = 0xFF202020u;

// The centre hole: round with a long pointed notch, or pear-shaped with a short slot at the
// narrow end, as printed discs are punched. Either is symmetric about the line towards
// pos0 − 180 degrees.
enum class HoleShape { Wedge, Pear };
// The rim scale: blocks half of each 5 minutes wide, or printed ticks (see above).
enum class RimScale { Blocks, Printed };

struct ChartDiscDrawing {
    double centreX = 0.0; // page pixels
    double centreY = 0.0;
    double radius = 0.0;  // outer edge of the paper disc, page pixels
    double pos0 = 180.0;  // direction of 00:00 in degrees, clockwise on screen
    std::vector<TraceInterval> trace;
    std::uint32_t holeColour = kChartBackground; // what the scanner shows through the centre hole
    HoleShape holeShape = HoleShape::Wedge;
    // The shadow of the paper's cut edges: this many disc-image units inside the hole's edge are
    // drawn in the hole's colour darkened to kShadowShare of it, and as many of the page around
    // the disc are darkened so.
    double holeShadowUnits = 0.0;
    RimScale rimScale = RimScale::Blocks;
    // Degrees by which the printed rim scale is turned against the trace and the hole (a disc
    // printed or punched off its mark).
    double scaleTurn = 0.0;
};

// Each channel of the shadow around the hole, in 256ths of the hole's own.
constexpr int kShadowShare = 140;

// The disc as printed discs are (pear-shaped hole outlined by its shadow, printed rim scale)
// on a scanner lid of the given colour. On a white lid the hole is as light as the paper and
// only its outline shows it.
ChartDiscDrawing PrintedDisc(ChartDiscDrawing disc, bool whiteLid);

// Paints one disc into the page; pixels outside the disc are left as they are.
// Minute m is drawn centred on the angle pos0 + m / 4 degrees, where the reading samples it.
// The centre hole has its notch towards pos0 − 180 degrees, so the longest free ray from the
// centre points there and the orientation estimate gives pos0 back. Printed 5-minute ticks are
// centred on minutes 0, 5, 10, ... (turned by scaleTurn).
void DrawChartDisc(Raster& page, const ChartDiscDrawing& disc);

// A page of the given size cleared to the background with the discs painted on it.
Raster DrawChartPage(int width, int height, const std::vector<ChartDiscDrawing>& discs,
                     std::uint32_t background = kChartBackground);

// One disc, or two discs one above the other, placed on a page of the given size the way a
// flatbed scan of A4 holds them (radius 0.29 of the page width; two discs at a quarter and
// three quarters of the height, one disc at 0.3 of it). Traces and pos0 are left empty/default.
std::vector<ChartDiscDrawing> StackedDiscs(int pageWidth, int pageHeight, int discCount);

// A4 at a given resolution: 210 × 297 mm.
int A4WidthPixels(int dpi);
int A4HeightPixels(int dpi);
