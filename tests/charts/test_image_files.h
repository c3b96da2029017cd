#pragma once

#include "charts/raster.h"

#include <QByteArray>
#include <QString>

#include <vector>

// Writing rasters and hand-made contents as real image files, for tests that load scans
// from disk.

struct JpegWriteOptions {
    int quality = 92;
    bool grayscale = false;
    bool progressive = false;
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
