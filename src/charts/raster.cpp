#include "charts/raster.h"

#include "charts/ycc_image.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <span>
#include <tuple>

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

namespace {

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

// A buffer's size in whole pages: large ones as far as they go, and a tail of at least half a
// large page in one more (it is cleared as fast as the small pages under that tail), a shorter
// tail in small ones. A disc image of 2.25 MB then takes one large page and 64 small ones, not
// two large pages.
std::size_t WholePages(std::size_t bytes)
{
    const std::size_t tail = bytes % kLargePage;
    if (bytes >= kLargePage / 2 && tail >= kLargePage / 2)
        return bytes - tail + kLargePage;
    return (bytes + kSmallPage - 1) / kSmallPage * kSmallPage;
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
    const std::size_t largePages = size / kLargePage * kLargePage;
    // Not aligned_alloc: the size need not be a whole number of alignments.
    void* buffer = nullptr;
    if (::posix_memalign(&buffer, largePages == 0 ? kSmallPage : kLargePage, size) != 0)
        return nullptr;
    if (largePages > 0)
        ::madvise(buffer, largePages, MADV_HUGEPAGE); // a wish: without large pages it does nothing
    // Small pages are readied all at once rather than each at its first touch: every page fault
    // costs more than clearing the page, most of all in a virtual machine. Large pages fault
    // rarely, and a writer may have them readied alongside (PagesAhead).
    if (size > largePages)
        ::madvise(static_cast<char*>(buffer) + largePages, size - largePages, MADV_POPULATE_WRITE);
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

PagesAhead::PagesAhead(std::vector<std::span<std::uint8_t>> buffers)
{
    std::erase_if(buffers, [](std::span<std::uint8_t> buffer) {
        return buffer.size() < kLargeBufferBytes || reinterpret_cast<std::uintptr_t>(buffer.data()) % kSmallPage != 0;
    });
    if (buffers.empty())
        return;
    m_toucher = std::thread([buffers = std::move(buffers)] {
        // The system readies the pages as if they were written, without touching what the
        // writer may have put there already; a large page at a time, from the end back, while
        // the writer's own first touches ready them from the start: the two processors meet
        // halfway.
        for (auto buffer = buffers.rbegin(); buffer != buffers.rend(); ++buffer) {
            const auto start = reinterpret_cast<std::uintptr_t>(buffer->data());
            const std::uintptr_t end = start + buffer->size();
            for (std::uintptr_t at = start + (buffer->size() - 1) / kLargePage * kLargePage;; at -= kLargePage) {
                if (::madvise(reinterpret_cast<void*>(at), std::min<std::uintptr_t>(kLargePage, end - at),
                              MADV_POPULATE_WRITE) != 0)
                    return; // not known to this system, or no memory: the writer readies them itself
                if (at == start)
                    break;
            }
        }
    });
}

PagesAhead::~PagesAhead()
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

namespace {

// The weights across of every target pixel, two neighbouring columns' to a 32-bit pair (the
// second in the high half), and as many pairs for every target pixel (padded with zero
// weights): each pixel is then weighed by one short loop without a branch.
struct PairedWeights {
    int pairs = 1;
    std::vector<int> first;             // per target pixel, its first column in the row of sums
    std::vector<std::uint32_t> weights; // per target pixel, `pairs` pairs
};

// The pairs of `across` for a row of sums that starts at source column firstColumn.
PairedWeights PairWeights(const AreaTaps& across, int firstColumn)
{
    PairedWeights paired;
    const std::size_t count = across.first.size();
    int most = 0;
    for (std::size_t x = 0; x < count; ++x)
        most = std::max(most, across.offsets[x + 1] - across.offsets[x]);
    paired.pairs = std::max(1, (most + 1) / 2);
    paired.first.assign(count, 0);
    paired.weights.assign(count * static_cast<std::size_t>(paired.pairs), 0);
    for (std::size_t x = 0; x < count; ++x) {
        const int from = across.offsets[x];
        const int taps = across.offsets[x + 1] - from;
        if (taps == 0)
            continue; // nothing under it: zero weights on the first columns
        paired.first[x] = across.first[x] - firstColumn;
        for (int k = 0; k < taps; ++k)
            paired.weights[x * static_cast<std::size_t>(paired.pairs) + static_cast<std::size_t>(k / 2)] |=
                std::uint32_t(across.weights[static_cast<std::size_t>(from + k)]) << (16 * (k % 2));
    }
    return paired;
}

// One target pixel across: `pairs` pairs of columns from `columns` on (four 16-bit sums each,
// in memory order, at most 255 · 128) by their paired weights, rounded.
[[gnu::always_inline]] inline std::uint32_t WeighPairs(const std::uint16_t* columns, const std::uint32_t* weights, int pairs)
{
#if defined(__SSE2__)
    // A pair's sums side by side channel by channel, times the two weights and added
    // (pmaddwd), all four channels at once.
    __m128i total = _mm_set1_epi32(1 << (kAreaShift - 1));
    for (int p = 0; p < pairs; ++p, columns += 8) {
        const __m128i two = _mm_loadu_si128(reinterpret_cast<const __m128i*>(columns));
        const __m128i paired = _mm_unpacklo_epi16(two, _mm_srli_si128(two, 8));
        total = _mm_add_epi32(total, _mm_madd_epi16(paired, _mm_set1_epi32(static_cast<int>(weights[p]))));
    }
    const __m128i levels = _mm_srai_epi32(total, kAreaShift);
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(levels, levels), levels)))
        | kOpaqueBlack;
#else
    std::uint32_t total[4] = {0, 0, 0, 0};
    for (int p = 0; p < pairs; ++p, columns += 8) {
        for (int byte = 0; byte < 4; ++byte)
            total[byte] += (weights[p] & 0xFFFF) * columns[byte] + (weights[p] >> 16) * columns[4 + byte];
    }
    const auto level = [&total](int byte) { return (total[byte] + (1u << (kAreaShift - 1))) >> kAreaShift; };
    return kOpaqueBlack | level(kRedByte) << 16 | level(kGreenByte) << 8 | level(kBlueByte);
#endif
}

template <int Pairs>
[[gnu::always_inline]] inline void WeighRowOf(const std::uint16_t* sums, const PairedWeights& paired, std::uint32_t* out, int width)
{
    const std::uint32_t* weights = paired.weights.data();
    for (int x = 0; x < width; ++x, weights += Pairs)
        out[x] = WeighPairs(sums + static_cast<std::size_t>(paired.first[static_cast<std::size_t>(x)]) * 4, weights, Pairs);
}

// Across: each target pixel of a row from the row of sums. Reads up to 2 · pairs columns from
// each pixel's first, so a row of sums has 2 · pairs - 1 columns more than it uses. Inline, so
// that it is built for each processor AreaResample is built for.
[[gnu::always_inline]] inline void WeighRow(const std::uint16_t* sums, const PairedWeights& paired, std::uint32_t* out, int width)
{
    // The common counts unrolled.
    switch (paired.pairs) {
    case 1:
        return WeighRowOf<1>(sums, paired, out, width);
    case 2:
        return WeighRowOf<2>(sums, paired, out, width);
    case 3:
        return WeighRowOf<3>(sums, paired, out, width);
    default:
        break;
    }
    const std::uint32_t* weights = paired.weights.data();
    for (int x = 0; x < width; ++x, weights += paired.pairs)
        out[x] = WeighPairs(sums + static_cast<std::size_t>(paired.first[static_cast<std::size_t>(x)]) * 4, weights,
                            paired.pairs);
}

// Columns a row of sums holds beyond those it uses.
std::size_t SumsPadding(const PairedWeights& paired)
{
    return 2 * static_cast<std::size_t>(paired.pairs);
}

} // namespace

namespace {

// The source columns (first, end) any target pixel of an area resampling reads.
std::pair<int, int> ColumnSpan(const AreaTaps& across, int sourceWidth)
{
    int firstColumn = sourceWidth;
    int endColumn = 0;
    for (std::size_t x = 0; x + 1 < across.offsets.size(); ++x) {
        const int taps = across.offsets[x + 1] - across.offsets[x];
        if (taps > 0) {
            firstColumn = std::min(firstColumn, across.first[x]);
            endColumn = std::max(endColumn, across.first[x] + taps);
        }
    }
    return {std::min(firstColumn, endColumn), endColumn};
}

// Down: the source rows under target row y, each byte of them from `firstByte` on times its
// row's weight, summed into 16 bits: a plain loop over bytes that the compiler runs many bytes
// at a time. Rows lie `rowBytes` apart.
[[gnu::always_inline]] inline void SumRowsDown(const AreaTaps& down, int y, const std::uint8_t* firstByte, std::size_t rowBytes,
                 std::size_t spanBytes, WorkBuffer<std::uint16_t>& sums)
{
    std::fill(sums.begin(), sums.end(), std::uint16_t(0));
    std::size_t row = static_cast<std::size_t>(down.first[static_cast<std::size_t>(y)]);
    for (int k = down.offsets[static_cast<std::size_t>(y)]; k < down.offsets[static_cast<std::size_t>(y) + 1]; ++k, ++row) {
        const std::uint16_t weight = down.weights[static_cast<std::size_t>(k)];
        const std::uint8_t* bytes = firstByte + row * rowBytes;
        std::uint16_t* sum = sums.data();
        for (std::size_t b = 0; b < spanBytes; ++b)
            sum[b] = static_cast<std::uint16_t>(sum[b] + weight * bytes[b]);
    }
}

// Sizes the target of an area resampling; false when nothing is left to do: no pixels, or
// steps that are none (the target is then black).
bool StartAreaTarget(Raster& target, int width, int height, double stepX, double stepY)
{
    AllocateRaster(target, width, height);
    if (target.isEmpty())
        return false;
    if (!(stepX > 0 && stepY > 0)) {
        ClearRaster(target);
        return false;
    }
    return true;
}

// What an area resampling of a width × height target from a sourceWidth × sourceHeight source
// reads: the source pixels under each target pixel down and across, the span of source columns
// read, and the weights across in pairs for a row of sums that starts at the span's first
// column.
struct AreaPlan {
    AreaTaps across;
    AreaTaps down;
    int firstColumn = 0;
    int endColumn = 0;
    PairedWeights paired;

    AreaPlan(double left, double top, double stepX, double stepY, int width, int height, int sourceWidth,
             int sourceHeight)
        : across(AreaTapsAlong(left, stepX, width, sourceWidth, kColumnWeightOne))
        , down(AreaTapsAlong(top, stepY, height, sourceHeight, kRowWeightOne))
    {
        std::tie(firstColumn, endColumn) = ColumnSpan(across, sourceWidth);
        paired = PairWeights(across, firstColumn);
    }
    std::size_t span() const { return static_cast<std::size_t>(endColumn - firstColumn); }
    // Columns of sums a row needs: those read and those WeighRow reads beyond them.
    std::size_t sumsColumns() const { return span() + SumsPadding(paired); }
};

} // namespace

// With AVX2 where the processor has it, for the loop down over bytes.
VELTRA_AVX2_CLONES
Raster AreaResample(const Raster& source, double left, double top, double stepX, double stepY, int width,
                    int height)
{
    Raster target;
    if (!StartAreaTarget(target, width, height, stepX, stepY))
        return target;
    const AreaPlan plan(left, top, stepX, stepY, width, height, source.width, source.height);
    WorkBuffer<std::uint16_t> sums(plan.sumsColumns() * 4);
    const auto* firstByte = reinterpret_cast<const std::uint8_t*>(source.pixels.data() + plan.firstColumn);
    for (int y = 0; y < height; ++y) {
        SumRowsDown(plan.down, y, firstByte, static_cast<std::size_t>(source.width) * 4, plan.span() * 4, sums);
        WeighRow(sums.data(), plan.paired, target.row(y), width);
    }
    return target;
}

// With AVX2 where the processor has it, for the loops down over bytes.
VELTRA_AVX2_CLONES
Raster AreaResample(const YccImage& source, double left, double top, double stepX, double stepY, int width,
                    int height)
{
    Raster target;
    if (!StartAreaTarget(target, width, height, stepX, stepY))
        return target;
    // Brightness is summed down its plane's rows, and so are the colour differences down theirs;
    // then the three sit side by side as a pixel's bytes do (brightness in red's place, the
    // differences in green's and blue's), each colour difference under every image column its
    // plane pixel covers, and are weighed across together as AreaResample weighs colours.
    // Black lies beyond the image: brightness 0, colour differences neutral.
    const YccPlane& luma = source.luma;
    const AreaPlan plan(left, top, stepX, stepY, width, height, luma.width, luma.height);
    const AreaTaps& across = plan.across;
    const int firstColumn = plan.firstColumn;
    const int endColumn = plan.endColumn;
    const std::size_t span = plan.span();
    WorkBuffer<std::uint16_t> lumaSums(span + 1);
    WorkBuffer<std::uint16_t> pixelSums(plan.sumsColumns() * 4);
    std::fill(pixelSums.begin(), pixelSums.end(), std::uint16_t(0));
    constexpr std::uint16_t kNeutralSum = kNeutralDifference * kRowWeightOne;

    const bool colour = !source.isGrey();
    const YccPlane& blue = source.blueDifference;
    const YccPlane& red = source.redDifference;
    const int chromaSpanX = colour ? blue.spanX : 1;
    const int chromaSpanY = colour ? blue.spanY : 1;
    const AreaTaps chromaDown = colour ? AreaTapsAlong(top / chromaSpanY, stepY / chromaSpanY, height, blue.height, kRowWeightOne)
                                       : AreaTaps{};
    const int firstChroma = firstColumn / chromaSpanX;
    const std::size_t chromaSpan = span > 0 ? static_cast<std::size_t>((endColumn - 1) / chromaSpanX - firstChroma + 1) : 0;
    WorkBuffer<std::uint16_t> blueSums(chromaSpan + 1);
    WorkBuffer<std::uint16_t> redSums(chromaSpan + 1);
    WorkBuffer<std::uint64_t> chromaPair(std::max<std::size_t>(chromaSpan, 1));
    // Where the colour differences of each image column lie in their sums.
    std::vector<std::uint32_t> chromaAt(span);
    for (std::size_t i = 0; i < span; ++i)
        chromaAt[i] = static_cast<std::uint32_t>((firstColumn + static_cast<int>(i)) / chromaSpanX - firstChroma);
    // The share of each target pixel across that lies beyond the image, in levels of neutral
    // colour difference.
    std::vector<std::uint8_t> neutralBeyond(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        int cover = 0;
        for (int k = across.offsets[static_cast<std::size_t>(x)]; k < across.offsets[static_cast<std::size_t>(x) + 1]; ++k)
            cover += across.weights[static_cast<std::size_t>(k)];
        neutralBeyond[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(
            (kNeutralDifference * (kColumnWeightOne - cover) + kColumnWeightOne / 2) / kColumnWeightOne);
    }
    // A pixel's four sums written at once: each at its byte's place.
    const auto lane = [](int byte, std::uint64_t sum) { return sum << (16 * (kLittleEndian ? byte : 3 - byte)); };
    for (int y = 0; y < height; ++y) {
        SumRowsDown(plan.down, y, luma.levels.data() + firstColumn, luma.stride, span, lumaSums);
        if (colour) {
            SumRowsDown(chromaDown, y, blue.levels.data() + firstChroma, blue.stride, chromaSpan, blueSums);
            SumRowsDown(chromaDown, y, red.levels.data() + firstChroma, red.stride, chromaSpan, redSums);
            // Rows beyond the plane read neutral.
            int cover = 0;
            for (int k = chromaDown.offsets[static_cast<std::size_t>(y)]; k < chromaDown.offsets[static_cast<std::size_t>(y) + 1]; ++k)
                cover += chromaDown.weights[static_cast<std::size_t>(k)];
            const std::uint64_t beyond = static_cast<std::uint64_t>(kNeutralDifference * (kRowWeightOne - cover));
            for (std::size_t j = 0; j < chromaSpan; ++j)
                chromaPair[j] = lane(kGreenByte, blueSums[j] + beyond) | lane(kBlueByte, redSums[j] + beyond);
        } else {
            chromaPair[0] = lane(kGreenByte, kNeutralSum) | lane(kBlueByte, kNeutralSum);
        }
        std::uint16_t* pixel = pixelSums.data();
        for (std::size_t i = 0; i < span; ++i, pixel += 4) {
            const std::uint64_t sums = chromaPair[colour ? chromaAt[i] : 0] | lane(kRedByte, lumaSums[i]);
            std::memcpy(pixel, &sums, sizeof sums);
        }
        std::uint32_t* out = target.row(y);
        WeighRow(pixelSums.data(), plan.paired, out, width);
        // The means into colours, a row at a time (a loop the compiler runs many pixels at a
        // time); columns beyond the image read neutral too.
        for (int x = 0; x < width; ++x) {
            const std::uint32_t means = out[x];
            const int beyond = neutralBeyond[static_cast<std::size_t>(x)];
            out[x] = YccImage::YccToArgb(static_cast<int>((means >> 16) & 0xFF),
                                         std::min(static_cast<int>((means >> 8) & 0xFF) + beyond, 255),
                                         std::min(static_cast<int>(means & 0xFF) + beyond, 255));
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
    if (m_width == 0 || m_height == 0 || sourceWidth <= 0 || sourceHeight <= 0 || samples <= 0
        || samples > kMaxSamples)
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

// `rowPixels(y)` gives what reads pixel x of source row y as a colour.
template <typename RowPixels>
void SampledMeanRows::addRows(int firstRow, int endRow, RowPixels rowPixels)
{
    // The sample rows ascend, and a source row may hold several of them.
    for (; m_next < m_rows.size() && m_rows[m_next] < endRow; ++m_next) {
        const int sourceRow = m_rows[m_next];
        if (sourceRow < firstRow)
            continue;
        const auto pixel = rowPixels(sourceRow);
        std::uint16_t* sums = m_sums.data() + (m_next / static_cast<std::size_t>(m_samples)) * m_width * 3;
        const int* column = m_columns.data();
        for (int x = 0; x < m_width; ++x, sums += 3) {
            for (int k = 0; k < m_samples; ++k, ++column) {
                const std::uint32_t p = pixel(*column);
                sums[0] = static_cast<std::uint16_t>(sums[0] + ((p >> 16) & 0xFF));
                sums[1] = static_cast<std::uint16_t>(sums[1] + ((p >> 8) & 0xFF));
                sums[2] = static_cast<std::uint16_t>(sums[2] + (p & 0xFF));
            }
        }
    }
}

void SampledMeanRows::add(const Raster& source, int firstRow, int endRow)
{
    addRows(firstRow, endRow, [&source](int y) {
        return [row = source.row(y)](int x) { return row[x]; };
    });
}

void SampledMeanRows::add(const YccImage& source, int firstRow, int endRow)
{
    // The planes' levels are averaged as they are, and the means turned into colours.
    m_planes = true;
    addRows(firstRow, endRow, [&source](int y) {
        return [row = YccRow(source, y)](int x) { return row.packedLevels(x); };
    });
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
    const std::uint16_t* sums = m_sums.data();
    for (std::uint32_t& out : target.pixels) {
        const auto mean = [&](int c) {
            return static_cast<std::uint32_t>(((static_cast<std::uint64_t>(sums[c]) + count / 2) * inverse) >> 32);
        };
        out = m_planes ? YccImage::YccToArgb(static_cast<int>(mean(0)), static_cast<int>(mean(1)), static_cast<int>(mean(2)))
                       : kOpaqueBlack | mean(0) << 16 | mean(1) << 8 | mean(2);
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
