#pragma once

#include <cstddef>
#include <cstdint>

// BMP files are read through Qt's image reader, which lives in Qt's GUI library. That library
// and the dozens it loads in turn cost a command-line program more time to start than reading
// a scan takes, so the reader is a small module of its own (libveltra_bmp_reader.so beside the
// executable), loaded the first time a BMP file is met. This is what the module and the image
// loading share.

// Where the module puts the image: it gives the size first (false refuses the image), then
// each strip of rows, written into the rows `row` gives.
struct BmpSink {
    void* context = nullptr;
    bool (*size)(void* context, int width, int height) = nullptr;
    std::uint32_t* (*row)(void* context, int y) = nullptr;
    void (*rowsWritten)(void* context, int firstRow, int endRow) = nullptr;
};

enum class BmpRead : int { Read = 0, Refused = 1, SizeRefused = 2 };

// The module's one function: reads a whole BMP file's contents into the sink, as opaque
// 0xAARRGGBB pixels. The image loading checks the header before.
using BmpReader = BmpRead (*)(const std::uint8_t* data, std::size_t size, const BmpSink& sink);
inline constexpr char kBmpReaderModule[] = "libveltra_bmp_reader.so";
inline constexpr char kBmpReaderFunction[] = "VeltraReadBmp";
