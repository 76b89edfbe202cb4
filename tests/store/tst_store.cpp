#include "core/stock/StockRules.h"
#include "core/store/Cp1252.h"
#include "core/store/Numbers.h"
#include "core/store/StockFile.h"
#include "core/store/TextFile.h"
#include "core/store/Tri.h"
#include "support/TestMain.h"
#include "support/TestSeams.h"

#include <QFile>
#include <QTest>

#include <optional>

using OptInt = std::optional<int>;
using OptShort = std::optional<short>;
Q_DECLARE_METATYPE(OptInt)
Q_DECLARE_METATYPE(OptShort)

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void linesAreSplitOnEitherLineEnd_data();
    void linesAreSplitOnEitherLineEnd();
    void composeLaysOutTheFields();
    void decomposeReadsEveryLength_data();
    void decomposeReadsEveryLength();
    void numericValue_data();
    void numericValue();
    void toInt16RoundsHalfToEven_data();
    void toInt16RoundsHalfToEven();
    void joursRestants_data();
    void joursRestants();
    void stockRules_data();
    void stockRules();
    void trieListe_data();
    void trieListe();
};

void TestStore::linesAreSplitOnEitherLineEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("LF only") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("mixed") << QByteArray("a\nb\r\nc\n") << QStringList{"a", "b", "c"};
    QTest::newRow("last line without end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("trailing blanks kept") << QByteArray("a  \r\n") << QStringList{"a  "};
    QTest::newRow("empty line kept") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
    QTest::newRow("CR alone stays in the line") << QByteArray("a\rb\r\n") << QStringList{"a\rb"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void TestStore::linesAreSplitOnEitherLineEnd()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    TestSeams seams;
    seams.directory.write(kStockFileName, bytes);
    QString error;
    QCOMPARE(lit_pharmacie(&error), lines);
    QVERIFY(error.isEmpty());
}

void TestStore::composeLaysOutTheFields()
{
    const QString line = compose_enreg(u"Aspirine", u"Orale", u"Comprimé", u"12", u"05/03/2007", u"5", u"1");
    const QByteArray expected =
        cp1252(QStringLiteral("Aspirine") + QString(32, u' ') + QStringLiteral("Orale") + QString(15, u' ') +
               QStringLiteral("Comprimé") + QString(12, u' ') + QStringLiteral("12 05/03/2007     5  1") +
               QString(9, u' '));
    QCOMPARE(cp1252(line), expected);
    QCOMPARE(line.size(), 111);

    // Outer blanks go, overlong texts are cut, empty fields are blanks: always 111.
    const QString cut =
        compose_enreg(QStringLiteral("  %1  ").arg(QString(45, u'N')), u"", u"   ", u"1234", u"", u"", u"0");
    QCOMPARE(cut.size(), 111);
    QCOMPARE(cut.left(40), QString(40, u'N'));
    QCOMPARE(cut.mid(40, 40), QString(40, u' '));
    QCOMPARE(cut.mid(80, 3), QStringLiteral("123"));
    QCOMPARE(cut.mid(83, 18), QString(18, u' '));
    QCOMPARE(cut.right(10), QStringLiteral("0") + QString(9, u' '));
    QCOMPARE(decompose_enreg(cut).nom, QString(40, u'N'));
}

void TestStore::decomposeReadsEveryLength_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<EnregMedic>("record");
    const QString full = compose_enreg(u" Doliprane ", u"Orale", u"Sachet", u"7", u"07/02/2001", u"", u"1");
    QTest::newRow("program line") << full
                                  << EnregMedic{"Doliprane", "Orale", "Sachet", "7", "07/02/2001", "", "1"};
    QTest::newRow("empty line") << QString() << EnregMedic{};
    QTest::newRow("name only") << QStringLiteral("  Éther  ")
                               << EnregMedic{"Éther", "", "", "", "", "", "Éther"};
    QTest::newRow("cut inside the route")
        << full.left(50) << EnregMedic{"Doliprane", "Orale", "", "", "", "", "Orale"};
    // Field 7 is read from the end: on a longer line it is the last ten characters.
    QTest::newRow("longer line") << full + QStringLiteral("   0      ")
                                 << EnregMedic{"Doliprane", "Orale", "Sachet", "7", "07/02/2001", "", "0"};
}

void TestStore::decomposeReadsEveryLength()
{
    QFETCH(QString, line);
    QFETCH(EnregMedic, record);
    const EnregMedic got = decompose_enreg(line);
    QCOMPARE(got.nom, record.nom);
    QCOMPARE(got.formemedic, record.formemedic);
    QCOMPARE(got.typemedic, record.typemedic);
    QCOMPARE(got.qte, record.qte);
    QCOMPARE(got.dat, record.dat);
    QCOMPARE(got.critique, record.critique);
    QCOMPARE(got.indispensable, record.indispensable);
}

void TestStore::numericValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("blanks") << "   " << 0.0;
    QTest::newRow("padded field") << "12 " << 12.0;
    QTest::newRow("leading zeros") << "007" << 7.0;
    QTest::newRow("blanks inside") << " 1 2 " << 12.0;
    QTest::newRow("tabs and line feeds") << "\t4\n2" << 42.0;
    QTest::newRow("sign") << "-3" << -3.0;
    QTest::newRow("plus") << "+4" << 4.0;
    QTest::newRow("decimal") << "2.75" << 2.75;
    QTest::newRow("decimal without units") << ".5" << 0.5;
    QTest::newRow("exponent") << "3e2x" << 300.0;
    QTest::newRow("negative exponent") << "25E-1" << 2.5;
    QTest::newRow("incomplete exponent") << "7e" << 7.0;
    QTest::newRow("comma stops") << "1,5" << 1.0;
    QTest::newRow("letter first") << "a12" << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0;
}

void TestStore::numericValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(::numericValue(text), value);
}

void TestStore::toInt16RoundsHalfToEven_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<OptShort>("value");
    QTest::newRow("2.5") << "2.5" << OptShort(2);
    QTest::newRow("3.5") << "3.5" << OptShort(4);
    QTest::newRow("-2.5") << "-2.5" << OptShort(-2);
    QTest::newRow("2.6") << "2.6" << OptShort(3);
    QTest::newRow("largest") << "32767.4" << OptShort(32767);
    QTest::newRow("rounds past 16 bits") << "32767.5" << OptShort();
    QTest::newRow("smallest") << "-32768.5" << OptShort(-32768);
    QTest::newRow("huge") << "1e300" << OptShort();
    QTest::newRow("beyond a double") << "1e999" << OptShort();
    QTest::newRow("tiny") << "1e-999" << OptShort(0);
}

void TestStore::toInt16RoundsHalfToEven()
{
    QFETCH(QString, text);
    QFETCH(OptShort, value);
    QCOMPARE(toInt16(::numericValue(text)), value);
}

void TestStore::joursRestants_data()
{
    QTest::addColumn<QString>("dat");
    QTest::addColumn<OptInt>("days");
    QTest::newRow("today") << "06/12/2026" << OptInt(0);
    QTest::newRow("tomorrow") << "07/12/2026" << OptInt(1);
    QTest::newRow("yesterday") << "05/12/2026" << OptInt(-1);
    QTest::newRow("next year") << "06/01/2027" << OptInt(31);
    QTest::newRow("long ago") << "07/02/2001" << OptInt(-9433);
    QTest::newRow("padded field") << "07/12/2026     " << OptInt(1);
    QTest::newRow("blank") << "" << OptInt();
    QTest::newRow("day zero") << "00/05/2020" << OptInt();
    QTest::newRow("29 February of a century year") << "29/02/2100" << OptInt();
    QTest::newRow("29 February of a leap year") << "29/02/2028" << OptInt(450);
    QTest::newRow("31 April") << "31/04/2027" << OptInt();
    QTest::newRow("month 13") << "07/13/2027" << OptInt();
    QTest::newRow("half typed") << "07/02/20" << OptInt();
    QTest::newRow("letters") << "ab/cd/efgh" << OptInt();
    QTest::newRow("year 0") << "01/01/0000" << OptInt();
}

void TestStore::joursRestants()
{
    QFETCH(QString, dat);
    QFETCH(OptInt, days);
    TestSeams seams;
    EnregMedic record;
    record.dat = dat;
    QCOMPARE(jours_restants(record), days);
}

void TestStore::trieListe_data()
{
    QTest::addColumn<QStringList>("input");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("none") << QStringList{} << QStringList{};
    QTest::newRow("one") << QStringList{"x"} << QStringList{"x"};
    QTest::newRow("case ignored") << QStringList{"b", "A", "c"} << QStringList{"A", "b", "c"};
    QTest::newRow("accents with their letter") << QStringList{"Ezra", "Éther", "Eau", "Zinc", "éosine"}
                                               << QStringList{"Eau", "éosine", "Éther", "Ezra", "Zinc"};
    // Equal texts keep the order they came in.
    QTest::newRow("equal texts stay") << QStringList{"orale", "Cutanée", "Orale", "ORALE"}
                                      << QStringList{"Cutanée", "orale", "Orale", "ORALE"};
    // A sorted file with medicines added at its end since the last rewrite.
    QTest::newRow("sorted head, added tail") << QStringList{"a", "c", "Orale", "z", "b", "orale", "d"}
                                             << QStringList{"a", "b", "c", "d", "Orale", "orale", "z"};
    QTest::newRow("blank sorts before letters")
        << QStringList{"Aspirine B   Orale", "Aspirine     Rectale", "Aspirine     Orale"}
        << QStringList{"Aspirine     Orale", "Aspirine     Rectale", "Aspirine B   Orale"};
}

void TestStore::trieListe()
{
    QFETCH(QStringList, input);
    QFETCH(QStringList, sorted);
    trie_liste(input);
    QCOMPARE(input, sorted);
}

// Each record through the four lists (C complete, E expired, L low stock, B both), with
// every medicine then with indispensable ones only, and whether it expires within 1 month.
void TestStore::stockRules_data()
{
    QTest::addColumn<QString>("qte");
    QTest::addColumn<QString>("critique");
    QTest::addColumn<QString>("dat");
    QTest::addColumn<QString>("indispensable");
    QTest::addColumn<QString>("shown");
    // Today is 06/12/2026.
    QTest::newRow("at its threshold") << "5"
                                      << "5"
                                      << "07/12/2026"
                                      << "1"
                                      << "C-LB C-LB 1";
    QTest::newRow("above its threshold") << "6"
                                         << "5"
                                         << ""
                                         << "0"
                                         << "C--- ---- -";
    QTest::newRow("blank quantity and threshold") << ""
                                                  << ""
                                                  << "01/01/2030"
                                                  << "0"
                                                  << "C-LB ---- -";
    QTest::newRow("expires today") << "9"
                                   << "1"
                                   << "06/12/2026"
                                   << "0"
                                   << "CE-B ---- 1";
    QTest::newRow("31 days left") << "9"
                                  << "1"
                                  << "06/01/2027"
                                  << "0"
                                  << "C--- ---- -";
    QTest::newRow("30 days left") << "9"
                                  << "1"
                                  << "05/01/2027"
                                  << "1"
                                  << "C--- C--- 1";
    QTest::newRow("not a calendar date") << "9"
                                         << "1"
                                         << "31/04/2026"
                                         << "1"
                                         << "C--- C--- -";
}

void TestStore::stockRules()
{
    QFETCH(QString, qte);
    QFETCH(QString, critique);
    QFETCH(QString, dat);
    QFETCH(QString, indispensable);
    QFETCH(QString, shown);
    const QString line = compose_enreg(u"Aspirine", u"", u"", qte, dat, critique, indispensable);
    const EnregView e = recordView(line);
    const QDate today(2026, 12, 6);
    const QStringList &filters = StockRules::filterNames();
    QString got;
    for (const bool indispensableOnly : {false, true}) {
        for (qsizetype i = 0; i < filters.size(); ++i) {
            const bool passes =
                StockRules::passes(e, StockRules::filterNamed(filters.at(i)), indispensableOnly, today);
            got += passes ? QStringLiteral("CELB").at(i) : QLatin1Char('-');
        }
        got += QLatin1Char(' ');
    }
    const bool within =
        StockRules::withinHorizon(jours_restants(e.dat, today), StockRules::horizonDays(u"1 mois"));
    got += within ? QLatin1Char('1') : QLatin1Char('-');
    QCOMPARE(got, shown);
}

VELLORIN_TEST(TestStore)
#include "tst_store.moc"
