#pragma once

#include "charts/chart_reading_options.h"
#include "charts/disc_detection.h"
#include "charts/raster.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// From a scan file to one 750-pixel-wide disc image per chart disc: loading, the size check,
// disc detection, and for each disc the cut-out, the working raster of at most 801 pixels
// width, the refined box and the disc image. No window is involved; the progress display
// of the caller reports the durations kept here.

inline const QString kScanTooSmallMessage =
    QStringLiteral("Minimalne dimenzije skeniranog listića moraju biti 400x400 piksela!");
inline const QString kNoDiscFoundMessage = QStringLiteral("Nije detektiran ni jedan listić!");

// A scan must be more than this many pixels in both directions.
constexpr int kMinimumScanSize = 400;
// A disc box larger than this either way is resampled to this width before refinement.
constexpr int kWorkingRasterWidth = 801;
constexpr int kDiscImageWidth = 750;
constexpr int kDiscImageMargin = 2;
// Entry marker of a disc handed to a new workspace: not stored yet.
constexpr int kNewEntryMarker = -1;

bool ScanSizeAcceptable(int width, int height);

// How the scan is resampled for detection and for the disc image. Nearest: pixel by pixel.
// Area, for the fine reading: each pixel the mean of the scan under it. Nearest-neighbour
// sampling moves an edge by up to a whole pixel here and there, enough to make a trace a row
// thinner or thicker, and keeps specks of dust at full strength for detection. With Area the
// disc image is square, averaged straight from the scan and cut to the disc's rim as fitted
// in a nearest-neighbour image of the detected box grown a little, with a margin of
// kDiscImageMargin pixels, so that the disc fills it even where dust or a shadow widened the
// detected box, or a white lid narrowed it to the rim scale inside the rim.
// Area with the fine reading (FinoPoravnaj), else Nearest.
Sampling SamplingFor(const ChartReadingOptions& options);

// One disc read from a scan.
struct ScanDisc {
    // Handed to the disc's workspace; the file name, disc number and scan size end up in the
    // scan log when the chart is stored.
    QString scanFileName;
    int discNumber = 0; // 1-based position of the box in the detection's list, upper disc first
    int scanWidth = 0;
    int scanHeight = 0;
    int entryMarker = kNewEntryMarker;
    Raster image; // kDiscImageWidth × Trunc(750 / aspect of the cut box)

    // How the image was made.
    DiscBox box;            // in scan pixels, as detected (may reach beyond the scan)
    Sampling sampling = Sampling::Nearest;
    // Area: the rectangle of the scan the image was averaged from (scan pixel i covering
    // i .. i + 1), image pixel x covering imageLeft + x · imageStepX on.
    double imageLeft = 0.0;
    double imageTop = 0.0;
    double imageStepX = 0.0;
    double imageStepY = 0.0;
    bool stretched = false; // the box was larger than 801 pixels and resampled to 801 wide
    int workingWidth = 0;   // the working raster the box was refined in
    int workingHeight = 0;
    // Not worked out (all -1) for an image cut to the rim (Area):
    DiscBox refinedBox;     // in working-raster pixels, -1 for a side not found
    DiscBox cutBox;         // what was cut out of the working raster (right and bottom excluded)
    int elapsedMs = 0;      // cutting, resampling and refining
};

// Turns one detected box into its disc image.
// A refined box is cut out as it is, even with a side missing (-1 reads as the column or row
// just outside the working raster), as long as its width and height are positive and give
// a disc image at least one row high. Otherwise the whole working raster, that is the
// detected box, is used instead, so a disc is never dropped for want of refinement. Only a
// detected box without positive size, or one so flat that no image row remains, gives no
// disc (nullopt).
std::optional<ScanDisc> PrepareScanDisc(const QString& scanFileName, const Raster& scan, const DiscBox& box,
                                        int discNumber,
                                        Sampling sampling = Sampling::Nearest);

struct ScanReading {
    QString error; // a message for the operator; empty when discs were read
    int scanWidth = 0;
    int scanHeight = 0;
    int loadMs = 0;
    int detectMs = 0;
    std::vector<ScanDisc> discs;
    std::vector<int> unusableDiscs; // numbers of detected boxes that gave no disc image
};

// The lines of the intake's progress log, with the durations in milliseconds.
QString LoadLogLine(int loadMs);           // "Učitavanje = 31"
QString DetectLogLine(int detectMs);       // "Osnovna analiza = 4"
QString FoundLogLine(int discs);           // "Detektirano 2 listića!"
QString DiscLogLine(const ScanDisc& disc); // "Obrada - stretch (1) = 3", "Obrada  (2) = 2"

// What the intake tells a progress display as it goes, on the thread it runs on. Any member
// may be left empty.
struct ScanIntakeProgress {
    std::function<void(int loadMs)> loaded;                // the scan is in memory (and not refused)
    std::function<void(int detectMs, int boxes)> detected; // detection found this many boxes
    std::function<void(int discNumber)> discStarted;
    std::function<void(const ScanDisc& disc)> discPrepared;
};

// The whole intake of one scan file: kImageLoadErrorMessage when it cannot be loaded (for an
// image too large, its size and the limit),
// kScanTooSmallMessage when it is 400 pixels or less either way, kNoDiscFoundMessage when
// no usable disc is found; otherwise the discs in list order.
ScanReading ReadScanDiscs(const QString& path, const ScanIntakeProgress& progress = {},
                          Sampling sampling = Sampling::Nearest);
// The same for a path as the file system's own bytes, which need not be valid text (the
// discs then carry the name as text shows it).
ScanReading ReadScanDiscs(const QByteArray& nativePath, const ScanIntakeProgress& progress = {},
                          Sampling sampling = Sampling::Nearest);
