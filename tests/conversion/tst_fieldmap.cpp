#include "core/conversion/FieldMap.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

// An answer "start:length": where the last colon is, then what is read (-1: refused).
// clang-format off
const struct { const char *name; QString answer, colon; double start, length; } kAnswers[] = {
    {"12:5", "12:5", "3", 12, 5},
    {"the last colon counts", "1:2:3", "4", 1, 3},
    {"blanks, signs, decimals", " 4 1 : -2.5 ", "6", 41, -2.5},
    {"letters", "a:b", "2", 0, 0},
    {"exponent", "1e2:3", "4", 100, 3},
    {"no colon", "140", "Erreur", -1, -1},
    {"empty", "", "Erreur", -1, -1},
};

// One record through old fields (start, length, new width) and added ones (width, default).
const struct { const char *name; QString record; QList<OldField> fields; QList<AddedField> added; QString converted; int misfit; } kRecords[] = {
    {"worked example", "ABCDEFGH", {{1, 3, 5}, {4, 5, 5}}, {{4, "X"}}, "ABC  DEFGHX   ", -1},
    {"short record", "ABCDE", {{1, 3, 5}, {4, 5, 5}}, {}, "ABC  DE   ", -1},
    {"record shorter than a start", "AB", {{1, 3, 5}, {4, 5, 5}}, {}, "AB        ", -1},
    {"empty record", "", {{1, 3, 5}, {4, 5, 5}}, {{2, "0"}}, "          0 ", -1},
    {"fields in another order", "ABCDEFGH", {{6, 3, 3}, {1, 2, 4}}, {}, "FGHAB  ", -1},
    {"narrowing drops only blanks", "AB    CD", {{1, 6, 3}, {7, 2, 2}}, {}, "AB CD", -1},
    {"text too long", "ABCD  CD", {{1, 2, 2}, {3, 4, 1}}, {}, "", 1},
    {"zero length", "ABC", {{2, 0, 2}}, {}, "  ", -1},
    // Bytes of every kind are carried as they are.
    {"any character", "\u00e9\u20ac\u0081\r\t", {{1, 5, 5}}, {{3, " x"}}, "\u00e9\u20ac\u0081\r\t x ", -1},
};
// clang-format on

} // namespace

// One record through a field map, and the reading of the answers.
class TestFieldMap : public QObject
{
    Q_OBJECT

private slots:
    void answers_data() { addRows(kAnswers); }
    void answers();
    void records_data() { addRows(kRecords); }
    void records();
};

void TestFieldMap::answers()
{
    const auto &c = rowOf(kAnswers);
    const auto position = verif_saisie(c.answer);
    QCOMPARE(position ? QString::number(*position) : QStringLiteral("Erreur"), c.colon);
    const auto read = readStartLength(c.answer);
    const QList<double> got = read ? QList<double>{read->start, read->length} : QList<double>{-1, -1};
    QCOMPARE(got, (QList<double>{c.start, c.length}));
}

void TestFieldMap::records()
{
    const auto &c = rowOf(kRecords);
    int field = -1;
    const std::optional<QString> out = convertFields(c.record, c.fields, &field);
    QCOMPARE(field, c.misfit);
    QCOMPARE(out ? *out + addedSuffix(c.added) : QString(), c.converted);
}

VELLORIN_TEST(TestFieldMap)
#include "tst_fieldmap.moc"
