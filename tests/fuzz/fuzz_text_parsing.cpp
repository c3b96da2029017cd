// Times and numbers as an operator types them or a file holds them.
#include "common/conversion_error.h"
#include "common/decimal3.h"
#include "common/decimal_text.h"
#include "common/time_text.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        ParseTimeText(text);
    } catch (const ConversionError&) {
        // the refusal the operator is shown
    }
    FormatDecimal(text);
    FormatDecimalZero(text);
    FormatDecimal(ParseDecimal(text));
    Decimal3::fromText(text).toText();
    return 0;
}
