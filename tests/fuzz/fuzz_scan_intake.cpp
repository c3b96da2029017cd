// The whole intake of one scan file: loading, disc detection and the disc images, made pixel by
// pixel and averaged by area (the fine reading's).
#include "charts/scan_intake.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = WriteFuzzFile("scan", data, size);
    ReadScanDiscs(path, {}, Sampling::Nearest);
    ReadScanDiscs(path, {}, Sampling::Area);
    return 0;
}
