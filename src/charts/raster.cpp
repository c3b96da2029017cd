#include "charts/raster.h"

#include <algorithm>
#include <array>
#include <cmath>

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

// The source pixels under each target pixel along one axis, with the part of the target pixel
// each covers; pixels outside 0..limit - 1 are left out (they read as black).
struct AreaTaps {
    std::vector<int> first;   // per target pixel: its first source pixel
    std::vector<int> offsets; // per target pixel and one more: where its weights start
    std::vector<float> weights;
};

AreaTaps AreaTapsAlong(double start, double step, int count, int limit)
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
        for (int j = lowest; j <= highest; ++j)
            taps.weights.push_back(static_cast<float>((std::min(to, j + 1.0) - std::max(from, double(j))) / step));
    }
    taps.offsets.push_back(static_cast<int>(taps.weights.size()));
    return taps;
}

} // namespace

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
    const AreaTaps across = AreaTapsAlong(left, stepX, width, source.width);
    const AreaTaps down = AreaTapsAlong(top, stepY, height, source.height);
    constexpr int kChannels = 3;
    // Each source row is averaged across once, into a ring that holds every row one target
    // row needs.
    const int ringSize = static_cast<int>(std::ceil(stepY)) + 2;
    std::vector<float> ring(static_cast<std::size_t>(ringSize) * width * kChannels);
    std::vector<int> ringRow(static_cast<std::size_t>(ringSize), -1);
    // The source columns any target pixel reads, unpacked once per row into one float per
    // channel.
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
    const std::size_t span = static_cast<std::size_t>(endColumn - firstColumn);
    std::vector<float> unpacked(span * kChannels);
    const int* first = across.first.data();
    const int* offsets = across.offsets.data();
    const float* weights = across.weights.data();
    const auto acrossRow = [&](int row) -> const float* {
        float* out = ring.data() + static_cast<std::size_t>(row % ringSize) * width * kChannels;
        if (ringRow[static_cast<std::size_t>(row % ringSize)] == row)
            return out;
        ringRow[static_cast<std::size_t>(row % ringSize)] = row;
        const std::uint32_t* pixels = source.row(row) + firstColumn;
        float* red = unpacked.data();
        float* green = red + span;
        float* blue = green + span;
        for (std::size_t i = 0; i < span; ++i) {
            red[i] = static_cast<float>((pixels[i] >> 16) & 0xFF);
            green[i] = static_cast<float>((pixels[i] >> 8) & 0xFF);
            blue[i] = static_cast<float>(pixels[i] & 0xFF);
        }
        for (int x = 0; x < width; ++x) {
            float r = 0, g = 0, b = 0;
            const int at = first[x] - firstColumn;
            for (int k = offsets[x], i = at; k < offsets[x + 1]; ++k, ++i) {
                r += weights[k] * red[i];
                g += weights[k] * green[i];
                b += weights[k] * blue[i];
            }
            out[kChannels * x] = r;
            out[kChannels * x + 1] = g;
            out[kChannels * x + 2] = b;
        }
        return out;
    };
    std::vector<float> sum(static_cast<std::size_t>(width) * kChannels);
    const auto channel = [](float v) { return static_cast<std::uint32_t>(std::clamp(v + 0.5f, 0.0f, 255.0f)); };
    for (int y = 0; y < height; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        int row = down.first[static_cast<std::size_t>(y)];
        for (int k = down.offsets[static_cast<std::size_t>(y)]; k < down.offsets[static_cast<std::size_t>(y) + 1]; ++k, ++row) {
            const float w = down.weights[static_cast<std::size_t>(k)];
            const float* values = acrossRow(row);
            for (std::size_t i = 0; i < sum.size(); ++i)
                sum[i] += w * values[i];
        }
        std::uint32_t* out = target.row(y);
        for (int x = 0; x < width; ++x)
            out[x] = kOpaqueBlack | channel(sum[kChannels * x]) << 16 | channel(sum[kChannels * x + 1]) << 8
                | channel(sum[kChannels * x + 2]);
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
std::vector<std::uint8_t> SegmentFilter(const std::vector<std::uint8_t>& levels, int stride, Segments filter)
{
    const bool closing = filter == Segments::Closing;
    const std::size_t size = levels.size();
    std::vector<std::uint8_t> result(size, closing ? 255 : 0);
    std::vector<std::uint8_t> along(size);
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
        std::vector<std::uint8_t> levels(static_cast<std::size_t>(stride) * (h + 2 * kSpeckRun), border);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                levels[static_cast<std::size_t>(y + kSpeckRun) * stride + x + kSpeckRun] = levelAt(x, y);
        return levels;
    };
    const std::vector<std::uint8_t> closed = SegmentFilter(
        padded(255, [&](int x, int y) { return static_cast<std::uint8_t>(Intensity(source.at(x, y))); }), stride,
        Segments::Closing);
    const std::vector<std::uint8_t> opened = SegmentFilter(
        padded(0, [&](int x, int y) { return closed[static_cast<std::size_t>(y + kSpeckRun) * stride + x + kSpeckRun]; }),
        stride, Segments::Opening);
    Raster target;
    AllocateRaster(target, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            target.at(x, y) = GreyPixel(opened[static_cast<std::size_t>(y + kSpeckRun) * stride + x + kSpeckRun]);
    return target;
}

Raster SampledMean(const Raster& source, double step, int width, int height, int samples)
{
    Raster target;
    AllocateRaster(target, width, height);
    if (target.isEmpty() || source.isEmpty() || samples <= 0)
        return target;
    // The source column (row) of each sample along one axis, clamped into the source.
    const auto positions = [step, samples](int count, int limit) {
        std::vector<int> at;
        at.reserve(static_cast<std::size_t>(count) * samples);
        for (int i = 0; i < count; ++i)
            for (int k = 0; k < samples; ++k)
                at.push_back(std::clamp(static_cast<int>((i + (k + 0.5) / samples) * step), 0, limit - 1));
        return at;
    };
    const std::vector<int> columns = positions(width, source.width);
    const std::vector<int> rows = positions(height, source.height);
    const int count = samples * samples;
    std::vector<int> sums(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int j = 0; j < samples; ++j) {
            const std::uint32_t* row = source.row(rows[static_cast<std::size_t>(y) * samples + j]);
            const int* column = columns.data();
            for (int x = 0; x < width; ++x) {
                for (int k = 0; k < samples; ++k, ++column) {
                    const std::uint32_t p = row[*column];
                    sums[3 * x] += static_cast<int>((p >> 16) & 0xFF);
                    sums[3 * x + 1] += static_cast<int>((p >> 8) & 0xFF);
                    sums[3 * x + 2] += static_cast<int>(p & 0xFF);
                }
            }
        }
        std::uint32_t* out = target.row(y);
        for (int x = 0; x < width; ++x) {
            const auto mean = [&](int c) { return static_cast<std::uint32_t>((sums[3 * x + c] + count / 2) / count); };
            out[x] = kOpaqueBlack | mean(0) << 16 | mean(1) << 8 | mean(2);
        }
    }
    return target;
}

IntensityImage IntensityImageOf(const Raster& raster)
{
    IntensityImage image{raster.width, raster.height, std::vector<std::uint8_t>(raster.pixels.size())};
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

int SampleLevel65536(const IntensityImage& image, int x256, int y256)
{
    const int x = x256 >> 8; // arithmetic shift: floor also for negative coordinates
    const int y = y256 >> 8;
    const int fx = x256 & 0xFF;
    const int fy = y256 & 0xFF;
    int p00 = 0, p10 = 0, p01 = 0, p11 = 0;
    if (x >= 0 && y >= 0 && x + 1 < image.width && y + 1 < image.height) {
        const std::uint8_t* upper = image.levels.data() + static_cast<std::size_t>(y) * image.width + x;
        p00 = upper[0];
        p10 = upper[1];
        p01 = upper[image.width];
        p11 = upper[image.width + 1];
    } else {
        const auto level = [&image](int px, int py) {
            return px >= 0 && py >= 0 && px < image.width && py < image.height ? image.at(px, py) : 0;
        };
        p00 = level(x, y);
        p10 = level(x + 1, y);
        p01 = level(x, y + 1);
        p11 = level(x + 1, y + 1);
    }
    const int upperBlend = p00 * (256 - fx) + p10 * fx;
    const int lowerBlend = p01 * (256 - fx) + p11 * fx;
    return upperBlend * (256 - fy) + lowerBlend * fy;
}

double SampleLevel(const IntensityImage& image, double x, double y)
{
    static constexpr double kFarOut = 1 << 22;
    if (std::isnan(x) || std::isnan(y))
        return 0.0;
    const auto to256 = [](double v) { return RoundHalfToEven(std::clamp(v, -kFarOut, kFarOut) * 256.0); };
    return SampleLevel65536(image, to256(x), to256(y)) * (1.0 / 65536.0);
}
