#pragma once

#include "charts/raster.h"

#include <QByteArray>
#include <QString>

#include <vector>

// Writing rasters and hand-made contents as real image files, for tests that load scans
// from disk.

// A file of printing inks: CMYK, or YCCK (its colours stored as YCbCr beside the black).
// The inks are the pixels' colours with all the grey they share in black.
enum class JpegInks { None, Cmyk, Ycck };

struct JpegWriteOptions {
    int quality = 92;
    bool grayscale = false;
    bool progressive = false;
    JpegInks inks = JpegInks::None;
    // With Adobe's marker the inks are stored inverted (255 is no ink), as Adobe's programs do;
    // without it as they are. YCCK always has the marker.
    bool adobeMarker = true;
    // Image pixels per pixel of the colour differences across and down (2 and 2 halve them,
    // as most cameras and scanners do; 1 and 1 keep them whole).
    int colourSpanAcross = 2;
    int colourSpanDown = 2;
};

// Writes the raster as a JPEG file through libjpeg; false when the file cannot be written.
bool WriteJpegFile(const QString& path, const Raster& raster, const JpegWriteOptions& options = {});
// Writes the raster as a 24-bit BMP file through Qt.
bool WriteBmpFile(const QString& path, const Raster& raster);

// The contents of a JPEG file with another size in its frame header (SOF0..SOF2); empty when
// there is no frame header.
QByteArray WithJpegSize(QByteArray data, int width, int height);

// A paletted BMP of run-length pixel data (RLE8 for 8 bits a pixel, RLE4 for 4), with the
// given colours (0x00RRGGBB) and encoded pixel data as it is.
QByteArray RunLengthBmp(int bitsPerPixel, int width, int height, const std::vector<quint32>& palette,
                        const QByteArray& pixels);
