// The BMP reader module (see bmp_reading.h): Qt's BMP reader, on its own.

#include "charts/bmp_reading.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <new>

namespace {

// Qt refuses images above its own allocation limit; ours is checked before.
constexpr int kLimitMegabytes = 512;
// The image stays in the reader's own format (a paletted scan takes a quarter of the memory)
// and is converted a strip at a time, so that a second full-size copy is never held beside
// the raster.
constexpr int kStripRows = 64;

} // namespace

extern "C" Q_DECL_EXPORT BmpRead VeltraReadBmp(const std::uint8_t* data, std::size_t size, const BmpSink& sink)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    if (QImageReader::allocationLimit() != 0 && QImageReader::allocationLimit() < kLimitMegabytes)
        QImageReader::setAllocationLimit(kLimitMegabytes);
    QImage image;
    try {
        if (!reader.read(&image) || image.isNull())
            return BmpRead::Refused;
        if (!sink.size(sink.context, image.width(), image.height()))
            return BmpRead::SizeRefused;
        for (int top = 0; top < image.height(); top += kStripRows) {
            const int rows = std::min(kStripRows, image.height() - top);
            const QImage strip = image.copy(0, top, image.width(), rows).convertToFormat(QImage::Format_RGB32);
            if (strip.isNull())
                return BmpRead::Refused;
            for (int y = 0; y < rows; ++y) {
                const auto* line = reinterpret_cast<const std::uint32_t*>(strip.constScanLine(y));
                std::copy(line, line + image.width(), sink.row(sink.context, top + y));
            }
            sink.rowsWritten(sink.context, top, top + rows);
        }
    } catch (const std::bad_alloc&) {
        return BmpRead::Refused;
    }
    return BmpRead::Read;
}
