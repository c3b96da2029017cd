#include "charts/image_loading.h"

#include "charts/bmp_reading.h"
#include "common/little_endian.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <span>
#include <new>
#include <system_error>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to
// the decoder, which then releases everything and refuses the file.
struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void JpegErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1);
}

// Warnings that mean the compressed data is damaged or cut short; libjpeg would carry on
// and fill the rest with grey, but a damaged scan must not be read as a chart. The end of the
// file alone (JWRN_JPEG_EOF) is not among them: libjpeg then supplies the end marker, and when
// image data was still missing it goes on to report the data segment ending early
// (JWRN_HIT_MARKER). So a file that lacks only its end marker is read.
bool IsDataCorruption(int messageCode)
{
    switch (messageCode) {
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
        return true;
    default:
        return false;
    }
}

void JpegEmitMessage(j_common_ptr info, int level)
{
    if (level < 0 && IsDataCorruption(info->err->msg_code))
        JpegErrorExit(info);
}

void JpegOutputMessage(j_common_ptr) {}

// A progressive file may hold any number of scans, each a pass over the whole image; a
// damaged or hostile one with thousands of them would keep the decoder busy for minutes.
constexpr int kMaxProgressiveScans = 500;

void JpegProgress(j_common_ptr info)
{
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxProgressiveScans)
        JpegErrorExit(info);
}

// Byte order in memory that makes a 32-bit 0xAARRGGBB value on this machine.
constexpr J_COLOR_SPACE kArgbColorSpace = std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;

bool StartsWith(const std::uint8_t* data, std::size_t size, std::initializer_list<std::uint8_t> magic)
{
    if (size < magic.size())
        return false;
    std::size_t i = 0;
    for (std::uint8_t byte : magic) {
        if (data[i++] != byte)
            return false;
    }
    return true;
}

// Files of printing inks (CMYK, or YCCK which libjpeg turns into CMYK) are decoded as CMYK,
// four bytes a pixel like the raster's, straight into its rows, and turned into ARGB there.
// Adobe's files (with their marker) keep the inks inverted: 255 is no ink. Each colour is
// what is left of the paper's white under its ink and the black.
bool HoldsInks(const jpeg_decompress_struct& info)
{
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

void InksToArgb(Raster& raster, int firstRow, int endRow, bool inverted)
{
    constexpr int kFull = 255;
    const auto left = [](int paper, int black) { return static_cast<std::uint32_t>((paper * black + kFull / 2) / kFull); };
    for (int y = firstRow; y < endRow; ++y) {
        std::uint32_t* pixel = raster.row(y);
        for (int x = 0; x < raster.width; ++x) {
            std::uint8_t ink[4];
            std::memcpy(ink, pixel + x, sizeof ink);
            int paper[4];
            for (int i = 0; i < 4; ++i)
                paper[i] = inverted ? ink[i] : kFull - ink[i];
            pixel[x] = 0xFF000000u | left(paper[0], paper[3]) << 16 | left(paper[1], paper[3]) << 8 | left(paper[2], paper[3]);
        }
    }
}

ImageLoad Refused()
{
    return ImageLoad{};
}

ImageLoad TooLarge(std::int64_t width, std::int64_t height)
{
    return ImageLoad{ImageLoad::Outcome::TooLarge, width, height};
}

constexpr ImageLoad kLoaded{ImageLoad::Outcome::Loaded};

// An open file, closed with its owner.
struct FileDescriptor {
    explicit FileDescriptor(int opened) : descriptor(opened) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (descriptor >= 0)
            ::close(descriptor);
    }
    const int descriptor;
};

// Walks RLE8 or RLE4 pixel data (Windows run-length encoding) without decoding it: every
// escape and run must lie within the data, and the data must reach its end-of-bitmap mark.
// A file cut short loses that mark, so it is refused rather than read with blank rows.
bool RleDataComplete(const std::uint8_t* data, std::size_t size, bool fourBits)
{
    constexpr std::uint8_t kEscape = 0;
    constexpr std::uint8_t kEndOfLine = 0;
    constexpr std::uint8_t kEndOfBitmap = 1;
    constexpr std::uint8_t kDelta = 2;
    std::size_t at = 0;
    while (at + 2 <= size) {
        const std::uint8_t count = data[at];
        const std::uint8_t value = data[at + 1];
        at += 2;
        if (count != kEscape || value == kEndOfLine)
            continue;
        if (value == kEndOfBitmap)
            return true;
        if (value == kDelta) {
            at += 2;
            continue;
        }
        // An absolute run of `value` pixels, padded to a whole 16-bit word.
        const std::size_t bytes = fourBits ? (value + 1u) / 2u : value;
        at += (bytes + 1u) & ~std::size_t(1);
    }
    return false;
}

// Sanity of a BMP header: a known header size, pixel data that starts after the headers and
// within the file, a raster size within the limit and, for uncompressed pixel data, a file
// long enough to hold it all; run-length data must be whole. Loaded when acceptable.
ImageLoad CheckBmpHeader(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kFileHeaderSize = 14;
    constexpr std::uint32_t kCoreHeaderSize = 12;
    constexpr std::uint32_t kInfoHeaderSize = 40;
    constexpr std::uint32_t kUncompressed = 0;
    constexpr std::uint32_t kRle8 = 1;
    constexpr std::uint32_t kRle4 = 2;
    constexpr std::uint32_t kBitFields = 3;
    constexpr std::uint32_t kAlphaBitFields = 6;
    if (size < kFileHeaderSize + kCoreHeaderSize)
        return Refused();
    const std::uint32_t pixelOffset = ReadLittle32(data + 10);
    const std::uint32_t headerSize = ReadLittle32(data + kFileHeaderSize);
    const std::uint8_t* header = data + kFileHeaderSize;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = kUncompressed;
    if (headerSize == kCoreHeaderSize) {
        width = ReadLittle16(header + 4);
        height = ReadLittle16(header + 6);
        bitsPerPixel = ReadLittle16(header + 10);
    } else if (headerSize >= kInfoHeaderSize && size >= kFileHeaderSize + kInfoHeaderSize) {
        width = static_cast<std::int32_t>(ReadLittle32(header + 4));
        height = static_cast<std::int32_t>(ReadLittle32(header + 8));
        bitsPerPixel = ReadLittle16(header + 14);
        compression = ReadLittle32(header + 16);
    } else {
        return Refused();
    }
    if (std::uint64_t(pixelOffset) < kFileHeaderSize + std::uint64_t(headerSize) || pixelOffset >= size)
        return Refused();
    if (height < 0)
        height = -height; // rows stored from the top
    if (width <= 0 || height <= 0 || bitsPerPixel == 0 || bitsPerPixel > 32)
        return Refused();
    if (!RasterSizeAllowed(width, height))
        return TooLarge(width, height);
    if (compression == kUncompressed || compression == kBitFields || compression == kAlphaBitFields) {
        const std::int64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
        if (std::int64_t(pixelOffset) + rowBytes * height > std::int64_t(size))
            return Refused();
    }
    if ((compression == kRle8 || compression == kRle4)
        && !RleDataComplete(data + pixelOffset, size - pixelOffset, compression == kRle4))
        return Refused();
    return kLoaded;
}

// The BMP reader module beside the executable, loaded once; null when it is missing.
BmpReader BmpReaderModule()
{
    static const BmpReader reader = [] {
        const QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
        static QLibrary module(QFileInfo(executable).absolutePath() + QLatin1Char('/') + QLatin1String(kBmpReaderModule));
        return reinterpret_cast<BmpReader>(module.resolve(kBmpReaderFunction));
    }();
    return reader;
}

} // namespace

bool RasterSizeAllowed(std::int64_t width, std::int64_t height)
{
    // The first comparison keeps the product from overflowing.
    return width > 0 && height > 0 && width <= kMaxRasterBytes && width * height * 4 <= kMaxRasterBytes;
}

QString ImageLoad::message() const
{
    switch (outcome) {
    case Outcome::Loaded:
        return QString();
    case Outcome::TooLarge:
        return QStringLiteral("Slika je prevelika: %1 × %2 piksela, a najviše se može učitati %3 milijuna piksela "
                              "(%4 MB). Skenirajte listić manjom rezolucijom (npr. 200 dpi).")
            .arg(width)
            .arg(height)
            .arg(kMaxRasterBytes / 4 / 1000000)
            .arg(kMaxRasterBytes / (1024 * 1024));
    case Outcome::DecoderOutOfMemory:
        return QStringLiteral("Slika je prevelika za učitavanje: %1 × %2 piksela u progresivnom JPEG-u, čije "
                              "dekodiranje traži više memorije od dopuštene. Skenirajte listić manjom rezolucijom "
                              "(npr. 200 dpi) ili ga spremite kao običan JPEG.")
            .arg(width)
            .arg(height);
    case Outcome::Refused:
        break;
    }
    return kImageLoadErrorMessage;
}

namespace {

// A file of brightness and colour differences (or brightness alone) with the brightness at
// full size and both colour differences alike, each of their pixels covering a whole number of
// image pixels: read into planes as the decoder holds them.
bool PlanesReadable(const jpeg_decompress_struct& info)
{
    const bool ycc = info.jpeg_color_space == JCS_YCbCr && info.num_components == 3;
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE && info.num_components == 1;
    if (!ycc && !grey)
        return false;
    const jpeg_component_info* components = info.comp_info;
    if (components[0].h_samp_factor != info.max_h_samp_factor || components[0].v_samp_factor != info.max_v_samp_factor)
        return false;
    if (grey)
        return true;
    return components[1].h_samp_factor == components[2].h_samp_factor
        && components[1].v_samp_factor == components[2].v_samp_factor
        && info.max_h_samp_factor % components[1].h_samp_factor == 0
        && info.max_v_samp_factor % components[1].v_samp_factor == 0;
}

// The planes of a file started with raw output, every row the decoder may write included
// (whole blocks across, whole block rows down). Throws std::bad_alloc.
void AllocatePlanes(const jpeg_decompress_struct& info, YccImage& image)
{
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    YccPlane* planes[] = {&image.luma, &image.blueDifference, &image.redDifference};
    for (YccPlane* plane : planes)
        plane->levels.clear();
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        YccPlane& plane = *planes[c];
        plane.width = static_cast<int>(component.downsampled_width);
        plane.height = static_cast<int>(component.downsampled_height);
        plane.spanX = info.max_h_samp_factor / component.h_samp_factor;
        plane.spanY = info.max_v_samp_factor / component.v_samp_factor;
        const std::size_t blocksAcross = (component.width_in_blocks + component.h_samp_factor - 1)
            / component.h_samp_factor * component.h_samp_factor;
        plane.stride = blocksAcross * DCTSIZE;
        const std::size_t rows = std::size_t(info.total_iMCU_rows) * component.v_samp_factor * DCTSIZE;
        plane.levels.resize(plane.stride * rows);
    }
}

// The rows of a started decoder into the raster, eight at a time.
void ReadRows(jpeg_decompress_struct& info, Raster& raster, bool inks, const RowsWritten& rowsWritten)
{
    constexpr int kRowsPerCall = 8;
    JSAMPROW rows[kRowsPerCall];
    while (info.output_scanline < info.output_height) {
        const int first = static_cast<int>(info.output_scanline);
        const int count = std::min(kRowsPerCall, raster.height - first);
        for (int i = 0; i < count; ++i)
            rows[i] = reinterpret_cast<JSAMPROW>(raster.row(first + i));
        const int done = static_cast<int>(jpeg_read_scanlines(&info, rows, static_cast<JDIMENSION>(count)));
        if (inks)
            InksToArgb(raster, first, first + done, info.saw_Adobe_marker);
        if (rowsWritten && done > 0)
            rowsWritten(raster, first, first + done);
    }
}

// The planes of a decoder started with raw output, a row of blocks (of the plane sampled most
// finely down) at a time.
void ReadPlanes(jpeg_decompress_struct& info, YccImage& planes, const PlaneRowsWritten& rowsWritten)
{
    constexpr int kMaxSampling = 4; // the most rows of blocks a component may have in one such row
    YccPlane* const target[] = {&planes.luma, &planes.blueDifference, &planes.redDifference};
    JSAMPROW rows[3][kMaxSampling * DCTSIZE];
    JSAMPARRAY components[3] = {rows[0], rows[1], rows[2]};
    const int imageRows = info.max_v_samp_factor * DCTSIZE;
    while (info.output_scanline < info.output_height) {
        const int first = static_cast<int>(info.output_scanline);
        const int blockRow = first / imageRows;
        for (int c = 0; c < info.num_components; ++c) {
            const int planeRows = info.comp_info[c].v_samp_factor * DCTSIZE;
            for (int i = 0; i < planeRows; ++i)
                rows[c][i] = target[c]->row(blockRow * planeRows + i);
        }
        if (jpeg_read_raw_data(&info, components, static_cast<JDIMENSION>(imageRows)) == 0)
            ERREXIT(&info, JERR_INPUT_EMPTY); // no data: cannot be, the whole file is in memory
        const int end = std::min(static_cast<int>(info.output_scanline), planes.height);
        if (rowsWritten)
            rowsWritten(planes, first, end);
    }
}

// The decoding shared by DecodeJpeg and LoadScanImage: into the raster, or into `planes` when
// given and the file allows it.
ImageLoad DecodeJpegScan(const std::uint8_t* data, std::size_t size, Raster& raster, YccImage* planes,
                         const RowsWritten& rasterRows, const PlaneRowsWritten& planeRows)
{
    EmptyRaster(raster);
    if (planes) {
        // Emptied, the memory kept for the next scan.
        planes->width = 0;
        planes->height = 0;
    }
    if (!StartsWith(data, size, {0xFF, 0xD8, 0xFF}))
        return Refused();
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof info); // destroying it is harmless even if creation fails
    JpegErrorManager error;
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = JpegErrorExit;
    error.base.emit_message = JpegEmitMessage;
    error.base.output_message = JpegOutputMessage;
    // The thread that readies fresh pages beside the decoder, held by a plain pointer, deleted
    // (which waits for it) on every way out.
    PagesAhead* volatile pagesAhead = nullptr;
    // Only plain data lives in this frame, so jumping back into it skips no destructor.
    if (setjmp(error.jump)) {
        delete pagesAhead;
        // Out of the memory it was given: an image too large for this program, not a damaged one.
        const int code = error.base.msg_code;
        const ImageLoad refused = code == JERR_NO_BACKING_STORE || code == JERR_OUT_OF_MEMORY
                                      ? ImageLoad{ImageLoad::Outcome::DecoderOutOfMemory, info.image_width, info.image_height}
                                      : Refused();
        jpeg_destroy_decompress(&info);
        raster = Raster();
        if (planes)
            *planes = YccImage();
        return refused;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxScanMemoryBytes - kMaxRasterBytes;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = JpegProgress;
    info.progress = &progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    const bool inPlanes = planes && PlanesReadable(info);
    const bool inks = !inPlanes && HoldsInks(info);
    if (inPlanes) {
        info.raw_data_out = TRUE;
        info.out_color_space = info.jpeg_color_space;
    } else {
        info.out_color_space = inks ? JCS_CMYK : kArgbColorSpace;
    }
    jpeg_calc_output_dimensions(&info);
    if (!RasterSizeAllowed(info.output_width, info.output_height)) {
        const ImageLoad refused = TooLarge(info.output_width, info.output_height);
        jpeg_destroy_decompress(&info);
        return refused;
    }
    // The decoder's own buffers (a progressive file keeps every coefficient of the image) get
    // what the raster would leave of the memory one scan may take; beyond it libjpeg gives up.
    const std::int64_t rasterBytes = std::int64_t(info.output_width) * info.output_height * 4;
    info.mem->max_memory_to_use = static_cast<long>(kMaxScanMemoryBytes - rasterBytes);
    try {
        std::vector<std::span<std::uint8_t>> fresh;
        const auto noteFresh = [&fresh](auto& buffer, std::size_t kept) {
            if (buffer.capacity() != kept)
                fresh.emplace_back(reinterpret_cast<std::uint8_t*>(buffer.data()), buffer.size() * sizeof buffer[0]);
        };
        if (inPlanes) {
            const std::size_t kept[] = {planes->luma.levels.capacity(), planes->blueDifference.levels.capacity(),
                                        planes->redDifference.levels.capacity()};
            AllocatePlanes(info, *planes);
            noteFresh(planes->luma.levels, kept[0]);
            noteFresh(planes->blueDifference.levels, kept[1]);
            noteFresh(planes->redDifference.levels, kept[2]);
        } else {
            const std::size_t kept = raster.pixels.capacity();
            AllocateRaster(raster, static_cast<int>(info.output_width), static_cast<int>(info.output_height));
            noteFresh(raster.pixels, kept);
        }
        pagesAhead = new PagesAhead(std::move(fresh));
    } catch (const std::bad_alloc&) {
        jpeg_destroy_decompress(&info);
        raster = Raster();
        if (planes)
            *planes = YccImage();
        return Refused();
    } catch (const std::system_error&) {
        // No thread to spare: the decoder readies the pages itself.
    }
    jpeg_start_decompress(&info);
    if (inPlanes)
        ReadPlanes(info, *planes, planeRows);
    else
        ReadRows(info, raster, inks, rasterRows);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    delete pagesAhead;
    return kLoaded;
}

} // namespace

ImageLoad DecodeJpeg(const std::uint8_t* data, std::size_t size, Raster& raster, const RowsWritten& rowsWritten)
{
    return DecodeJpegScan(data, size, raster, nullptr, rowsWritten, {});
}

ImageLoad DecodeBmp(const std::uint8_t* data, std::size_t size, Raster& raster, const RowsWritten& rowsWritten)
{
    raster = Raster();
    if (!StartsWith(data, size, {'B', 'M'}))
        return Refused();
    if (const ImageLoad header = CheckBmpHeader(data, size); !header)
        return header;
    const BmpReader read = BmpReaderModule();
    if (!read)
        return Refused();
    struct Target {
        Raster& raster;
        const RowsWritten& rowsWritten;
        ImageLoad refused;
    } target{raster, rowsWritten, {}};
    BmpSink sink;
    sink.context = &target;
    sink.size = [](void* context, int width, int height) {
        auto& t = *static_cast<Target*>(context);
        if (!RasterSizeAllowed(width, height)) {
            t.refused = TooLarge(width, height);
            return false;
        }
        ResizeRaster(t.raster, width, height);
        return true;
    };
    sink.row = [](void* context, int y) { return static_cast<Target*>(context)->raster.row(y); };
    sink.rowsWritten = [](void* context, int firstRow, int endRow) {
        auto& t = *static_cast<Target*>(context);
        if (t.rowsWritten)
            t.rowsWritten(t.raster, firstRow, endRow);
    };
    const BmpRead outcome = read(data, size, sink);
    if (outcome == BmpRead::Read)
        return kLoaded;
    raster = Raster();
    return outcome == BmpRead::SizeRefused ? target.refused : Refused();
}

ImageLoad LoadRasterImage(const QString& path, Raster& raster, const RowsWritten& rowsWritten)
{
    return LoadRasterImage(QFile::encodeName(path), raster, rowsWritten);
}

namespace {

// The whole of a regular file, into memory of its checked size rather than mapped: a file that
// shrinks while it is read then gives a short read, not a fault. False when it cannot be read.
bool ReadScanFile(const QByteArray& nativePath, WorkBuffer<std::uint8_t>& bytes)
{
    if (nativePath.isEmpty())
        return false;
    // Opened without waiting (a FIFO would block for ever) and then taken only when it is a
    // regular file of a size we read: a device would never end.
    const FileDescriptor file(::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    const int descriptor = file.descriptor;
    if (descriptor < 0)
        return false;
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0
        || status.st_size > kMaxRasterBytes)
        return false;
    try {
        bytes.resize(static_cast<std::size_t>(status.st_size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(descriptor, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool IsJpeg(const WorkBuffer<std::uint8_t>& bytes)
{
    return StartsWith(bytes.data(), bytes.size(), {0xFF, 0xD8, 0xFF});
}

bool IsBmp(const WorkBuffer<std::uint8_t>& bytes)
{
    return StartsWith(bytes.data(), bytes.size(), {'B', 'M'});
}

} // namespace

ImageLoad LoadRasterImage(const QByteArray& nativePath, Raster& raster, const RowsWritten& rowsWritten)
{
    EmptyRaster(raster);
    WorkBuffer<std::uint8_t> bytes;
    if (!ReadScanFile(nativePath, bytes))
        return Refused();
    if (IsJpeg(bytes))
        return DecodeJpeg(bytes.data(), bytes.size(), raster, rowsWritten);
    if (IsBmp(bytes))
        return DecodeBmp(bytes.data(), bytes.size(), raster, rowsWritten);
    return Refused();
}

ImageLoad LoadScanImage(const QByteArray& nativePath, ScanImage& scan, const ScanRowsWritten& rowsWritten)
{
    EmptyRaster(scan.raster);
    scan.planes.width = 0;
    scan.planes.height = 0;
    WorkBuffer<std::uint8_t> bytes;
    if (!ReadScanFile(nativePath, bytes))
        return Refused();
    if (IsJpeg(bytes))
        return DecodeScanJpeg(bytes.data(), bytes.size(), scan, rowsWritten);
    if (IsBmp(bytes)) {
        const RowsWritten rasterRows = rowsWritten ? RowsWritten([&](const Raster&, int first, int end) {
            rowsWritten(scan, first, end);
        }) : RowsWritten();
        return DecodeBmp(bytes.data(), bytes.size(), scan.raster, rasterRows);
    }
    return Refused();
}

ImageLoad DecodeScanJpeg(const std::uint8_t* data, std::size_t size, ScanImage& scan, const ScanRowsWritten& rowsWritten)
{
    const RowsWritten rasterRows = rowsWritten ? RowsWritten([&](const Raster&, int first, int end) {
        rowsWritten(scan, first, end);
    }) : RowsWritten();
    const PlaneRowsWritten planeRows = rowsWritten ? PlaneRowsWritten([&](const YccImage&, int first, int end) {
        rowsWritten(scan, first, end);
    }) : PlaneRowsWritten();
    return DecodeJpegScan(data, size, scan.raster, &scan.planes, rasterRows, planeRows);
}
