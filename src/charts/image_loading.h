#pragma once

#include "charts/raster.h"
#include "charts/ycc_image.h"

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

// A scan as the fine reading loads it: a JPEG of brightness and colour differences, or of
// brightness alone, in its decoder's planes, anything else (BMP, printing inks, RGB) as a
// Raster. The other is empty.
struct ScanImage {
    Raster raster;
    YccImage planes;

    bool inPlanes() const { return !planes.isEmpty(); }
    int width() const { return inPlanes() ? planes.width : raster.width; }
    int height() const { return inPlanes() ? planes.height : raster.height; }
};

// Rows of a scan as they are written: rows firstRow .. endRow - 1 are done.
using ScanRowsWritten = std::function<void(const ScanImage& scan, int firstRow, int endRow)>;
using PlaneRowsWritten = std::function<void(const YccImage& planes, int firstRow, int endRow)>;

// LoadRasterImage for the fine reading, with the same rules; the memory of the scan's raster
// and planes is reused.
ImageLoad LoadScanImage(const QByteArray& nativePath, ScanImage& scan, const ScanRowsWritten& rowsWritten = {});

// Decoders for file contents already in memory; same rules as LoadRasterImage.
// JPEG: baseline or progressive, colour, grayscale or printing inks (CMYK, YCCK), decoded
// straight into the raster. A file whose image data is complete but whose end marker is
// missing is read; data that ends early or is damaged is refused.
ImageLoad DecodeJpeg(const std::uint8_t* data, std::size_t size, Raster& raster, const RowsWritten& rowsWritten = {});
// A JPEG for the fine reading, as LoadScanImage reads it.
ImageLoad DecodeScanJpeg(const std::uint8_t* data, std::size_t size, ScanImage& scan,
                         const ScanRowsWritten& rowsWritten = {});
// BMP: the header is checked first (size, and that the pixel data is all there when it is
// uncompressed), then the image is read through Qt's BMP reader.
ImageLoad DecodeBmp(const std::uint8_t* data, std::size_t size, Raster& raster, const RowsWritten& rowsWritten = {});
