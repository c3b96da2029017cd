#pragma once

#include "charts/raster.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// The one message for every scan that cannot be loaded.
inline const QString kImageLoadErrorMessage = QStringLiteral("Pogreška pri učitavanju slike!");

// Largest raster a scan may need (width × height × 4 bytes); larger images are refused
// from their header, before anything is allocated for the pixels.
constexpr std::int64_t kMaxRasterBytes = std::int64_t(512) * 1024 * 1024;
// Most memory the loading of one scan may hold at once: the raster and what the decoder keeps
// beside it.
constexpr std::int64_t kMaxScanMemoryBytes = kMaxRasterBytes * 6 / 5;

// True when a width × height raster is positive in both directions and within kMaxRasterBytes.
bool RasterSizeAllowed(std::int64_t width, std::int64_t height);

// How loading a scan went: loaded, refused (not an image we read, damaged, cut short), or
// refused for its size, which its header declares, or refused because decoding it (a
// progressive JPEG) would take more than kMaxScanMemoryBytes beside the raster.
struct ImageLoad {
    enum class Outcome { Loaded, Refused, TooLarge, DecoderOutOfMemory };
    Outcome outcome = Outcome::Refused;
    std::int64_t width = 0;  // the declared size of an image too large to decode
    std::int64_t height = 0;

    explicit operator bool() const { return outcome == Outcome::Loaded; }
    // What the operator is told: kImageLoadErrorMessage, or for an image too large its size
    // and what to do; empty when loaded.
    QString message() const;
};

// Loads a JPEG or BMP file into the raster. The kind is taken from the file's first bytes,
// whatever its name says; anything else, and any empty, damaged, truncated or oversized
// file, is refused (raster emptied). Nothing is thrown. `rowsWritten`, when given, hears of
// the rows as they are written, in ascending order (it must not throw); a file refused part
// way may have told of some.
ImageLoad LoadRasterImage(const QString& path, Raster& raster, const RowsWritten& rowsWritten = {});
// The same for a path as the file system's own bytes, which need not be valid text.
ImageLoad LoadRasterImage(const QByteArray& nativePath, Raster& raster, const RowsWritten& rowsWritten = {});

// Decoders for file contents already in memory; same rules as LoadRasterImage.
// JPEG: baseline or progressive, colour, grayscale or printing inks (CMYK, YCCK), decoded
// straight into the raster. A file whose image data is complete but whose end marker is
// missing is read; data that ends early or is damaged is refused.
ImageLoad DecodeJpeg(const std::uint8_t* data, std::size_t size, Raster& raster, const RowsWritten& rowsWritten = {});
// BMP: the header is checked first (size, and that the pixel data is all there when it is
// uncompressed), then the image is read through Qt's BMP reader.
ImageLoad DecodeBmp(const std::uint8_t* data, std::size_t size, Raster& raster, const RowsWritten& rowsWritten = {});
