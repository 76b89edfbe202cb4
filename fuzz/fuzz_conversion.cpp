// Converting one old record by a field map. The first bytes make the map (up to eight
// old fields and two added ones), the rest is the record. What must hold: no read past
// the record; a converted record is exactly as long as the new widths; each field holds
// the old text it was given (blanks beyond its width aside); the record's bytes
// survive where they are kept.
#include "FuzzSupport.h"
#include "core/conversion/FieldMap.h"
#include "core/files/Cp1252.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int count = data[0] % 8 + 1;
    const size_t mapBytes = 1 + size_t(count) * 3 + 4;
    if (size < mapBytes)
        return 0;
    QList<OldField> fields;
    int total = 0;
    for (int i = 0; i < count; ++i) {
        const uint8_t *f = data + 1 + i * 3;
        fields.append({short(f[0] % 130 + 1), short(f[1] % 60), short(f[2] % 60)});
        total += fields.last().newLength;
    }
    const uint8_t *a = data + 1 + count * 3;
    const QList<AddedField> added = {{short(a[0] % 20), QString(a[1] % 20, QLatin1Char('x'))},
                                     {short(a[2] % 20), QString(a[3] % 5, QLatin1Char('0'))}};
    const QString record = Cp1252::decode(bytesOf(data + mapBytes, size - mapBytes));

    int misfit = -1;
    const std::optional<QString> out = convertFields(record, fields, &misfit);
    if (!out) {
        FUZZ_REQUIRE(misfit >= 0 && misfit < count);
        return 0;
    }
    FUZZ_REQUIRE(out->size() == total);
    qsizetype at = 0;
    for (const OldField &f : fields) {
        const QString old = record.mid(f.start - 1, f.length);
        const QString now = out->mid(at, f.newLength);
        const qsizetype kept = std::min<qsizetype>(old.size(), f.newLength);
        FUZZ_REQUIRE(now.left(kept) == old.left(kept));
        FUZZ_REQUIRE(old.mid(kept).trimmed().isEmpty() ||
                     old.mid(kept).count(QLatin1Char(' ')) == old.size() - kept);
        at += f.newLength;
    }
    const QString suffix = addedSuffix(added);
    qsizetype expected = 0;
    for (const AddedField &f : added)
        expected += std::max<qsizetype>(f.length, f.value.size());
    FUZZ_REQUIRE(suffix.size() == expected);
    return 0;
}
