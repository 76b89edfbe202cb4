// The reading of a box's DataMatrix code as a scanner types it. What must hold: no crash,
// no read past the text; a code read has a product code of 14 digits whose last one checks
// the others, and a real expiry date within 50 years of today; and every beginning of a
// code read that starts with its product code is taken for the start of a scan, so that
// no real scan is let through as typing.
#include "FuzzSupport.h"
#include "core/files/Cp1252.h"
#include "core/scan/BoxCode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Cp1252::decode(bytesOf(data, size));
    const QDate today(2026, 12, 6);
    const BoxCodeReading reading = readBoxCode(text, today);
    FUZZ_REQUIRE(reading.code.has_value() == reading.problem.isEmpty());
    if (!reading.code)
        return 0;
    const QString &gtin = reading.code->gtin;
    FUZZ_REQUIRE(gtin.size() == 14);
    int sum = 0;
    for (int i = 0; i < 13; ++i)
        sum += (gtin[i].unicode() - '0') * (i % 2 ? 1 : 3);
    FUZZ_REQUIRE((sum + gtin[13].unicode() - '0') % 10 == 0);
    FUZZ_REQUIRE(reading.code->expiry.isValid());
    FUZZ_REQUIRE(std::abs(reading.code->expiry.year() - today.year()) <= 50);
    QStringView code = text;
    if (code.startsWith(u"]d2"))
        code = code.mid(3);
    if (code.startsWith(u"01")) {
        for (qsizetype n = 0; n <= text.size(); ++n)
            FUZZ_REQUIRE(mayStartBoxCode(QStringView(text).left(n)));
    }
    return 0;
}
