// The whole intake of one scan file: loading, disc detection and the disc images.
#include "charts/scan_intake.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ReadScanDiscs(WriteFuzzFile("scan", data, size));
    return 0;
}
