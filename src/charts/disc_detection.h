#pragma once

#include "charts/raster.h"

#include <vector>

// Finding chart discs in a scan by their edges: the printed rim and scales of a disc give
// strong edges, and a band of rows without edges separates two discs stacked one above the
// other. Integer arithmetic throughout; every step reports its own duration in milliseconds.

// A box in pixels of the raster searched, all four sides inclusive; -1 in a side means
// "not found".
struct DiscBox {
    int left = -1;
    int top = -1;
    int right = -1;
    int bottom = -1;

    bool complete() const { return left >= 0 && top >= 0 && right >= 0 && bottom >= 0; }
    bool operator==(const DiscBox&) const = default;
};

// Edge thresholds: a pixel of an edge map counts as a weak edge above 130 and as a strong
// edge above 170 (its intensity; painted marks read through the same formula).
constexpr int kWeakEdge = 130;
constexpr int kStrongEdge = 170;
// EdgeMap thresholds used for finding and refining disc boxes.
constexpr int kDiscEdgeZeroBelow = 110;
constexpr int kDiscEdgeBoxAbove = 150;
// Detection runs on a copy of the scan reduced to at most this many pixels either way;
// smaller scans are not searched.
constexpr int kDetectionSize = 400;

// Marks painted into the edge map by FindDiscBoxes, and what they read as.
constexpr std::uint32_t kMarkSide = 0xFFFF0000u;     // opaque red, reads 60
constexpr std::uint32_t kMarkTopBottom = 0xFF0000FFu; // opaque blue, reads 20
constexpr std::uint32_t kMarkGap = 0xFFFFFF00u;       // opaque yellow, reads 234
constexpr std::uint32_t kMarkDiscSide = 0x00008000u;  // transparent green, reads 87

struct BoxResult {
    DiscBox box;
    int elapsedMs = 0;
};

// Sobel edge map: the target gets the source's size, each pixel opaque grey v = |A| + |B|
// capped at 255 and set to 0 below zeroBelow (0 on the border). Returns the bounding box of
// the pixels with v above boxAbove (all -1 when there is none).
BoxResult EdgeMap(const Raster& source, Raster& target, int zeroBelow, int boxAbove);

// Columns x0..x1 and rows y0..y1 of an edge map, inclusive.
struct Band {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
};

enum class BandSide { Left, Right, Top, Bottom };

// The first column (Left from x0 up, Right from x1 down) or row (Top from y0 down, Bottom
// from y1 up) of the band that holds the side of a disc, or -1: a strong edge pixel with at
// least 3 weak edges among its next 4 pixels further into the band (towards the band's
// inside; for Right and Bottom only pixels at coordinate 1 or more count), and each of the
// next 4 columns (rows) holding at least 4 weak edges within the band.
int BandEdgeSearch(const Raster& edges, const Band& band, BandSide side);

struct DiscBoxesResult {
    int count = 0; // 0, 1 or 2
    DiscBox first; // the upper disc
    DiscBox second;
    int elapsedMs = 0;
};

// Which rows between the top and the bottom separate two discs. FirstToLast: all from the
// first row with fewer than 4 weak edges to the last. WidestRun: the widest run of such rows
// one after another, when it is at least kMinGapRun rows wide; a disc on a white lid shows its
// rim only faintly, so a row or two near its top or bottom may hold hardly any edges without
// being a gap between discs.
enum class GapRows { FirstToLast, WidestRun };
constexpr int kMinGapRun = 3;

// Finds one disc, or two discs one above the other, in a reduced scan (at most 400 × 400).
// The edge map is left in edges with the search's marks painted into it.
// When the lower of two discs shows no left or right side of its own, the side falls back
// to the column just outside the pair's common side, so the disc is not lost.
DiscBoxesResult FindDiscBoxes(const Raster& reduced, Raster& edges, GapRows gapRows = GapRows::FirstToLast);

// Scale of the reduced copy and its size: s = max(W / 400, H / 400), Trunc(W / s) × Trunc(H / s).
struct ReducedSize {
    double scale = 1.0;
    int width = 0;
    int height = 0;
};
ReducedSize ReducedScanSize(int width, int height);

// A box of the reduced copy in scan pixels: 3 pixels wider on every side, times the scale,
// rounded to the nearest integer with halves to even. Not clipped to the scan.
DiscBox ScaleReducedBox(const DiscBox& box, double scale);

// A disc is a disc: of boxes found on one scan, those that hold a disc of their own. Taken by
// size, the largest first, a box is no disc when its size (its longer side) is below half of
// the largest box's, or when its centre lies within the circle of a box already taken (the
// circle its longer side spans about its centre): a piece of a disc's rim scale, or a speck,
// that the search took for a second disc. The boxes kept stay in their order.
std::vector<DiscBox> WholeDiscs(const std::vector<DiscBox>& boxes);

struct ChartDiscsResult {
    std::vector<DiscBox> boxes; // scan pixels, the upper disc first; empty when none was found
    int elapsedMs = 0;
};

// The boxes of the chart discs in a whole scan (none when the scan is 400 pixels or less
// either way), only whole discs (WholeDiscs). Only the reduced copy is searched; with Area it
// is averaged and its specks taken away (WithoutSpecks), so that dust does not pass for edges
// while the thin lines of a disc on a white lid stay, and the discs are told apart by the
// widest run of gap rows.
ChartDiscsResult FindChartDiscs(const Raster& scan, Sampling reduction = Sampling::Nearest);
// The averaging of the reduced copy for Area, to be fed the scan's rows as they are loaded.
SampledMeanRows AveragedReduction(int scanWidth, int scanHeight);
// FindChartDiscs with Area on a scan whose averaged reduction was worked out as it was loaded.
ChartDiscsResult FindChartDiscs(const SampledMeanRows& averaged, int scanWidth, int scanHeight);

// Finds a disc's box again, more tightly, in its cut-out (at most 801 pixels wide): the edge
// map's box narrowed by the column and row searches, whose results are returned as they are,
// -1 where not found. No marks are painted and no caller reads the map afterwards, so it is
// not handed out, and only the parts the searches look at are worked out.
BoxResult RefineDiscBox(const Raster& cutout);
// The same on a cut-out that is only a view of the scan.
BoxResult RefineDiscBox(const RasterView& cutout);
