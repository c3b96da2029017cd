#include "charts/scan_intake.h"

#include "charts/image_loading.h"

#include <QElapsedTimer>

namespace {

// Trunc(width / (w / h)): the height that keeps the aspect ratio w : h at the given width.
int HeightForWidth(int width, int w, int h)
{
    const double aspect = static_cast<double>(w) / h;
    return static_cast<int>(width / aspect);
}

bool CutBoxUsable(const DiscBox& box)
{
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    return w > 0 && h > 0 && HeightForWidth(kDiscImageWidth, w, h) >= 1;
}

} // namespace

bool ScanSizeAcceptable(const Raster& scan)
{
    return scan.width > kMinimumScanSize && scan.height > kMinimumScanSize;
}

std::optional<ScanDisc> PrepareScanDisc(const QString& scanFileName, const Raster& scan, const DiscBox& box,
                                        int discNumber)
{
    QElapsedTimer timer;
    timer.start();
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    if (w <= 0 || h <= 0)
        return std::nullopt;
    ScanDisc disc;
    disc.scanFileName = scanFileName;
    disc.discNumber = discNumber;
    disc.scanWidth = scan.width;
    disc.scanHeight = scan.height;
    disc.box = box;
    // The working raster: the box itself, or the box resampled to 801 pixels wide, whichever
    // side was too large. It is kept only as the scan columns and rows its pixels come from
    // (-1 outside the scan, which reads as black) and as the intensities the refinement
    // needs; the disc image is later taken from the scan through the same indices, so no
    // full-size cut-out is ever built.
    disc.stretched = w > kWorkingRasterWidth || h > kWorkingRasterWidth;
    disc.workingWidth = disc.stretched ? kWorkingRasterWidth : w;
    disc.workingHeight = disc.stretched ? HeightForWidth(kWorkingRasterWidth, w, h) : h;
    const std::vector<int> workingColumns = NearestIndices(box.left, w, disc.workingWidth, scan.width);
    const std::vector<int> workingRows = NearestIndices(box.top, h, disc.workingHeight, scan.height);
    LevelMap working{disc.workingWidth, disc.workingHeight,
                     std::vector<std::uint8_t>(static_cast<std::size_t>(disc.workingWidth) * disc.workingHeight, 0)};
    for (int y = 0; y < working.height; ++y) {
        if (workingRows[y] < 0)
            continue;
        const std::uint32_t* scanRow = scan.row(workingRows[y]);
        std::uint8_t* levels = &working.at(0, y);
        for (int x = 0; x < working.width; ++x) {
            if (workingColumns[x] >= 0)
                levels[x] = static_cast<std::uint8_t>(Intensity(scanRow[workingColumns[x]]));
        }
    }
    disc.refinedBox = RefineDiscBox(working).box;
    disc.elapsedMs = static_cast<int>(timer.elapsed());

    disc.cutBox = disc.refinedBox;
    if (!CutBoxUsable(disc.cutBox))
        disc.cutBox = {0, 0, working.width, working.height};
    if (!CutBoxUsable(disc.cutBox))
        return std::nullopt;
    // Cut-out of the working raster resampled to the disc image: working index → scan index.
    const int cutWidth = disc.cutBox.right - disc.cutBox.left;
    const int cutHeight = disc.cutBox.bottom - disc.cutBox.top;
    const auto throughWorking = [](std::vector<int> indices, const std::vector<int>& working) {
        for (int& i : indices)
            i = i >= 0 ? working[i] : -1;
        return indices;
    };
    disc.image = SampleNearest(
        scan,
        throughWorking(NearestIndices(disc.cutBox.left, cutWidth, kDiscImageWidth, working.width), workingColumns),
        throughWorking(NearestIndices(disc.cutBox.top, cutHeight, HeightForWidth(kDiscImageWidth, cutWidth, cutHeight),
                                      working.height),
                       workingRows));
    return disc;
}

ScanReading ReadScanDiscs(const QString& path)
{
    ScanReading reading;
    QElapsedTimer timer;
    timer.start();
    Raster scan;
    const bool loaded = LoadRasterImage(path, scan);
    reading.loadMs = static_cast<int>(timer.elapsed());
    if (!loaded) {
        reading.error = kImageLoadErrorMessage;
        return reading;
    }
    reading.scanWidth = scan.width;
    reading.scanHeight = scan.height;
    if (!ScanSizeAcceptable(scan)) {
        reading.error = kScanTooSmallMessage;
        return reading;
    }
    const ChartDiscsResult found = FindChartDiscs(scan);
    reading.detectMs = found.elapsedMs;
    for (std::size_t i = 0; i < found.boxes.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (std::optional<ScanDisc> disc = PrepareScanDisc(path, scan, found.boxes[i], number))
            reading.discs.push_back(std::move(*disc));
        else
            reading.unusableDiscs.push_back(number);
    }
    if (reading.discs.empty())
        reading.error = kNoDiscFoundMessage;
    return reading;
}
