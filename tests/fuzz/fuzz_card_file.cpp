// A driver card download from bytes: the elementary files, the cyclic buffer of daily records,
// and the local days made of them.
#include "cards/card_days.h"
#include "cards/card_download.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const CardDownload download =
            ParseCardDownload(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), QStringLiteral("fuzz.ddd"));
        LocalCardDays(download);
    } catch (const CardFileError&) {
    }
    return 0;
}
