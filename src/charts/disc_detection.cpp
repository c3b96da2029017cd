#include "charts/disc_detection.h"

#include "charts/sparse_table.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kRunLength = 4;      // neighbours looked at, and columns (rows) that must hold edges
constexpr int kNeighbourQuorum = 3; // of the kRunLength neighbours
constexpr int kLineQuorum = 4;      // weak edges each following column (row) must hold
constexpr int kBoxMargin = 3;       // reduced pixels added around a found box

int ElapsedMs(const QElapsedTimer& timer) { return static_cast<int>(timer.elapsed()); }

// The Sobel edge strength from the 8 neighbours of a pixel (rows above, at and below; columns
// left, centre and right): |A| + |B| of the vertical and horizontal kernels, capped at 255
// and cut to 0 below zeroBelow.
inline int SobelStrength(int aboveLeft, int above, int aboveRight, int left, int right, int belowLeft, int below,
                         int belowRight, int zeroBelow)
{
    const int a = (belowLeft + 2 * below + belowRight) - (aboveLeft + 2 * above + aboveRight);
    const int b = (aboveLeft + 2 * left + belowLeft) - (aboveRight + 2 * right + belowRight);
    const int v = std::min(std::abs(a) + std::abs(b), 255);
    return v < zeroBelow ? 0 : v;
}

// One byte per pixel: intensities of a picture, or edge strengths.
struct LevelMap {
    int width = 0;
    int height = 0;
    WorkBuffer<std::uint8_t> levels;
};

LevelMap IntensityMap(const Raster& raster)
{
    LevelMap map{raster.width, raster.height, WorkBuffer<std::uint8_t>(raster.pixels.size())};
    std::transform(raster.pixels.begin(), raster.pixels.end(), map.levels.begin(),
                   [](std::uint32_t p) { return static_cast<std::uint8_t>(Intensity(p)); });
    return map;
}

// Sobel edge strengths of an intensity map (see EdgeMap) and the box of the strong ones.
DiscBox SobelEdges(const LevelMap& intensities, LevelMap& edges, int zeroBelow, int boxAbove)
{
    const int w = intensities.width;
    const int h = intensities.height;
    edges = {w, h, WorkBuffer<std::uint8_t>(intensities.levels.size(), 0)}; // border stays 0
    int minX = w, minY = h, maxX = -1, maxY = -1;
    for (int y = 1; y < h - 1; ++y) {
        const std::uint8_t* above = &intensities.levels[static_cast<std::size_t>(y - 1) * w];
        const std::uint8_t* row = above + w;
        const std::uint8_t* below = row + w;
        std::uint8_t* out = &edges.levels[static_cast<std::size_t>(y) * w];
        // Plain arithmetic without branches, so the compiler can vectorise the row.
        for (int x = 1; x < w - 1; ++x) {
            out[x] = static_cast<std::uint8_t>(SobelStrength(above[x - 1], above[x], above[x + 1], row[x - 1], row[x + 1],
                                                             below[x - 1], below[x], below[x + 1], zeroBelow));
        }
        int first = 1;
        while (first < w - 1 && out[first] <= boxAbove)
            ++first;
        if (first >= w - 1)
            continue;
        int last = w - 2;
        while (out[last] <= boxAbove)
            --last;
        minX = std::min(minX, first);
        maxX = std::max(maxX, last);
        minY = std::min(minY, y);
        maxY = y;
    }
    return maxX >= 0 ? DiscBox{minX, minY, maxX, maxY} : DiscBox{};
}

// The edge map of a picture, worked out only where a search looks: the Sobel strength of a
// pixel (as SobelEdges gives it) is computed on its first reading and kept. The disc searches
// look at a few rows and columns near the disc's sides, a small part of the picture.
class LazyEdges {
public:
    LazyEdges(const RasterView& picture, int zeroBelow)
        : width(picture.width()), height(picture.height()), m_picture(picture), m_zeroBelow(zeroBelow),
          m_intensities(width, height), m_edges(width, height)
    {
    }

    const int width;
    const int height;

    int level(int x, int y) const
    {
        std::uint16_t& known = m_edges.at(x, y);
        if (known == kUnknown)
            known = static_cast<std::uint16_t>(strength(x, y) + 1);
        return known - 1;
    }

private:
    // Entries hold a value + 1; 0 marks one not worked out yet.
    static constexpr std::uint16_t kUnknown = 0;

    int intensity(int x, int y) const
    {
        std::uint16_t& known = m_intensities.at(x, y);
        if (known == kUnknown)
            known = static_cast<std::uint16_t>(Intensity(m_picture.pixel(x, y)) + 1);
        return known - 1;
    }

    int strength(int x, int y) const
    {
        if (x == 0 || y == 0 || x == width - 1 || y == height - 1)
            return 0;
        return SobelStrength(intensity(x - 1, y - 1), intensity(x, y - 1), intensity(x + 1, y - 1), intensity(x - 1, y),
                             intensity(x + 1, y), intensity(x - 1, y + 1), intensity(x, y + 1),
                             intensity(x + 1, y + 1), m_zeroBelow);
    }

    const RasterView& m_picture;
    const int m_zeroBelow;
    // Filled in as they are read, also through the const reading functions.
    mutable SparseTable m_intensities;
    mutable SparseTable m_edges;
};

int LevelAt(const Raster& edges, int x, int y) { return Intensity(edges.at(x, y)); }
int LevelAt(const LazyEdges& edges, int x, int y) { return edges.level(x, y); }

// The bounding box of the pixels whose strength exceeds boxAbove (as EdgeMap gives it),
// searched inwards from the picture's sides: the first row from the top and from the bottom,
// then the first column from either side within those rows.
DiscBox StrongEdgeBox(const LazyEdges& edges, int boxAbove)
{
    const int w = edges.width;
    const int h = edges.height;
    const auto rowHolds = [&](int y) {
        for (int x = 1; x < w - 1; ++x) {
            if (edges.level(x, y) > boxAbove)
                return true;
        }
        return false;
    };
    DiscBox box;
    int top = 1;
    while (top < h - 1 && !rowHolds(top))
        ++top;
    if (top >= h - 1)
        return box;
    int bottom = h - 2;
    while (!rowHolds(bottom))
        --bottom;
    const auto columnHolds = [&](int x) {
        for (int y = top; y <= bottom; ++y) {
            if (edges.level(x, y) > boxAbove)
                return true;
        }
        return false;
    };
    int left = 1;
    while (!columnHolds(left))
        ++left;
    int right = w - 2;
    while (!columnHolds(right))
        --right;
    return {left, top, right, bottom};
}

// BandEdgeSearch on an edge map of either kind.
template <typename Edges>
int SearchBand(const Edges& edges, const Band& band, BandSide side)
{
    // "Lines" are columns for the left and right sides, rows for top and bottom; u numbers
    // the lines, v runs along them.
    const bool columns = side == BandSide::Left || side == BandSide::Right;
    const int step = (side == BandSide::Left || side == BandSide::Top) ? 1 : -1;
    const int lineCount = columns ? edges.width : edges.height;
    const int lineLength = columns ? edges.height : edges.width;
    // Pixels outside the raster never count as edges, so the band is clipped to it.
    const int u0 = std::max(columns ? band.x0 : band.y0, 0);
    const int u1 = std::min(columns ? band.x1 : band.y1, lineCount - 1);
    const int v0 = std::max(columns ? band.y0 : band.x0, 0);
    const int v1 = std::min(columns ? band.y1 : band.x1, lineLength - 1);
    if (u0 > u1 || v0 > v1)
        return -1;
    const auto level = [&](int u, int v) { return columns ? LevelAt(edges, u, v) : LevelAt(edges, v, u); };
    // Whether line u holds enough weak edges within the band; worked out once per line.
    std::vector<signed char> holdsEdges(static_cast<std::size_t>(lineCount), -1);
    const auto lineHoldsEdges = [&](int u) {
        if (u < 0 || u >= lineCount)
            return false;
        if (holdsEdges[u] < 0) {
            int count = 0;
            for (int v = v0; v <= v1 && count < kLineQuorum; ++v)
                count += level(u, v) > kWeakEdge;
            holdsEdges[u] = count >= kLineQuorum;
        }
        return holdsEdges[u] == 1;
    };
    const auto neighbourCounts = [&](int n) { return step > 0 ? n < lineCount : n >= 1; };
    const int first = step > 0 ? u0 : u1;
    const int last = step > 0 ? u1 : u0;
    for (int u = first; u != last + step; u += step) {
        for (int v = v0; v <= v1; ++v) {
            if (level(u, v) <= kStrongEdge)
                continue;
            int neighbours = 0;
            for (int i = 1; i <= kRunLength; ++i) {
                const int n = u + step * i;
                neighbours += neighbourCounts(n) && n < lineCount && level(n, v) > kWeakEdge;
            }
            if (neighbours < kNeighbourQuorum)
                continue;
            bool accepted = true;
            for (int k = 1; k <= kRunLength && accepted; ++k)
                accepted = lineHoldsEdges(u + step * k);
            if (accepted)
                return u;
            break; // the following lines decide, not the pixel: no other pixel of u can pass
        }
    }
    return -1;
}

void PaintColumn(Raster& raster, int x, int y0, int y1, std::uint32_t color)
{
    for (int y = y0; y <= y1; ++y)
        SetPixel(raster, x, y, color);
}

void PaintRow(Raster& raster, int y, std::uint32_t color)
{
    for (int x = 0; x < raster.width; ++x)
        SetPixel(raster, x, y, color);
}

bool Found(int side) { return side >= 0; }

// Left and right side of a band.
template <typename Edges>
void ColumnSearch(const Edges& edges, const Band& band, int& left, int& right)
{
    left = SearchBand(edges, band, BandSide::Left);
    right = SearchBand(edges, band, BandSide::Right);
}

template <typename Edges>
void RowSearch(const Edges& edges, const Band& band, int& top, int& bottom)
{
    top = SearchBand(edges, band, BandSide::Top);
    bottom = SearchBand(edges, band, BandSide::Bottom);
}

// Column search of the band, then the row search narrowed to the columns found (the band's
// own columns where a side is missing).
template <typename Edges>
DiscBox SearchSides(const Edges& edges, const DiscBox& band)
{
    DiscBox sides;
    ColumnSearch(edges, {band.left, band.top, band.right, band.bottom}, sides.left, sides.right);
    const int left = Found(sides.left) ? sides.left : band.left;
    const int right = Found(sides.right) ? sides.right : band.right;
    RowSearch(edges, {left, band.top, right, band.bottom}, sides.top, sides.bottom);
    return sides;
}

} // namespace

BoxResult EdgeMap(const Raster& source, Raster& target, int zeroBelow, int boxAbove)
{
    QElapsedTimer timer;
    timer.start();
    LevelMap edges;
    const DiscBox box = SobelEdges(IntensityMap(source), edges, zeroBelow, boxAbove);
    target.width = edges.width;
    target.height = edges.height;
    target.pixels.resize(edges.levels.size());
    std::transform(edges.levels.begin(), edges.levels.end(), target.pixels.begin(),
                   [](std::uint8_t v) { return GreyPixel(v); });
    return {box, ElapsedMs(timer)};
}

int BandEdgeSearch(const Raster& edges, const Band& band, BandSide side)
{
    return SearchBand(edges, band, side);
}

DiscBoxesResult FindDiscBoxes(const Raster& reduced, Raster& edges, GapRows gapRows)
{
    QElapsedTimer timer;
    timer.start();
    DiscBoxesResult result;
    const DiscBox edgeBox = EdgeMap(reduced, edges, kDiscEdgeZeroBelow, kDiscEdgeBoxAbove).box;
    if (!edgeBox.complete()) {
        result.elapsedMs = ElapsedMs(timer);
        return result;
    }
    const int w = edges.width;
    const int h = edges.height;
    const DiscBox sides = SearchSides(edges, edgeBox);
    const int bandLeft = Found(sides.left) ? sides.left : edgeBox.left;
    const int bandRight = Found(sides.right) ? sides.right : edgeBox.right;

    if (Found(sides.left))
        PaintColumn(edges, sides.left, 0, h - 1, kMarkSide);
    if (Found(sides.right))
        PaintColumn(edges, sides.right, 0, h - 1, kMarkSide);
    if (Found(sides.top))
        PaintRow(edges, sides.top, kMarkTopBottom);
    if (Found(sides.bottom))
        PaintRow(edges, sides.bottom, kMarkTopBottom);

    // Gap rows: rows between top and bottom with fewer than 4 weak edges across the band.
    int gapStart = -1;
    int gapEnd = -1;
    int runStart = -1;
    for (int y = sides.top + 1; y <= sides.bottom - 1; ++y) {
        int count = 0;
        for (int x = std::max(bandLeft, 0); x <= std::min(bandRight, w - 1); ++x)
            count += Intensity(edges.at(x, y)) > kWeakEdge;
        const bool gap = count < kLineQuorum;
        if (gapRows == GapRows::FirstToLast) {
            if (gap) {
                if (gapStart < 0)
                    gapStart = y;
                gapEnd = y;
            }
            continue;
        }
        if (!gap) {
            runStart = -1;
            continue;
        }
        if (runStart < 0)
            runStart = y;
        if (y - runStart + 1 >= kMinGapRun && y - runStart > gapEnd - gapStart) {
            gapStart = runStart;
            gapEnd = y;
        }
    }

    if (gapStart < 0) {
        result.first = sides;
        result.count = sides.complete() ? 1 : 0;
        result.elapsedMs = ElapsedMs(timer);
        return result;
    }

    PaintRow(edges, gapStart, kMarkGap);
    PaintRow(edges, gapEnd, kMarkGap);
    const int wideLeft = sides.left - 1 > 0 ? sides.left - 1 : 0;
    const int wideRight = sides.right + 1 < w ? sides.right + 1 : w - 1;
    // Sides of one of the two discs within rows top..bottom of its half; found sides are
    // marked so that they no longer read as edges.
    const auto discSides = [&](int top, int bottom, int& left, int& right) {
        ColumnSearch(edges, {wideLeft, top, wideRight, bottom}, left, right);
        if (Found(left))
            PaintColumn(edges, left, top, bottom - 1, kMarkDiscSide);
        if (Found(right))
            PaintColumn(edges, right, top, bottom - 1, kMarkDiscSide);
    };
    int left1 = -1, right1 = -1, left2 = -1, right2 = -1;
    discSides(sides.top - 1 > 0 ? sides.top - 1 : 0, gapStart + 1 < h ? gapStart + 1 : h - 1, left1, right1);
    discSides(gapEnd - 1 > 0 ? gapEnd - 1 : 0, sides.bottom + 1 < h ? sides.bottom + 1 : h - 1, left2, right2);

    result.first = {left1, sides.top, right1, gapStart};
    result.second = {Found(left2) ? left2 : wideLeft, gapEnd, Found(right2) ? right2 : wideRight, sides.bottom};
    result.count = result.first.complete() && Found(sides.bottom) ? 2 : 0;
    result.elapsedMs = ElapsedMs(timer);
    return result;
}

ReducedSize ReducedScanSize(int width, int height)
{
    ReducedSize size;
    size.scale = std::max(width / double(kDetectionSize), height / double(kDetectionSize));
    size.width = static_cast<int>(width / size.scale);
    size.height = static_cast<int>(height / size.scale);
    return size;
}

DiscBox ScaleReducedBox(const DiscBox& box, double scale)
{
    // nearbyint rounds halves to even in the default rounding mode.
    const auto scaled = [scale](int v) { return static_cast<int>(std::nearbyint(v * scale)); };
    return {scaled(box.left - kBoxMargin), scaled(box.top - kBoxMargin), scaled(box.right + kBoxMargin),
            scaled(box.bottom + kBoxMargin)};
}

std::vector<DiscBox> WholeDiscs(const std::vector<DiscBox>& boxes)
{
    const auto size = [](const DiscBox& box) { return std::max(box.right - box.left, box.bottom - box.top); };
    std::vector<std::size_t> bySize(boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i)
        bySize[i] = i;
    std::stable_sort(bySize.begin(), bySize.end(),
                     [&](std::size_t a, std::size_t b) { return size(boxes[a]) > size(boxes[b]); });
    std::vector<bool> kept(boxes.size(), false);
    for (std::size_t i : bySize) {
        const DiscBox& box = boxes[i];
        bool whole = 2 * size(box) >= size(boxes[bySize.front()]);
        for (std::size_t j = 0; j < boxes.size() && whole; ++j) {
            if (!kept[j])
                continue;
            const DiscBox& disc = boxes[j];
            // Doubled coordinates keep the centres whole.
            const std::int64_t dx = (box.left + box.right) - (disc.left + disc.right);
            const std::int64_t dy = (box.top + box.bottom) - (disc.top + disc.bottom);
            const std::int64_t radius = size(disc);
            whole = dx * dx + dy * dy > radius * radius;
        }
        kept[i] = whole;
    }
    std::vector<DiscBox> discs;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (kept[i])
            discs.push_back(boxes[i]);
    return discs;
}

// Samples along each axis of a reduced pixel for the averaged reduction.
constexpr int kReductionSamples = 2;

namespace {

// FindChartDiscs on its reduced copy, with the reduction's scale.
ChartDiscsResult FindDiscsInReduced(const Raster& reduced, double scale, Sampling reduction, const QElapsedTimer& timer)
{
    ChartDiscsResult result;
    Raster edges;
    const DiscBoxesResult found =
        FindDiscBoxes(reduced, edges, reduction == Sampling::Area ? GapRows::WidestRun : GapRows::FirstToLast);
    std::vector<DiscBox> boxes;
    if (found.count >= 1)
        boxes.push_back(ScaleReducedBox(found.first, scale));
    if (found.count == 2)
        boxes.push_back(ScaleReducedBox(found.second, scale));
    result.boxes = WholeDiscs(boxes);
    result.elapsedMs = ElapsedMs(timer);
    return result;
}

bool ScanSearched(int width, int height)
{
    return width > kDetectionSize && height > kDetectionSize;
}

} // namespace

ChartDiscsResult FindChartDiscs(const Raster& scan, Sampling reduction)
{
    QElapsedTimer timer;
    timer.start();
    if (!ScanSearched(scan.width, scan.height))
        return {{}, ElapsedMs(timer)};
    const ReducedSize size = ReducedScanSize(scan.width, scan.height);
    if (reduction == Sampling::Area)
        return FindDiscsInReduced(WithoutSpecks(SampledMean(scan, size.scale, size.width, size.height, kReductionSamples)),
                                  size.scale, reduction, timer);
    return FindDiscsInReduced(StretchNearest(scan, size.width, size.height), size.scale, reduction, timer);
}

SampledMeanRows AveragedReduction(int scanWidth, int scanHeight)
{
    const ReducedSize size = ReducedScanSize(scanWidth, scanHeight);
    return SampledMeanRows(scanWidth, scanHeight, size.scale, size.width, size.height, kReductionSamples);
}

ChartDiscsResult FindChartDiscs(const SampledMeanRows& averaged, int scanWidth, int scanHeight)
{
    QElapsedTimer timer;
    timer.start();
    if (!ScanSearched(scanWidth, scanHeight))
        return {{}, ElapsedMs(timer)};
    return FindDiscsInReduced(WithoutSpecks(averaged.take()), ReducedScanSize(scanWidth, scanHeight).scale,
                              Sampling::Area, timer);
}

BoxResult RefineDiscBox(const RasterView& cutout)
{
    QElapsedTimer timer;
    timer.start();
    BoxResult result;
    const LazyEdges edges(cutout, kDiscEdgeZeroBelow);
    const DiscBox edgeBox = StrongEdgeBox(edges, kDiscEdgeBoxAbove);
    if (edgeBox.complete())
        result.box = SearchSides(edges, edgeBox);
    result.elapsedMs = ElapsedMs(timer);
    return result;
}

BoxResult RefineDiscBox(const Raster& cutout)
{
    return RefineDiscBox(WholeView(cutout));
}
