#include "core/conversion/FieldMap.h"
#include "support/TestMain.h"

#include <QTest>

Q_DECLARE_METATYPE(QList<OldField>)
Q_DECLARE_METATYPE(QList<AddedField>)

// One record through a field map, and the reading of the answers.
class TestFieldMap : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void records_data();
    void records();
};

void TestFieldMap::answers_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("colon");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("length");
    QTest::newRow("1:40") << "1:40"
                          << "2" << 1.0 << 40.0;
    QTest::newRow("12:5") << "12:5"
                          << "3" << 12.0 << 5.0;
    // The last colon counts: "1:2" reads as 1.
    QTest::newRow("1:2:3") << "1:2:3"
                           << "4" << 1.0 << 3.0;
    QTest::newRow("blanks, signs, decimals") << " 4 1 : -2.5 "
                                             << "6" << 41.0 << -2.5;
    QTest::newRow("letters") << "a:b"
                             << "2" << 0.0 << 0.0;
    QTest::newRow("exponent") << "1e2:3"
                              << "4" << 100.0 << 3.0;
    QTest::newRow("no colon") << "140"
                              << "Erreur" << -1.0 << -1.0;
    QTest::newRow("empty") << ""
                           << "Erreur" << -1.0 << -1.0;
}

void TestFieldMap::answers()
{
    QFETCH(QString, answer);
    QFETCH(QString, colon);
    QFETCH(double, start);
    QFETCH(double, length);
    const auto position = verif_saisie(answer);
    QCOMPARE(position ? QString::number(*position) : QStringLiteral("Erreur"), colon);
    const auto read = readStartLength(answer);
    QCOMPARE(read.has_value(), start >= 0);
    if (read) {
        QCOMPARE(read->start, start);
        QCOMPARE(read->length, length);
    }
}

void TestFieldMap::records_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QList<OldField>>("fields");
    QTest::addColumn<QList<AddedField>>("added");
    QTest::addColumn<QString>("converted"); // empty with misfit >= 0
    QTest::addColumn<int>("misfit");
    const QList<OldField> worked = {{1, 3, 5}, {4, 5, 5}};
    QTest::newRow("worked example") << "ABCDEFGH" << worked << QList<AddedField>{{4, "X"}} << "ABC  DEFGHX   "
                                    << -1;
    QTest::newRow("no added field") << "ABCDEFGH" << worked << QList<AddedField>{} << "ABC  DEFGH" << -1;
    QTest::newRow("short record") << "ABCDE" << worked << QList<AddedField>{} << "ABC  DE   " << -1;
    QTest::newRow("record shorter than a start")
        << "AB" << worked << QList<AddedField>{} << "AB        " << -1;
    QTest::newRow("empty record") << "" << worked << QList<AddedField>{{2, "0"}} << "          0 " << -1;
    QTest::newRow("fields in another order")
        << "ABCDEFGH" << QList<OldField>{{6, 3, 3}, {1, 2, 4}} << QList<AddedField>{} << "FGHAB  " << -1;
    // Narrowing drops only blanks.
    QTest::newRow("narrowed blanks") << "AB    CD" << QList<OldField>{{1, 6, 3}, {7, 2, 2}}
                                     << QList<AddedField>{} << "AB CD" << -1;
    QTest::newRow("text too long") << "ABCD  CD" << QList<OldField>{{1, 2, 2}, {3, 4, 1}}
                                   << QList<AddedField>{} << "" << 1;
    QTest::newRow("zero length") << "ABC" << QList<OldField>{{2, 0, 2}} << QList<AddedField>{} << "  " << -1;
    // Bytes of every kind are carried as they are.
    QTest::newRow("any character") << QStringLiteral("\u00e9\u20ac\u0081\r\t") << QList<OldField>{{1, 5, 5}}
                                   << QList<AddedField>{{3, " x"}}
                                   << QStringLiteral("\u00e9\u20ac\u0081\r\t x ") << -1;
}

void TestFieldMap::records()
{
    QFETCH(QString, record);
    QFETCH(QList<OldField>, fields);
    QFETCH(QList<AddedField>, added);
    QFETCH(QString, converted);
    QFETCH(int, misfit);
    int field = -1;
    const std::optional<QString> out = convertFields(record, fields, &field);
    QCOMPARE(field, misfit);
    QCOMPARE(out.has_value(), misfit < 0);
    if (out)
        QCOMPARE(*out + addedSuffix(added), converted);
}

VELLORIN_TEST(TestFieldMap)
#include "tst_fieldmap.moc"
