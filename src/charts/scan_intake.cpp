#include "charts/scan_intake.h"

#include "charts/fine_geometry.h"
#include "charts/image_loading.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <future>
#include <mutex>
#include <new>
#include <type_traits>

namespace {

// Trunc(width / (w / h)): the height that keeps the aspect ratio w : h at the given width.
int HeightForWidth(int width, int w, int h)
{
    const double aspect = static_cast<double>(w) / h;
    return static_cast<int>(width / aspect);
}

// A chart disc is round: a box four times longer one way than the other holds none, and
// would ask for a disc image of absurd height.
constexpr int kMaxDiscAspect = 4;

bool AspectPossible(int w, int h)
{
    return w > 0 && h > 0 && std::max(w, h) <= kMaxDiscAspect * std::min(w, h);
}

// The disc image averaged by area (see Sampling::Area) is cut to the disc's rim, fitted in a
// nearest-neighbour image of the detected box grown by kRimWindowGrowth of its size on every
// side, kRimFitWidth pixels wide: on a white lid the paper hardly differs from the lid, and the
// box may end at the rim scale a little inside the rim. A rim is taken when its centre lies
// in the box and its radius is kRimAtLeast to kRimAtMost of the box's half-size.
constexpr double kRimWindowGrowth = 0.1;
constexpr int kRimFitWidth = 300;
constexpr double kRimAtLeast = 0.7;
constexpr double kRimAtMost = 1.2;
constexpr double kRimBoxSpread = 0.2; // the rim is looked for this near the box's half-size

struct ScanCircle {
    double centreX = 0.0;
    double centreY = 0.0;
    double radius = 0.0;
};

// The levels of a rectangle of the scan resampled pixel by pixel to width × height, as
// StretchedView reads it (black outside the scan).
IntensityImage NearestLevels(const Raster& scan, int left, int top, int rectWidth, int rectHeight, int width,
                             int height)
{
    return IntensityImageOf(StretchedView(scan, left, top, rectWidth, rectHeight, width, height));
}

Raster NearestColours(const YccImage& scan, int left, int top, int rectWidth, int rectHeight, int width, int height)
{
    return NearestRaster(scan, NearestIndices(left, rectWidth, width, scan.width),
                         NearestIndices(top, rectHeight, height, scan.height));
}

IntensityImage NearestLevels(const YccImage& scan, int left, int top, int rectWidth, int rectHeight, int width,
                             int height)
{
    const std::vector<int> columns = NearestIndices(left, rectWidth, width, scan.width);
    const std::vector<int> rows = NearestIndices(top, rectHeight, height, scan.height);
    IntensityImage levels{width, height, {}};
    levels.levels.resize(static_cast<std::size_t>(width) * height);
    std::uint8_t* out = levels.levels.data();
    for (const int row : rows) {
        if (row < 0) {
            out = std::fill_n(out, width, std::uint8_t(0));
            continue;
        }
        const YccRow colours(scan, row);
        for (const int column : columns)
            *out++ = column >= 0 ? static_cast<std::uint8_t>(Intensity(colours(column))) : 0;
    }
    return levels;
}

// RefineDiscBox of the working raster: the box resampled pixel by pixel to the working size.
BoxResult RefineWorkingBox(const Raster& scan, const DiscBox& box, int width, int height)
{
    return RefineDiscBox(
        StretchedView(scan, box.left, box.top, box.right - box.left, box.bottom - box.top, width, height));
}

BoxResult RefineWorkingBox(const YccImage& scan, const DiscBox& box, int width, int height)
{
    return RefineDiscBox(
        NearestColours(scan, box.left, box.top, box.right - box.left, box.bottom - box.top, width, height));
}

template <typename Scan>
std::optional<ScanCircle> ScanDiscRim(const Scan& scan, const DiscBox& box)
{
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    const int growX = static_cast<int>(std::lround(kRimWindowGrowth * w));
    const int growY = static_cast<int>(std::lround(kRimWindowGrowth * h));
    const int windowWidth = w + 2 * growX;
    const int windowHeight = h + 2 * growY;
    const int fitHeight = HeightForWidth(kRimFitWidth, windowWidth, windowHeight);
    if (fitHeight < 1)
        return std::nullopt;
    const IntensityImage window =
        NearestLevels(scan, box.left - growX, box.top - growY, windowWidth, windowHeight, kRimFitWidth, fitHeight);
    // Pixel x of the window shows scan pixel left + Trunc(x · step), which covers
    // left + x · step on average.
    const double stepX = double(windowWidth) / kRimFitWidth;
    const double stepY = double(windowHeight) / fitHeight;
    const double half = 0.25 * (w + h);
    const RimFit rim = FitDiscRim(window, window.width / 2.0, window.height / 2.0, half / stepX, kRimBoxSpread);
    if (!rim.found)
        return std::nullopt;
    const ScanCircle circle{box.left - growX + rim.centreX * stepX, box.top - growY + rim.centreY * stepY,
                            rim.radius * std::sqrt(stepX * stepY)};
    const bool inBox = circle.centreX > box.left && circle.centreX < box.right && circle.centreY > box.top
        && circle.centreY < box.bottom;
    if (!inBox || circle.radius < kRimAtLeast * half || circle.radius > kRimAtMost * half)
        return std::nullopt;
    return circle;
}

// The disc image averaged by area from the scan: the rectangle from (left, top) with the given
// steps, height pixels high.
template <typename Scan>
void AreaDiscImage(const Scan& scan, double left, double top, double stepX, double stepY, int height, ScanDisc& disc)
{
    disc.imageLeft = left;
    disc.imageTop = top;
    disc.imageStepX = stepX;
    disc.imageStepY = stepY;
    disc.image = AreaResample(scan, left, top, stepX, stepY, kDiscImageWidth, height);
}

// The same for the square around the rim with a margin of kDiscImageMargin image pixels.
template <typename Scan>
void AreaDiscImage(const Scan& scan, const ScanCircle& rim, ScanDisc& disc)
{
    const double spread = double(kDiscImageWidth) / (kDiscImageWidth - 2 * kDiscImageMargin);
    const double radius = rim.radius * spread;
    const double step = 2 * radius / kDiscImageWidth;
    AreaDiscImage(scan, rim.centreX - radius, rim.centreY - radius, step, step, kDiscImageWidth, disc);
}

bool CutBoxUsable(const DiscBox& box)
{
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    return AspectPossible(w, h) && HeightForWidth(kDiscImageWidth, w, h) >= 1;
}

// Scans come one after another, mostly of one size: the memory of a scan is kept for the next
// one, so that decoding writes into pages the process already has rather than into fresh ones
// the system must find and clear first (that costs as much as the decoding itself). A few
// scans of up to an A4 page at 600 dpi are kept; larger ones are let go.
class ScanBufferPool {
public:
    static constexpr std::size_t kMaxKeptBytes = std::size_t(5000) * 7100 * 4;
    static constexpr std::size_t kMaxKept = 2;

    ScanImage take()
    {
        const std::lock_guard lock(m_mutex);
        if (m_spare.empty())
            return {};
        ScanImage scan = std::move(m_spare.back());
        m_spare.pop_back();
        return scan;
    }

    void giveBack(ScanImage scan)
    {
        const std::size_t bytes = scan.raster.pixels.capacity() * sizeof(std::uint32_t)
            + scan.planes.luma.levels.capacity() + scan.planes.blueDifference.levels.capacity()
            + scan.planes.redDifference.levels.capacity();
        if (bytes == 0 || bytes > kMaxKeptBytes)
            return;
        const std::lock_guard lock(m_mutex);
        if (m_spare.size() < kMaxKept)
            m_spare.push_back(std::move(scan));
    }

private:
    std::mutex m_mutex;
    std::vector<ScanImage> m_spare;
};

ScanBufferPool& ScanBuffers()
{
    static ScanBufferPool pool;
    return pool;
}

// The scan of one intake, its memory taken from the pool and given back afterwards.
struct PooledScan {
    ScanImage scan = ScanBuffers().take();
    PooledScan() = default;
    ~PooledScan() { ScanBuffers().giveBack(std::move(scan)); }
    PooledScan(const PooledScan&) = delete;
    PooledScan& operator=(const PooledScan&) = delete;
};

} // namespace

QString LoadLogLine(int loadMs)
{
    return QStringLiteral("Učitavanje = %1").arg(loadMs);
}

QString DetectLogLine(int detectMs)
{
    return QStringLiteral("Osnovna analiza = %1").arg(detectMs);
}

QString FoundLogLine(int discs)
{
    return QStringLiteral("Detektirano %1 listića!").arg(discs);
}

QString DiscLogLine(const ScanDisc& disc)
{
    return (disc.stretched ? QStringLiteral("Obrada - stretch (%1) = %2") : QStringLiteral("Obrada  (%1) = %2"))
        .arg(disc.discNumber)
        .arg(disc.elapsedMs);
}

Sampling SamplingFor(const ChartReadingOptions& options)
{
    return options.fineAlignment ? Sampling::Area : Sampling::Nearest;
}

bool ScanSizeAcceptable(int width, int height)
{
    return width > kMinimumScanSize && height > kMinimumScanSize;
}

namespace {

template <typename Scan>
std::optional<ScanDisc> PrepareDisc(const QString& scanFileName, const Scan& scan, const DiscBox& box,
                                    int discNumber, Sampling sampling)
{
    QElapsedTimer timer;
    timer.start();
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    if (!AspectPossible(w, h))
        return std::nullopt;
    ScanDisc disc;
    disc.scanFileName = scanFileName;
    disc.discNumber = discNumber;
    disc.scanWidth = scan.width;
    disc.scanHeight = scan.height;
    disc.box = box;
    disc.sampling = sampling;
    // The working raster: the box itself, or the box resampled to 801 pixels wide, whichever
    // side was too large. It is only a view of the scan, and so is the disc image until it is
    // built: no full-size cut-out and no intermediate raster is ever made.
    disc.stretched = w > kWorkingRasterWidth || h > kWorkingRasterWidth;
    disc.workingWidth = disc.stretched ? kWorkingRasterWidth : w;
    disc.workingHeight = disc.stretched ? HeightForWidth(kWorkingRasterWidth, w, h) : h;
    // With Area the image is cut to the rim when it is found, and the box is not refined.
    const std::optional<ScanCircle> rim = sampling == Sampling::Area ? ScanDiscRim(scan, box) : std::nullopt;
    if (rim) {
        AreaDiscImage(scan, *rim, disc);
        disc.elapsedMs = static_cast<int>(timer.elapsed());
        return disc;
    }
    disc.refinedBox = RefineWorkingBox(scan, box, disc.workingWidth, disc.workingHeight).box;
    disc.elapsedMs = static_cast<int>(timer.elapsed());

    disc.cutBox = disc.refinedBox;
    if (!CutBoxUsable(disc.cutBox))
        disc.cutBox = {0, 0, disc.workingWidth, disc.workingHeight};
    if (!CutBoxUsable(disc.cutBox))
        return std::nullopt;
    const int cutWidth = disc.cutBox.right - disc.cutBox.left;
    const int cutHeight = disc.cutBox.bottom - disc.cutBox.top;
    const int imageHeight = HeightForWidth(kDiscImageWidth, cutWidth, cutHeight);
    if (sampling == Sampling::Area) {
        // The cut box in scan pixels: a working pixel covers w / workingWidth of them across.
        const double scaleX = double(w) / disc.workingWidth;
        const double scaleY = double(h) / disc.workingHeight;
        AreaDiscImage(scan, box.left + disc.cutBox.left * scaleX, box.top + disc.cutBox.top * scaleY,
                      scaleX * cutWidth / kDiscImageWidth, scaleY * cutHeight / imageHeight, imageHeight, disc);
    } else if constexpr (std::is_same_v<Scan, Raster>) {
        const RasterView working = StretchedView(scan, box.left, box.top, w, h, disc.workingWidth, disc.workingHeight);
        disc.image = ViewToRaster(StretchedView(working, disc.cutBox.left, disc.cutBox.top, cutWidth, cutHeight,
                                                kDiscImageWidth, imageHeight));
    }
    return disc;
}

} // namespace

std::optional<ScanDisc> PrepareScanDisc(const QString& scanFileName, const Raster& scan, const DiscBox& box,
                                        int discNumber, Sampling sampling)
{
    return PrepareDisc(scanFileName, scan, box, discNumber, sampling);
}

namespace {

ScanReading ReadScan(const QByteArray& nativePath, const ScanIntakeProgress& progress, Sampling sampling)
{
    const QString path = QFile::decodeName(nativePath);
    ScanReading reading;
    QElapsedTimer timer;
    timer.start();
    PooledScan pooled;
    ScanImage& scan = pooled.scan;
    // With Area the scan is loaded in planes where it can be, and detection's averaged copy is
    // worked out while the scan's rows are fresh from the decoder, not read back from memory
    // afterwards.
    std::optional<SampledMeanRows> averaged;
    ImageLoad loaded;
    if (sampling == Sampling::Area) {
        loaded = LoadScanImage(nativePath, scan, [&averaged](const ScanImage& written, int firstRow, int endRow) {
            if (!averaged)
                averaged.emplace(AveragedReduction(written.width(), written.height()));
            if (written.inPlanes())
                averaged->add(written.planes, firstRow, endRow);
            else
                averaged->add(written.raster, firstRow, endRow);
        });
    } else {
        loaded = LoadRasterImage(nativePath, scan.raster);
    }
    reading.loadMs = static_cast<int>(timer.elapsed());
    if (!loaded) {
        reading.error = loaded.message();
        return reading;
    }
    if (progress.loaded)
        progress.loaded(reading.loadMs);
    reading.scanWidth = scan.width();
    reading.scanHeight = scan.height();
    if (!ScanSizeAcceptable(reading.scanWidth, reading.scanHeight)) {
        reading.error = kScanTooSmallMessage;
        return reading;
    }
    if (sampling == Sampling::Area && !averaged)
        averaged.emplace(AveragedReduction(scan.width(), scan.height()));
    const ChartDiscsResult found =
        averaged ? FindChartDiscs(*averaged, scan.width(), scan.height()) : FindChartDiscs(scan.raster, sampling);
    reading.detectMs = found.elapsedMs;
    if (progress.detected)
        progress.detected(found.elapsedMs, static_cast<int>(found.boxes.size()));
    // The discs are cut and refined side by side (a scan holds one or two), and reported in
    // their order.
    std::vector<std::future<std::optional<ScanDisc>>> prepared;
    for (std::size_t i = 0; i < found.boxes.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (progress.discStarted)
            progress.discStarted(number);
        const DiscBox box = found.boxes[i];
        prepared.push_back(std::async(std::launch::async, [&path, &scan, box, number, sampling] {
            return scan.inPlanes() ? PrepareDisc(path, scan.planes, box, number, sampling)
                                   : PrepareDisc(path, scan.raster, box, number, sampling);
        }));
    }
    for (std::size_t i = 0; i < prepared.size(); ++i) {
        if (std::optional<ScanDisc> disc = prepared[i].get()) {
            if (progress.discPrepared)
                progress.discPrepared(*disc);
            reading.discs.push_back(std::move(*disc));
        } else {
            reading.unusableDiscs.push_back(static_cast<int>(i) + 1);
        }
    }
    if (reading.discs.empty())
        reading.error = kNoDiscFoundMessage;
    return reading;
}

}  // namespace

ScanReading ReadScanDiscs(const QString& path, const ScanIntakeProgress& progress, Sampling sampling)
{
    return ReadScanDiscs(QFile::encodeName(path), progress, sampling);
}

ScanReading ReadScanDiscs(const QByteArray& nativePath, const ScanIntakeProgress& progress,
                          Sampling sampling)
{
    try {
        return ReadScan(nativePath, progress, sampling);
    } catch (const std::bad_alloc&) {
        // Memory the machine cannot give for this scan: refused like a damaged one.
        ScanReading refused;
        refused.error = kImageLoadErrorMessage;
        return refused;
    }
}
