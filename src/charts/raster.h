#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <span>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

// Memory for large buffers (a scan, a disc image, the working copies of a search): fresh pages
// cost the system as much to find and clear as the work done in them, so buffers let go are
// kept for reuse, a few, and those of a large page (2 MB) or more are in the system's large
// pages where it has them (a large page holds 512 small ones). Null when there is no memory.
constexpr std::size_t kLargeBufferBytes = std::size_t(1) << 16;
void* AllocateLargeBuffer(std::size_t bytes) noexcept;
void FreeLargeBuffer(void* buffer, std::size_t bytes) noexcept;

// Leaves new pixels as they are: a raster about to be written whole (a decoded scan) is not
// filled first, which would be one more pass over every pixel. Large buffers go to
// AllocateLargeBuffer.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept
    {
    }
    template <typename U>
    void construct(U* place) noexcept(std::is_nothrow_default_constructible_v<U>)
    {
        ::new (static_cast<void*>(place)) U;
    }
    template <typename U, typename... Args>
    void construct(U* place, Args&&... args)
    {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
    T* allocate(std::size_t count)
    {
        if (count * sizeof(T) < kLargeBufferBytes)
            return std::allocator<T>::allocate(count);
        if (count > std::size_t(-1) / sizeof(T))
            throw std::bad_array_new_length();
        if (void* buffer = AllocateLargeBuffer(count * sizeof(T)))
            return static_cast<T*>(buffer);
        throw std::bad_alloc();
    }
    void deallocate(T* buffer, std::size_t count) noexcept
    {
        if (count * sizeof(T) < kLargeBufferBytes)
            std::allocator<T>::deallocate(buffer, count);
        else
            FreeLargeBuffer(buffer, count * sizeof(T));
    }
};

// A vector of plain values for working buffers: not cleared unless asked, large ones as above.
template <typename T>
using WorkBuffer = std::vector<T, UninitialisedAllocator<T>>;

using PixelBuffer = WorkBuffer<std::uint32_t>;

// A 32-bit image: width × height pixels of 0xAARRGGBB, row by row from the top left.
// The chart subsystem works on rasters through the free functions below.
struct Raster {
    int width = 0;
    int height = 0;
    PixelBuffer pixels;

    bool isEmpty() const { return width <= 0 || height <= 0; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // Unchecked access; the caller keeps (x, y) inside the raster.
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const std::uint32_t* row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * width; }
    std::uint32_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
};

constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;
constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFFu;

// Builds an opaque grey pixel ARGB(255, v, v, v) from v in 0..255.
constexpr std::uint32_t GreyPixel(int v)
{
    const auto g = static_cast<std::uint32_t>(v);
    return 0xFF000000u | (g << 16) | (g << 8) | g;
}

// Brightness of a pixel as the whole chart subsystem reads it: (R·61 + G·174 + B·21) >> 8,
// 0..255; the alpha byte is ignored.
constexpr int Intensity(std::uint32_t argb)
{
    const int r = static_cast<int>((argb >> 16) & 0xFF);
    const int g = static_cast<int>((argb >> 8) & 0xFF);
    const int b = static_cast<int>(argb & 0xFF);
    return (r * 61 + g * 174 + b * 21) >> 8;
}

// Nearest integer, halves to the even neighbour (as std::nearbyint in the default rounding
// mode), for |value| < 2^30; inline and short, for sampling loops. Adding 1.5 · 2^52 leaves no
// bits for a fraction, so the addition itself rounds the value that way, and taking the same
// amount away again gives the rounded value exactly.
inline int RoundHalfToEven(double value)
{
    constexpr double kRoundingShift = 6755399441055744.0; // 1.5 · 2^52
    return static_cast<int>((value + kRoundingShift) - kRoundingShift);
}

// Sets the size; every pixel becomes opaque black. Negative sizes count as 0.
void ResizeRaster(Raster& raster, int width, int height);
// No pixels, but the memory is kept for the next image.
void EmptyRaster(Raster& raster);
// Sets the size and leaves the pixels undefined, for a raster that is then written whole.
void AllocateRaster(Raster& raster, int width, int height);

// While it lives, a second thread has the system ready the pages of fresh buffers, from the
// end back, while a writer that fills them from the start (a decoder) readies its own: the
// system then finds and clears the pages on two processors, and nothing the writer wrote is
// touched. Give it only memory just allocated; buffers smaller than kLargeBufferBytes are
// left to the writer.
class PagesAhead {
public:
    explicit PagesAhead(std::vector<std::span<std::uint8_t>> buffers);
    ~PagesAhead();
    PagesAhead(const PagesAhead&) = delete;
    PagesAhead& operator=(const PagesAhead&) = delete;

private:
    std::thread m_toucher;
};
// Fills every pixel with one colour (opaque black unless told otherwise).
void ClearRaster(Raster& raster, std::uint32_t color = kOpaqueBlack);

// Pixel reads outside the raster give opaque black; writes outside are ignored.
std::uint32_t GetPixel(const Raster& raster, int x, int y);
void SetPixel(Raster& raster, int x, int y, std::uint32_t color);

// A width × height copy of the rectangle whose top left is (left, top): pixel (x, y) of the
// copy is source pixel (left + x, top + y), opaque black where that lies outside the source.
Raster CopyRect(const Raster& source, int left, int top, int width, int height);

// The source index of each of count target positions when length source positions from start
// on are resampled to count positions (start + i · length / count), -1 where that lies outside
// 0..limit - 1.
std::vector<int> NearestIndices(int start, int length, int count, int limit);

// Nearest-neighbour resampling of the whole source into a width × height raster: target
// pixel (x, y) takes source pixel (x · sourceWidth / width, y · sourceHeight / height).
Raster StretchNearest(const Raster& source, int width, int height);
// The same for a rectangle of the source, as if it had first been cut out with CopyRect
// (opaque black outside the source), without building that intermediate copy.
Raster StretchRectNearest(const Raster& source, int left, int top, int rectWidth, int rectHeight,
                          int width, int height);

// A nearest-neighbour resampling of a raster that is not built: pixel (x, y) is source pixel
// (columns[x], rows[y]), opaque black where either index is -1. The source must outlive it.
struct RasterView {
    const Raster* source = nullptr;
    std::vector<int> columns;
    std::vector<int> rows;

    int width() const { return static_cast<int>(columns.size()); }
    int height() const { return static_cast<int>(rows.size()); }
    std::uint32_t pixel(int x, int y) const
    {
        const int column = columns[x];
        const int row = rows[y];
        return column < 0 || row < 0 ? kOpaqueBlack : source->at(column, row);
    }
};

// The whole raster as it is.
RasterView WholeView(const Raster& source);
// A rectangle of the source (opaque black outside it) resampled to width × height, as
// StretchRectNearest does.
RasterView StretchedView(const Raster& source, int left, int top, int rectWidth, int rectHeight, int width,
                         int height);
// The same resampling of a rectangle of a view: still reads the original source.
RasterView StretchedView(const RasterView& view, int left, int top, int rectWidth, int rectHeight, int width,
                         int height);
// Builds the view's pixels.
Raster ViewToRaster(const RasterView& view);

struct YccImage;

// Ways of resampling a raster (see StretchNearest and AreaResample).
enum class Sampling { Nearest, Area };

// Resampling by area: target pixel (x, y) is the mean of the source over the rectangle
// [left + x · stepX, left + (x + 1) · stepX) × [top + y · stepY, top + (y + 1) · stepY), source
// pixel (i, j) covering [i, i + 1) × [j, j + 1) and the source reading opaque black outside.
// Unlike nearest-neighbour sampling it keeps every edge where it lies, to a fraction of a
// target pixel. The result is opaque. Steps must be positive.
Raster AreaResample(const Raster& source, double left, double top, double stepX, double stepY, int width,
                    int height);

// AreaResample of an image kept in planes (see YccImage), as if its colours were a Raster:
// each plane averaged by area over the rectangle its pixels cover, and the means turned into
// colours.
Raster AreaResample(const YccImage& source, double left, double top, double stepX, double stepY, int width,
                    int height);

// A quick stand-in for AreaResample(source, 0, 0, step, step, width, height) when reducing a
// large raster: each target pixel the mean of samples × samples pixels spread evenly over the
// source pixels it covers. The result is opaque.
Raster SampledMean(const Raster& source, double step, int width, int height, int samples);

// SampledMean worked out as the source's rows are written (a decoder hands each few rows over
// while they are still in the cache), each row read once: the same result as SampledMean of
// the whole source. Rows must come in ascending order. At most kMaxSamples samples each way
// (more give black).
class SampledMeanRows {
public:
    static constexpr int kMaxSamples = 16; // a pixel's sums then fit 16 bits
    SampledMeanRows(int sourceWidth, int sourceHeight, double step, int width, int height, int samples);
    // Rows firstRow .. endRow - 1 of the source are written; all of one kind of source.
    void add(const Raster& source, int firstRow, int endRow);
    void add(const YccImage& source, int firstRow, int endRow);
    // The mean (black where the source was empty).
    Raster take() const;

private:
    template <typename RowPixels>
    void addRows(int firstRow, int endRow, RowPixels rowPixels);

    int m_width = 0;
    int m_height = 0;
    int m_samples = 0;
    std::vector<int> m_columns; // per target column, the source column of each sample
    std::vector<int> m_rows;    // per target row, the source row of each sample (ascending)
    WorkBuffer<std::uint16_t> m_sums; // per target pixel, red, green and blue
    std::size_t m_next = 0;     // the next sample row to take
    bool m_planes = false;      // the sums are of brightness and colour differences
};

// Rows of a raster as they are written: rows firstRow .. endRow - 1 of the raster are done.
using RowsWritten = std::function<void(const Raster& raster, int firstRow, int endRow)>;

// A grey raster of the same size, its intensities without specks: dark or light blots
// shorter than four pixels every way take the level around them, while lines at least four
// pixels long one way (across, down or along a diagonal) and the edges of larger areas stay.
Raster WithoutSpecks(const Raster& source);

// Bilinear sample at (x256 / 256, y256 / 256): the four pixels around the point are blended
// by their fractional distances, channel by channel (alpha included); pixels outside the
// raster read as opaque black.
std::uint32_t SampleBilinear256(const Raster& raster, int x256, int y256);
// The same at a point in pixels, taken to 1/256 pixel (x · 256 rounded, halves to even).
std::uint32_t SampleBilinear(const Raster& raster, double x, double y);

// The intensity of every pixel of a raster, one byte each: for reading levels at many points
// of an image without unpacking and blending its colours each time.
struct IntensityImage {
    int width = 0;
    int height = 0;
    WorkBuffer<std::uint8_t> levels;

    bool isEmpty() const { return width <= 0 || height <= 0; }
    int at(int x, int y) const { return levels[static_cast<std::size_t>(y) * width + x]; }
};
IntensityImage IntensityImageOf(const Raster& raster);
IntensityImage IntensityImageOf(const RasterView& view);

// SampleLevel65536 near or beyond the image's border.
int SampleLevelOutside(const IntensityImage& image, int x256, int y256);

// The level at (x256 / 256, y256 / 256), blended bilinearly from the four pixels around the
// point, in 1/65536 of a level (pixels outside the image read as 0, as black does). Inline:
// the fine fit of a disc reads some hundred thousand points.
inline int SampleLevel65536(const IntensityImage& image, int x256, int y256)
{
    const int x = x256 >> 8; // arithmetic shift: floor also for negative coordinates
    const int y = y256 >> 8;
    if (x < 0 || y < 0 || x + 1 >= image.width || y + 1 >= image.height)
        return SampleLevelOutside(image, x256, y256);
    const int fx = x256 & 0xFF;
    const int fy = y256 & 0xFF;
    const std::uint8_t* upper = image.levels.data() + static_cast<std::size_t>(y) * image.width + x;
    const int upperBlend = upper[0] * (256 - fx) + upper[1] * fx;
    const int lowerBlend = upper[image.width] * (256 - fx) + upper[image.width + 1] * fx;
    return upperBlend * (256 - fy) + lowerBlend * fy;
}

// The same at a point in pixels (taken to 1/256 pixel), in levels with their fraction.
inline double SampleLevel(const IntensityImage& image, double x, double y)
{
    // Points this far out read as black anyway; the clamp keeps the conversion defined.
    constexpr double kFarOut = 1 << 22;
    if (!(std::abs(x) < kFarOut && std::abs(y) < kFarOut))
        return 0.0;
    return SampleLevel65536(image, RoundHalfToEven(x * 256.0), RoundHalfToEven(y * 256.0)) * (1.0 / 65536.0);
}
