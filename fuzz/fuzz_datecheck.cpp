// The check of a typed date and the reading of a stored one. What must hold: no crash,
// no read past the text; a date the check accepts has its slashes in place and a year
// from 1800; a stored date read as a calendar date is one QDate accepts.
#include "FuzzSupport.h"
#include "core/files/Cp1252.h"
#include "core/stock/DateCheck.h"
#include "core/stock/StockFile.h"

#include <QDate>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Cp1252::decode(bytesOf(data, size));
    const DateFault fault = checkDate(text);
    if (fault == DateFault::None) {
        FUZZ_REQUIRE(text.size() >= 6 && text[2] == QLatin1Char('/') && text[5] == QLatin1Char('/'));
        FUZZ_REQUIRE(!text.left(10).contains(QLatin1Char('_')));
    }
    const std::optional<int> days = daysToExpiry(text, QDate(2026, 12, 6));
    if (days) {
        const QDate expiry = QDate(2026, 12, 6).addDays(*days);
        FUZZ_REQUIRE(expiry.isValid());
        FUZZ_REQUIRE(expiry.toString(QStringLiteral("dd/MM/yyyy")) ==
                     RecordLayout::trimBlanks(text).toString());
    }
    return 0;
}
