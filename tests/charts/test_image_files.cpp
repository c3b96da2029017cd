#include "test_image_files.h"

#include <QFile>
#include <QImage>

#include <cstdio>
#include <vector>

#include <jpeglib.h>

bool WriteJpegFile(const QString& path, const Raster& raster, const JpegWriteOptions& options)
{
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(raster.width);
    info.image_height = static_cast<JDIMENSION>(raster.height);
    info.input_components = options.grayscale ? 1 : 3;
    info.in_color_space = options.grayscale ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.quality, TRUE);
    if (options.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> line(static_cast<std::size_t>(raster.width) * info.input_components);
    for (int y = 0; y < raster.height; ++y) {
        for (int x = 0; x < raster.width; ++x) {
            const std::uint32_t p = raster.at(x, y);
            if (options.grayscale) {
                line[x] = static_cast<JSAMPLE>(Intensity(p));
            } else {
                line[3 * x] = static_cast<JSAMPLE>((p >> 16) & 0xFF);
                line[3 * x + 1] = static_cast<JSAMPLE>((p >> 8) & 0xFF);
                line[3 * x + 2] = static_cast<JSAMPLE>(p & 0xFF);
            }
        }
        JSAMPROW row = line.data();
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

bool WriteBmpFile(const QString& path, const Raster& raster)
{
    QImage image(raster.width, raster.height, QImage::Format_RGB888);
    for (int y = 0; y < raster.height; ++y)
        for (int x = 0; x < raster.width; ++x)
            image.setPixel(x, y, raster.at(x, y));
    return image.save(path, "BMP");
}
