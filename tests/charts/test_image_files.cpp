#include "test_image_files.h"

#include <QFile>
#include <QImage>

#include <algorithm>
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
    const bool inks = options.inks != JpegInks::None;
    info.input_components = options.grayscale ? 1 : inks ? 4 : 3;
    info.in_color_space = options.grayscale ? JCS_GRAYSCALE : inks ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    if (inks) {
        jpeg_set_colorspace(&info, options.inks == JpegInks::Ycck ? JCS_YCCK : JCS_CMYK);
        info.write_Adobe_marker = options.adobeMarker || options.inks == JpegInks::Ycck;
    }
    jpeg_set_quality(&info, options.quality, TRUE);
    if (!options.grayscale && !inks) {
        info.comp_info[0].h_samp_factor = options.colourSpanAcross;
        info.comp_info[0].v_samp_factor = options.colourSpanDown;
    }
    const bool inverted = info.write_Adobe_marker;
    if (options.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> line(static_cast<std::size_t>(raster.width) * info.input_components);
    for (int y = 0; y < raster.height; ++y) {
        for (int x = 0; x < raster.width; ++x) {
            const std::uint32_t p = raster.at(x, y);
            if (options.grayscale) {
                line[x] = static_cast<JSAMPLE>(Intensity(p));
            } else if (inks) {
                const int rgb[3] = {int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)};
                const int lightest = std::max({rgb[0], rgb[1], rgb[2]});
                const int black = 255 - lightest;
                for (int i = 0; i < 4; ++i) {
                    const int ink = i == 3 ? black : lightest == 0 ? 0 : (lightest - rgb[i]) * 255 / lightest;
                    line[4 * x + i] = static_cast<JSAMPLE>(inverted ? 255 - ink : ink);
                }
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

QByteArray WithJpegSize(QByteArray data, int width, int height)
{
    for (int i = 0; i + 8 < data.size(); ++i) {
        const auto marker = static_cast<unsigned char>(data[i + 1]);
        if (static_cast<unsigned char>(data[i]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) {
            data[i + 5] = char(height >> 8);
            data[i + 6] = char(height & 0xFF);
            data[i + 7] = char(width >> 8);
            data[i + 8] = char(width & 0xFF);
            return data;
        }
    }
    return {};
}

QByteArray RunLengthBmp(int bitsPerPixel, int width, int height, const std::vector<quint32>& palette,
                        const QByteArray& pixels)
{
    const auto little = [](quint32 value, int bytes) {
        QByteArray out(bytes, 0);
        for (int i = 0; i < bytes; ++i)
            out[i] = char((value >> (8 * i)) & 0xFF);
        return out;
    };
    constexpr quint32 kInfoHeaderSize = 40;
    const quint32 offset = 14 + kInfoHeaderSize + 4 * quint32(palette.size());
    QByteArray file = "BM" + little(offset + pixels.size(), 4) + little(0, 4) + little(offset, 4);
    file += little(kInfoHeaderSize, 4) + little(width, 4) + little(height, 4) + little(1, 2) + little(bitsPerPixel, 2);
    file += little(bitsPerPixel == 8 ? 1 : 2, 4) + little(pixels.size(), 4) + little(2835, 4) + little(2835, 4);
    file += little(quint32(palette.size()), 4) + little(0, 4);
    for (const quint32 colour : palette)
        file += little(colour, 4);
    return file + pixels;
}
