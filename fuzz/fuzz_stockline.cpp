// Splitting and composing a stock line. What must hold, for any bytes:
// - decoding then encoding gives the same bytes back;
// - decompose never reads past the line, whatever its length;
// - compose always gives 111 characters, and composing the fields of a composed line
//   gives the same line again.
#include "FuzzSupport.h"
#include "core/files/Cp1252.h"
#include "core/stock/StockFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    const QString line = Cp1252::decode(bytes);
    QByteArray back;
    FUZZ_REQUIRE(Cp1252::encode(line, &back));
    FUZZ_REQUIRE(back == bytes);

    const MedicineRecord e = parseRecord(line);
    const QString composed =
        composeRecord(e.name, e.route, e.presentation, e.quantity, e.expiry, e.threshold, e.indispensable);
    FUZZ_REQUIRE(composed.size() == 111);
    const MedicineRecord again = parseRecord(composed);
    FUZZ_REQUIRE(composeRecord(again.name, again.route, again.presentation, again.quantity, again.expiry,
                               again.threshold, again.indispensable) == composed);
    // A line the program writes keeps its fields where they were put.
    FUZZ_REQUIRE(again.name == RecordLayout::trimBlanks(QStringView(e.name).left(40)).toString());
    return 0;
}
