#pragma once

#include "charts/raster.h"

#include <QString>

// Writing rasters as real image files, for tests that load scans from disk.

struct JpegWriteOptions {
    int quality = 92;
    bool grayscale = false;
    bool progressive = false;
};

// Writes the raster as a JPEG file through libjpeg; false when the file cannot be written.
bool WriteJpegFile(const QString& path, const Raster& raster, const JpegWriteOptions& options = {});
// Writes the raster as a 24-bit BMP file through Qt.
bool WriteBmpFile(const QString& path, const Raster& raster);
