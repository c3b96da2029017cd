#pragma once

#include "charts/raster.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// An image as a JPEG file holds it: brightness (Y) and two colour differences (Cb, Cr), each a
// plane of bytes at its own resolution; the colour planes are mostly half as wide and half as
// high as the image. Kept this way a scan takes some 13 MB at 300 dpi rather than the 35 MB of
// its Raster, and the decoder does not blend and convert every pixel's colour: the fine reading
// turns only the pixels of its disc images into colours.

struct YccPlane {
    int width = 0;       // in plane pixels
    int height = 0;
    std::size_t stride = 0; // bytes from one row to the next (the decoder writes whole blocks)
    int spanX = 1;       // image pixels per plane pixel across and down
    int spanY = 1;
    WorkBuffer<std::uint8_t> levels;

    const std::uint8_t* row(int y) const { return levels.data() + static_cast<std::size_t>(y) * stride; }
    std::uint8_t* row(int y) { return levels.data() + static_cast<std::size_t>(y) * stride; }
};

// A colour difference of no colour.
constexpr int kNeutralDifference = 128;

// The JPEG decoder's fixed-point colour conversion: factors in 65536ths, halves rounded up.
namespace ycc_conversion {
constexpr int kFixedBits = 16;
constexpr int kFixedHalf = 1 << (kFixedBits - 1);
constexpr int Fixed(double factor)
{
    return static_cast<int>(factor * (1 << kFixedBits) + 0.5);
}
constexpr int kCrToRed = Fixed(1.40200);
constexpr int kCbToBlue = Fixed(1.77200);
constexpr int kCrToGreen = Fixed(0.71414);
constexpr int kCbToGreen = Fixed(0.34414);
constexpr std::uint32_t Limit(int level)
{
    return static_cast<std::uint32_t>(std::clamp(level, 0, 255));
}
} // namespace ycc_conversion

struct YccImage {
    int width = 0;
    int height = 0;
    YccPlane luma; // at full size
    // Of one size, or both empty for a grey image.
    YccPlane blueDifference;
    YccPlane redDifference;

    bool isEmpty() const { return width <= 0 || height <= 0; }
    bool isGrey() const { return blueDifference.levels.empty(); }

    // The colour of a brightness and two colour differences, 0..255 each, as the JPEG decoder
    // works it out (the same fixed-point factors and rounding).
    static std::uint32_t YccToArgb(int y, int cb, int cr)
    {
        using namespace ycc_conversion;
        const int blue = cb - kNeutralDifference;
        const int red = cr - kNeutralDifference;
        // >> on a negative number rounds down, as the decoder's shift does.
        const int r = y + ((kCrToRed * red + kFixedHalf) >> kFixedBits);
        const int g = y + ((-kCbToGreen * blue + kFixedHalf - kCrToGreen * red) >> kFixedBits);
        const int b = y + ((kCbToBlue * blue + kFixedHalf) >> kFixedBits);
        return kOpaqueBlack | Limit(r) << 16 | Limit(g) << 8 | Limit(b);
    }
};

// The colours of one row of a YccImage, each plane's own pixel under a pixel: for reading many
// pixels of a row.
class YccRow {
public:
    YccRow(const YccImage& image, int y)
        : m_luma(image.luma.row(Along(y, image.luma.spanY)))
        , m_blue(image.isGrey() ? nullptr : image.blueDifference.row(Along(y, image.blueDifference.spanY)))
        , m_red(image.isGrey() ? nullptr : image.redDifference.row(Along(y, image.redDifference.spanY)))
        , m_lumaSpan(image.luma.spanX)
        , m_blueSpan(image.blueDifference.spanX)
        , m_redSpan(image.redDifference.spanX)
    {
    }

    std::uint32_t operator()(int x) const
    {
        const std::uint32_t levels = packedLevels(x);
        return YccImage::YccToArgb(static_cast<int>(levels >> 16), static_cast<int>((levels >> 8) & 0xFF),
                                   static_cast<int>(levels & 0xFF));
    }

    // Brightness and the two colour differences under pixel x, packed as a colour's red, green
    // and blue are (not turned into that colour).
    std::uint32_t packedLevels(int x) const
    {
        const auto level = static_cast<std::uint32_t>(m_luma[Along(x, m_lumaSpan)]);
        if (!m_blue)
            return level << 16 | std::uint32_t(kNeutralDifference) << 8 | std::uint32_t(kNeutralDifference);
        return level << 16 | std::uint32_t(m_blue[Along(x, m_blueSpan)]) << 8 | m_red[Along(x, m_redSpan)];
    }

private:
    // The plane pixel under image pixel i (spans of 1 and 2 are by far the most common).
    static int Along(int i, int span) { return span == 1 ? i : span == 2 ? i >> 1 : i / span; }

    const std::uint8_t* m_luma;
    const std::uint8_t* m_blue;
    const std::uint8_t* m_red;
    int m_lumaSpan;
    int m_blueSpan;
    int m_redSpan;
};

// The nearest-neighbour resampling given by source columns and rows (NearestIndices), built:
// opaque black where either index is -1.
Raster NearestRaster(const YccImage& source, const std::vector<int>& columns, const std::vector<int>& rows);
