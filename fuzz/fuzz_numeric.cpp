// The numeric value of a text. What must hold: no crash and no read past the text; a
// text of plain digits reads as that integer; rounding to 16 bits stays in range and
// never moves more than half a unit.
#include "FuzzSupport.h"
#include "core/files/Cp1252.h"
#include "core/stock/Numbers.h"

#include <algorithm>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Cp1252::decode(bytesOf(data, size));
    const double value = numericValue(text);
    FUZZ_REQUIRE(!std::isnan(value));
    if (!text.isEmpty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        }))
        FUZZ_REQUIRE(value == double(text.toLongLong()));
    if (const std::optional<short> rounded = toInt16(value))
        FUZZ_REQUIRE(std::fabs(*rounded - value) <= 0.5);
    else
        FUZZ_REQUIRE(std::fabs(value) >= 32767.5 || value <= -32768.5);
    return 0;
}
