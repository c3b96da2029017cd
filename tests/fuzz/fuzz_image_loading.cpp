// JPEG and BMP contents decoded into the raster, as a scan's file is after it is read; a JPEG
// also into its planes, as the fine reading keeps it, every pixel read and the whole averaged.
#include "charts/image_loading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Raster raster;
    if (size > 0 && data[0] == 'B')
        DecodeBmp(data, size, raster);
    else
        DecodeJpeg(data, size, raster);
    ScanImage scan;
    if (DecodeScanJpeg(data, size, scan) && scan.inPlanes()) {
        std::uint32_t all = 0;
        for (int y = 0; y < scan.height(); ++y) {
            const YccRow row(scan.planes, y);
            for (int x = 0; x < scan.width(); ++x)
                all |= row(x);
        }
        const Raster averaged = AreaResample(scan.planes, -1.5, -1.5, (scan.width() + 3.0) / 64, (scan.height() + 3.0) / 64, 64, 64);
        // Every pixel is opaque: the colours read are used, not left to the optimiser.
        if ((all & averaged.pixels.front()) >> 24 != 0xFF)
            __builtin_trap();
    }
    return 0;
}
