#include "charts/raster.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <mutex>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <sys/mman.h>

// An AVX2 copy of a hot loop beside the plain one, chosen at start by the processor. GCC only:
// clang's clones of a function that is not inline leave it undefined for other files.
#if defined(__GNUC__) && !defined(__clang__)
#define VELTRA_AVX2_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define VELTRA_AVX2_CLONES
#endif

namespace {

// The source index of each of count target positions when length source positions from start
// on are resampled to count positions (start + i · length / count), -1 where that lies outside
// 0..limit - 1.
std::vector<int> NearestIndices(int start, int length, int count, int limit)
{
    std::vector<int> indices(static_cast<std::size_t>(std::max(count, 0)), -1);
    if (length <= 0)
        return indices;
    for (int i = 0; i < count; ++i) {
        const auto index = start + static_cast<std::int64_t>(i) * length / count;
        if (index >= 0 && index < limit)
            indices[i] = static_cast<int>(index);
    }
    return indices;
}

// The share of a target pixel a source pixel covers, in 128ths down (so that a byte times
// the weights of a target row fits a signed 16-bit number) and 4096ths across: the weights of
// one target pixel add up to these where it lies wholly on the source.
constexpr int kRowWeightOne = 128;
constexpr int kColumnWeightOne = 4096;
// A target pixel's sums are in (128 · 4096)ths of a level.
constexpr int kAreaShift = 19;
static_assert(kRowWeightOne * kColumnWeightOne == 1 << kAreaShift);

// The source pixels under each target pixel along one axis, with the part of the target pixel
// each covers; pixels outside 0..limit - 1 are left out (they read as black).
struct AreaTaps {
    std::vector<int> first;   // per target pixel: its first source pixel
    std::vector<int> offsets; // per target pixel and one more: where its weights start
    std::vector<std::uint16_t> weights;
};

AreaTaps AreaTapsAlong(double start, double step, int count, int limit, int one)
{
    AreaTaps taps;
    taps.first.reserve(static_cast<std::size_t>(count));
    taps.offsets.reserve(static_cast<std::size_t>(count) + 1);
    for (int i = 0; i < count; ++i) {
        const double from = start + i * step;
        const double to = from + step;
        const int lowest = std::max(0, static_cast<int>(std::floor(from)));
        const int highest = std::min(limit - 1, static_cast<int>(std::ceil(to)) - 1);
        taps.first.push_back(lowest <= highest ? lowest : 0);
        taps.offsets.push_back(static_cast<int>(taps.weights.size()));
        // Rounded as running totals, so that the weights of a whole pixel add up to `one`.
        double covered = 0.0;
        int given = 0;
        for (int j = lowest; j <= highest; ++j) {
            covered += (std::min(to, j + 1.0) - std::max(from, double(j))) / step;
            const int total = static_cast<int>(std::lround(covered * one));
            taps.weights.push_back(static_cast<std::uint16_t>(total - given));
            given = total;
        }
    }
    taps.offsets.push_back(static_cast<int>(taps.weights.size()));
    return taps;
}

// Where the red, green and blue bytes of a pixel lie in memory.
constexpr bool kLittleEndian = std::endian::native == std::endian::little;
constexpr int kRedByte = kLittleEndian ? 2 : 1;
constexpr int kGreenByte = kLittleEndian ? 1 : 2;
constexpr int kBlueByte = kLittleEndian ? 0 : 3;

} // namespace

namespace {

constexpr std::size_t kLargePage = std::size_t(2) << 20;
constexpr std::size_t kSmallPage = 4096;

// A buffer's size in whole large pages, or in small ones below a large page.
std::size_t WholePages(std::size_t bytes)
{
    const std::size_t page = bytes >= kLargePage ? kLargePage : kSmallPage;
    return (bytes + page - 1) / page * page;
}

// Large buffers let go are kept for the next ones of their size (disc images and the like,
// a few for every scan), so that a run of scans reuses memory the process already has: fresh
// memory costs the system as much as the work done in it. Buffers larger than kMaxKeptBuffer
// (a scan has its own pool) or beyond kMaxKeptBytes in all are given back.
class LargeBufferStore {
public:
    static constexpr std::size_t kMaxKeptBuffer = std::size_t(8) << 20;
    static constexpr std::size_t kMaxKeptBytes = std::size_t(48) << 20;

    void* take(std::size_t size)
    {
        const std::lock_guard lock(m_mutex);
        for (auto kept = m_kept.begin(); kept != m_kept.end(); ++kept) {
            if (kept->first == size) {
                void* buffer = kept->second;
                m_keptBytes -= size;
                m_kept.erase(kept);
                return buffer;
            }
        }
        return nullptr;
    }

    bool keep(void* buffer, std::size_t size)
    {
        if (size > kMaxKeptBuffer)
            return false;
        const std::lock_guard lock(m_mutex);
        if (m_keptBytes + size > kMaxKeptBytes)
            return false;
        m_kept.emplace_back(size, buffer);
        m_keptBytes += size;
        return true;
    }

private:
    std::mutex m_mutex;
    std::vector<std::pair<std::size_t, void*>> m_kept;
    std::size_t m_keptBytes = 0;
};

// The store lives until the process ends: objects destroyed at exit (a pool of scan rasters
// made before it) still let their buffers go into it.
LargeBufferStore& LargeBuffers()
{
    static LargeBufferStore* const store = new LargeBufferStore;
    return *store;
}

} // namespace

void* AllocateLargeBuffer(std::size_t bytes) noexcept
{
    const std::size_t size = WholePages(bytes);
    if (void* kept = LargeBuffers().take(size))
        return kept;
    if (size < kLargePage)
        return std::aligned_alloc(kSmallPage, size);
    void* buffer = std::aligned_alloc(kLargePage, size);
    if (buffer)
        ::madvise(buffer, size, MADV_HUGEPAGE); // a wish: without large pages it does nothing
    return buffer;
}

void FreeLargeBuffer(void* buffer, std::size_t bytes) noexcept
{
    if (buffer && !LargeBuffers().keep(buffer, WholePages(bytes)))
        std::free(buffer);
}

void ResizeRaster(Raster& raster, int width, int height)
{
    raster.width = std::max(width, 0);
    raster.height = std::max(height, 0);
    raster.pixels.assign(static_cast<std::size_t>(raster.width) * raster.height, kOpaqueBlack);
}

void EmptyRaster(Raster& raster)
{
    raster.width = 0;
    raster.height = 0;
    raster.pixels.clear();
}

void AllocateRaster(Raster& raster, int width, int height)
{
    raster.width = std::max(width, 0);
    raster.height = std::max(height, 0);
    raster.pixels.clear();
    raster.pixels.resize(static_cast<std::size_t>(raster.width) * raster.height);
}

RasterPagesAhead::RasterPagesAhead(Raster& raster, bool fresh)
{
    if (!fresh || raster.pixels.size() * sizeof(std::uint32_t) < kLargeBufferBytes)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(raster.pixels.data());
    const std::size_t bytes = raster.pixels.size() * sizeof(std::uint32_t);
    if (start % kSmallPage != 0)
        return;
    m_toucher = std::thread([start, bytes] {
        // The system readies the pages as if they were written, without touching what the
        // writer may have put there already; a large page at a time, from the top.
        for (std::uintptr_t at = start; at < start + bytes; at += kLargePage) {
            if (::madvise(reinterpret_cast<void*>(at), std::min<std::uintptr_t>(kLargePage, start + bytes - at),
                          MADV_POPULATE_WRITE) != 0)
                return; // not known to this system, or no memory: the writer readies them itself
        }
    });
}

RasterPagesAhead::~RasterPagesAhead()
{
    if (m_toucher.joinable())
        m_toucher.join();
}

void ClearRaster(Raster& raster, std::uint32_t color)
{
    std::fill(raster.pixels.begin(), raster.pixels.end(), color);
}

std::uint32_t GetPixel(const Raster& raster, int x, int y)
{
    return raster.contains(x, y) ? raster.at(x, y) : kOpaqueBlack;
}

void SetPixel(Raster& raster, int x, int y, std::uint32_t color)
{
    if (raster.contains(x, y))
        raster.at(x, y) = color;
}

Raster CopyRect(const Raster& source, int left, int top, int width, int height)
{
    Raster target;
    ResizeRaster(target, width, height);
    // Only the part of the rectangle that overlaps the source is copied; the rest stays black.
    const int x0 = std::max(0, -left);
    const int x1 = std::min(target.width, source.width - left);
    const int y0 = std::max(0, -top);
    const int y1 = std::min(target.height, source.height - top);
    for (int y = y0; y < y1; ++y) {
        const std::uint32_t* from = source.row(top + y) + left + x0;
        std::copy(from, from + (x1 - x0), target.row(y) + x0);
    }
    return target;
}

Raster StretchNearest(const Raster& source, int width, int height)
{
    return StretchRectNearest(source, 0, 0, source.width, source.height, width, height);
}

Raster StretchRectNearest(const Raster& source, int left, int top, int rectWidth, int rectHeight,
                          int width, int height)
{
    return ViewToRaster(StretchedView(source, left, top, rectWidth, rectHeight, width, height));
}

RasterView WholeView(const Raster& source)
{
    return StretchedView(source, 0, 0, source.width, source.height, source.width, source.height);
}

RasterView StretchedView(const Raster& source, int left, int top, int rectWidth, int rectHeight, int width,
                         int height)
{
    return {&source, NearestIndices(left, rectWidth, width, source.width),
            NearestIndices(top, rectHeight, height, source.height)};
}

RasterView StretchedView(const RasterView& view, int left, int top, int rectWidth, int rectHeight, int width,
                         int height)
{
    // Indices into the view, then through the view's own indices into its source.
    const auto through = [](std::vector<int> indices, const std::vector<int>& viewIndices) {
        for (int& i : indices)
            i = i >= 0 ? viewIndices[i] : -1;
        return indices;
    };
    return {view.source, through(NearestIndices(left, rectWidth, width, view.width()), view.columns),
            through(NearestIndices(top, rectHeight, height, view.height()), view.rows)};
}

Raster ViewToRaster(const RasterView& view)
{
    Raster target;
    target.width = view.width();
    target.height = view.height();
    // Every pixel is written below, so the pixels are not cleared first.
    target.pixels.resize(static_cast<std::size_t>(target.width) * target.height);
    for (int y = 0; y < target.height; ++y) {
        std::uint32_t* targetRow = target.row(y);
        if (view.rows[y] < 0) {
            std::fill(targetRow, targetRow + target.width, kOpaqueBlack);
            continue;
        }
        const std::uint32_t* sourceRow = view.source->row(view.rows[y]);
        for (int x = 0; x < target.width; ++x)
            targetRow[x] = view.columns[x] >= 0 ? sourceRow[view.columns[x]] : kOpaqueBlack;
    }
    return target;
}

std::uint32_t SampleBilinear256(const Raster& raster, int x256, int y256)
{
    const int x = x256 >> 8; // arithmetic shift: floor also for negative coordinates
    const int y = y256 >> 8;
    const std::uint32_t fx = static_cast<std::uint32_t>(x256 & 0xFF);
    const std::uint32_t fy = static_cast<std::uint32_t>(y256 & 0xFF);
    // Inside the raster (nearly every sample) the four pixels are read without a check each.
    const bool inside = x >= 0 && y >= 0 && x + 1 < raster.width && y + 1 < raster.height;
    const std::uint32_t* upperRow = inside ? raster.row(y) : nullptr;
    const std::uint32_t* lowerRow = inside ? upperRow + raster.width : nullptr;
    const std::uint32_t p00 = inside ? upperRow[x] : GetPixel(raster, x, y);
    const std::uint32_t p10 = inside ? upperRow[x + 1] : GetPixel(raster, x + 1, y);
    const std::uint32_t p01 = inside ? lowerRow[x] : GetPixel(raster, x, y + 1);
    const std::uint32_t p11 = inside ? lowerRow[x + 1] : GetPixel(raster, x + 1, y + 1);
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t c00 = (p00 >> shift) & 0xFF;
        const std::uint32_t c10 = (p10 >> shift) & 0xFF;
        const std::uint32_t c01 = (p01 >> shift) & 0xFF;
        const std::uint32_t c11 = (p11 >> shift) & 0xFF;
        const std::uint32_t upper = c00 * (256 - fx) + c10 * fx;
        const std::uint32_t lower = c01 * (256 - fx) + c11 * fx;
        const std::uint32_t blended = (upper * (256 - fy) + lower * fy) >> 16;
        result |= blended << shift;
    }
    return result;
}

std::uint32_t SampleBilinear(const Raster& raster, double x, double y)
{
    // Points this far out read as black anyway; the clamp keeps the conversion defined.
    static constexpr double kFarOut = 1 << 22;
    if (std::isnan(x) || std::isnan(y))
        return kOpaqueBlack;
    const auto to256 = [](double v) {
        return RoundHalfToEven(std::clamp(v, -kFarOut, kFarOut) * 256.0);
    };
    return SampleBilinear256(raster, to256(x), to256(y));
}

// One target pixel across: the colours of `taps` columns (four 16-bit sums each, in memory
// order, at most 255 · 128), weighted and rounded. The column after the last is read (times
// a weight of 0), so a row of sums has one column more than it uses.
inline std::uint32_t WeighColumns(const std::uint16_t* columns, const std::uint16_t* weights, int taps)
{
#if defined(__SSE2__)
    // Two columns at a time: their sums paired channel by channel, each pair times the two
    // weights and added (pmaddwd), all four channels at once.
    __m128i total = _mm_set1_epi32(1 << (kAreaShift - 1));
    for (int k = 0; k < taps; k += 2, columns += 8) {
        const __m128i two = _mm_loadu_si128(reinterpret_cast<const __m128i*>(columns));
        const __m128i paired = _mm_unpacklo_epi16(two, _mm_srli_si128(two, 8));
        const int second = k + 1 < taps ? weights[k + 1] : 0;
        total = _mm_add_epi32(total, _mm_madd_epi16(paired, _mm_set1_epi32(weights[k] | second << 16)));
    }
    const __m128i levels = _mm_srai_epi32(total, kAreaShift);
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(levels, levels), levels)))
        | kOpaqueBlack;
#else
    std::uint32_t total[4] = {0, 0, 0, 0};
    for (int k = 0; k < taps; ++k, columns += 4)
        for (int byte = 0; byte < 4; ++byte)
            total[byte] += std::uint32_t(weights[k]) * columns[byte];
    const auto level = [&total](int byte) { return (total[byte] + (1u << (kAreaShift - 1))) >> kAreaShift; };
    return kOpaqueBlack | level(kRedByte) << 16 | level(kGreenByte) << 8 | level(kBlueByte);
#endif
}

// With AVX2 where the processor has it, for the loop down over bytes.
VELTRA_AVX2_CLONES
Raster AreaResample(const Raster& source, double left, double top, double stepX, double stepY, int width,
                    int height)
{
    Raster target;
    AllocateRaster(target, width, height);
    if (target.isEmpty())
        return target;
    if (!(stepX > 0 && stepY > 0)) {
        ClearRaster(target);
        return target;
    }
    const AreaTaps across = AreaTapsAlong(left, stepX, width, source.width, kColumnWeightOne);
    const AreaTaps down = AreaTapsAlong(top, stepY, height, source.height, kRowWeightOne);
    // The source columns any target pixel reads.
    int firstColumn = source.width;
    int endColumn = 0;
    for (int x = 0; x < width; ++x) {
        const int taps = across.offsets[static_cast<std::size_t>(x) + 1] - across.offsets[static_cast<std::size_t>(x)];
        if (taps > 0) {
            firstColumn = std::min(firstColumn, across.first[static_cast<std::size_t>(x)]);
            endColumn = std::max(endColumn, across.first[static_cast<std::size_t>(x)] + taps);
        }
    }
    firstColumn = std::min(firstColumn, endColumn);
    const std::size_t spanBytes = static_cast<std::size_t>(endColumn - firstColumn) * 4;
    WorkBuffer<std::uint16_t> sums(spanBytes + 4);
    for (int y = 0; y < height; ++y) {
        // Down: the rows under the target row, each byte of them times its row's weight, summed
        // into 16 bits: a plain loop over bytes that the compiler runs many bytes at a time.
        std::fill(sums.begin(), sums.end(), std::uint16_t(0));
        int row = down.first[static_cast<std::size_t>(y)];
        for (int k = down.offsets[static_cast<std::size_t>(y)]; k < down.offsets[static_cast<std::size_t>(y) + 1]; ++k, ++row) {
            const std::uint16_t weight = down.weights[static_cast<std::size_t>(k)];
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(source.row(row) + firstColumn);
            std::uint16_t* sum = sums.data();
            for (std::size_t b = 0; b < spanBytes; ++b)
                sum[b] = static_cast<std::uint16_t>(sum[b] + weight * bytes[b]);
        }
        // Across: the columns under each target pixel by their weights.
        std::uint32_t* out = target.row(y);
        for (int x = 0; x < width; ++x) {
            const int from = across.offsets[static_cast<std::size_t>(x)];
            out[x] = WeighColumns(sums.data() + static_cast<std::size_t>(across.first[static_cast<std::size_t>(x)] - firstColumn) * 4,
                                  across.weights.data() + from, across.offsets[static_cast<std::size_t>(x) + 1] - from);
        }
    }
    return target;
}

namespace {

// Specks are shorter than this many pixels every way; lines are at least as long one way.
constexpr int kSpeckRun = 4;

enum class Segments { Closing, Opening };

// A morphological filter by straight segments of kSpeckRun pixels, across, down and along both
// diagonals, over levels with a border of kSpeckRun pixels all round (row length `stride`).
// A closing gives each pixel the least, over the segments through it, of the segment's
// greatest level: a dark speck goes, since every segment through it holds something lighter,
// while a dark line keeps the segment along it. An opening does the same for light specks.
// The border must read neutral: white for a closing, black for an opening.
WorkBuffer<std::uint8_t> SegmentFilter(const WorkBuffer<std::uint8_t>& levels, int stride, Segments filter)
{
    const bool closing = filter == Segments::Closing;
    const std::size_t size = levels.size();
    WorkBuffer<std::uint8_t> result(size, closing ? 255 : 0);
    WorkBuffer<std::uint8_t> along(size);
    for (const std::ptrdiff_t step : {std::ptrdiff_t(1), std::ptrdiff_t(stride), std::ptrdiff_t(stride) + 1,
                                      std::ptrdiff_t(stride) - 1}) {
        const std::size_t reach = static_cast<std::size_t>((kSpeckRun - 1) * step);
        // The extreme of each segment, by its first pixel.
        std::copy(levels.begin(), levels.end(), along.begin());
        for (int k = 1; k < kSpeckRun; ++k) {
            const std::size_t offset = static_cast<std::size_t>(k * step);
            for (std::size_t i = 0; i + offset < size; ++i)
                along[i] = closing ? std::max(along[i], levels[i + offset]) : std::min(along[i], levels[i + offset]);
        }
        // The best of the segments through each pixel, then the best of the directions.
        for (std::size_t i = reach; i < size; ++i) {
            std::uint8_t best = along[i];
            for (int k = 1; k < kSpeckRun; ++k) {
                const std::uint8_t other = along[i - static_cast<std::size_t>(k * step)];
                best = closing ? std::min(best, other) : std::max(best, other);
            }
            result[i] = closing ? std::min(result[i], best) : std::max(result[i], best);
        }
    }
    return result;
}

} // namespace

Raster WithoutSpecks(const Raster& source)
{
    const int w = source.width;
    const int h = source.height;
    const int stride = w + 2 * kSpeckRun;
    const auto padded = [&](std::uint8_t border, auto levelAt) {
        WorkBuffer<std::uint8_t> levels(static_cast<std::size_t>(stride) * (h + 2 * kSpeckRun), border);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                levels[static_cast<std::size_t>(y + kSpeckRun) * stride + x + kSpeckRun] = levelAt(x, y);
        return levels;
    };
    const WorkBuffer<std::uint8_t> closed = SegmentFilter(
        padded(255, [&](int x, int y) { return static_cast<std::uint8_t>(Intensity(source.at(x, y))); }), stride,
        Segments::Closing);
    const WorkBuffer<std::uint8_t> opened = SegmentFilter(
        padded(0, [&](int x, int y) { return closed[static_cast<std::size_t>(y + kSpeckRun) * stride + x + kSpeckRun]; }),
        stride, Segments::Opening);
    Raster target;
    AllocateRaster(target, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            target.at(x, y) = GreyPixel(opened[static_cast<std::size_t>(y + kSpeckRun) * stride + x + kSpeckRun]);
    return target;
}

SampledMeanRows::SampledMeanRows(int sourceWidth, int sourceHeight, double step, int width, int height, int samples)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_samples(samples)
{
    if (m_width == 0 || m_height == 0 || sourceWidth <= 0 || sourceHeight <= 0 || samples <= 0)
        return;
    // The source column (row) of each sample along one axis, clamped into the source.
    const auto positions = [step, samples](int count, int limit) {
        std::vector<int> at;
        at.reserve(static_cast<std::size_t>(count) * samples);
        for (int i = 0; i < count; ++i)
            for (int k = 0; k < samples; ++k)
                at.push_back(std::clamp(static_cast<int>((i + (k + 0.5) / samples) * step), 0, limit - 1));
        return at;
    };
    m_columns = positions(m_width, sourceWidth);
    m_rows = positions(m_height, sourceHeight);
    m_sums.assign(static_cast<std::size_t>(m_width) * m_height * 3, 0);
}

void SampledMeanRows::add(const Raster& source, int firstRow, int endRow)
{
    // The sample rows ascend, and a source row may hold several of them.
    for (; m_next < m_rows.size() && m_rows[m_next] < endRow; ++m_next) {
        const int sourceRow = m_rows[m_next];
        if (sourceRow < firstRow)
            continue;
        const std::uint32_t* row = source.row(sourceRow);
        int* sums = m_sums.data() + (m_next / static_cast<std::size_t>(m_samples)) * m_width * 3;
        const int* column = m_columns.data();
        for (int x = 0; x < m_width; ++x, sums += 3) {
            for (int k = 0; k < m_samples; ++k, ++column) {
                const std::uint32_t p = row[*column];
                sums[0] += static_cast<int>((p >> 16) & 0xFF);
                sums[1] += static_cast<int>((p >> 8) & 0xFF);
                sums[2] += static_cast<int>(p & 0xFF);
            }
        }
    }
}

Raster SampledMeanRows::take() const
{
    Raster target;
    AllocateRaster(target, m_width, m_height);
    if (m_sums.empty()) {
        ClearRaster(target);
        return target;
    }
    // Rounded means by a multiplication: (s · ceil(2^32 / count)) >> 32 is s / count rounded
    // down for every sum of at most 255 · count.
    const std::uint64_t count = static_cast<std::uint64_t>(m_samples) * m_samples;
    const std::uint64_t inverse = ((std::uint64_t(1) << 32) + count - 1) / count;
    const int* sums = m_sums.data();
    for (std::uint32_t& out : target.pixels) {
        const auto mean = [&](int c) {
            return static_cast<std::uint32_t>(((static_cast<std::uint64_t>(sums[c]) + count / 2) * inverse) >> 32);
        };
        out = kOpaqueBlack | mean(0) << 16 | mean(1) << 8 | mean(2);
        sums += 3;
    }
    return target;
}

Raster SampledMean(const Raster& source, double step, int width, int height, int samples)
{
    SampledMeanRows mean(source.width, source.height, step, width, height, samples);
    mean.add(source, 0, source.height);
    return mean.take();
}

IntensityImage IntensityImageOf(const Raster& raster)
{
    IntensityImage image{raster.width, raster.height, {}};
    image.levels.resize(raster.pixels.size());
    std::transform(raster.pixels.begin(), raster.pixels.end(), image.levels.begin(),
                   [](std::uint32_t p) { return static_cast<std::uint8_t>(Intensity(p)); });
    return image;
}

IntensityImage IntensityImageOf(const RasterView& view)
{
    IntensityImage image{view.width(), view.height(), {}};
    image.levels.resize(static_cast<std::size_t>(image.width) * image.height);
    std::uint8_t* out = image.levels.data();
    for (int y = 0; y < image.height; ++y) {
        const int row = view.rows[static_cast<std::size_t>(y)];
        const std::uint32_t* source = row >= 0 ? view.source->row(row) : nullptr;
        for (int x = 0; x < image.width; ++x, ++out) {
            const int column = view.columns[static_cast<std::size_t>(x)];
            *out = source && column >= 0 ? static_cast<std::uint8_t>(Intensity(source[column])) : 0;
        }
    }
    return image;
}

int SampleLevelOutside(const IntensityImage& image, int x256, int y256)
{
    const int x = x256 >> 8;
    const int y = y256 >> 8;
    const int fx = x256 & 0xFF;
    const int fy = y256 & 0xFF;
    const auto level = [&image](int px, int py) {
        return px >= 0 && py >= 0 && px < image.width && py < image.height ? image.at(px, py) : 0;
    };
    const int upperBlend = level(x, y) * (256 - fx) + level(x + 1, y) * fx;
    const int lowerBlend = level(x, y + 1) * (256 - fx) + level(x + 1, y + 1) * fx;
    return upperBlend * (256 - fy) + lowerBlend * fy;
}
