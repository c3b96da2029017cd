// JPEG and BMP contents decoded into the raster, as a scan's file is after it is read.
#include "charts/image_loading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Raster raster;
    if (size > 0 && data[0] == 'B')
        DecodeBmp(data, size, raster);
    else
        DecodeJpeg(data, size, raster);
    return 0;
}
