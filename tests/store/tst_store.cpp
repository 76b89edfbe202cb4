#include "core/files/Cp1252.h"
#include "core/stock/AlphabeticalSort.h"
#include "core/stock/Backups.h"
#include "core/stock/Numbers.h"
#include "core/stock/Stock.h"
#include "core/stock/StockRules.h"
#include "support/FaultySystemCalls.h"
#include "support/Tests.h"

#include <QStringDecoder>

#include <cerrno>
#include <optional>

namespace {

// clang-format off
const Case<QByteArray, QStringList> kSplits[] = {
    {"CR LF", "a\r\nb\r\n", {"a", "b"}},
    {"LF only, mixed", "a\nb\r\nc\n", {"a", "b", "c"}},
    {"last line without end", "a\r\nb", {"a", "b"}},
    {"blanks and empty lines kept", "a  \r\n\r\nb\r\n", {"a  ", "", "b"}},
    {"CR alone stays in the line", "a\rb\r\n", {"a\rb"}},
    {"empty file", "", {}},
};

const Case<QString, MedicineRecord> kRecords[] = {
    {"program line", composeRecord(u" Doliprane ", u"Orale", u"Sachet", u"7", u"07/02/2001", u"", u"1"), {"Doliprane", "Orale", "Sachet", "7", "07/02/2001", "", "1"}},
    {"overlong fields cut", composeRecord(QString(45, u'N'), u"", u"   ", u"1234", u"", u"", u"0"), {QString(40, u'N'), "", "", "123", "", "", "0"}},
    {"empty line", "", {}},
    {"name only", "  Éther  ", {"Éther", "", "", "", "", "", "Éther"}},
    // The flag is read from the end of a longer line.
    {"longer line", medicine("Doliprane", "07/02/2001", "7", "", "1") + "   0      ", {"Doliprane", "Orale", "Comprimé", "7", "07/02/2001", "", "0"}},
};

const Case<QString, double> kNumbers[] = {
    {"empty", "", 0},               {"padded", "12 ", 12},               {"blanks inside", " 1 2 ", 12},
    {"tab, LF", "\t4\n2", 42},      {"sign", "-3", -3},                  {"decimal", ".5", 0.5},
    {"exponent", "3e2x", 300},      {"negative exponent", "25E-1", 2.5}, {"incomplete exponent", "7e", 7},
    {"comma stops", "1,5", 1},      {"letter first", "a12", 0},          {"CR stops", "1\r2", 1},
};

// No value: the text is not a number that fits, or not a calendar date.
const Case<QString, std::optional<short>> kInt16[] = {
    {"2.5", "2.5", 2},                {"-2.5", "-2.5", -2},                     {"largest", "32767.4", 32767},
    {"smallest", "-32768.5", -32768}, {"rounds past 16 bits", "32767.5", {}}, {"beyond a double", "1e999", {}},
    {"tiny", "1e-999", 0},
};

// Today is 06/12/2026.
const Case<QString, std::optional<int>> kDays[] = {
    {"today", "06/12/2026", 0},          {"yesterday", "05/12/2026", -1},      {"padded", "07/12/2026     ", 1},
    {"blank", "", {}},                {"day zero", "00/05/2020", {}},    {"29/02/2100", "29/02/2100", {}},
    {"29/02/2028", "29/02/2028", 450},   {"31 April", "31/04/2027", {}},    {"half typed", "07/02/20", {}},
    {"year 0", "01/01/0000", {}},
};

const Case<QStringList, QStringList> kSorts[] = {
    {"case ignored", {"b", "A", "c"}, {"A", "b", "c"}},
    {"accents with their letter", {"Ezra", "Éther", "Eau", "Zinc", "éosine"}, {"Eau", "éosine", "Éther", "Ezra", "Zinc"}},
    {"equal texts stay", {"orale", "Cutanée", "Orale", "ORALE"}, {"Cutanée", "orale", "Orale", "ORALE"}},
    {"sorted head, added tail", {"a", "c", "Orale", "z", "b", "orale", "d"}, {"a", "b", "c", "d", "Orale", "orale", "z"}},
    // Twenty texts equal but for case: more than a small sort keeps in place by itself.
    {"twenty equal texts keep their order", {"z", "OrAle", "OralE", "oRale", "oRALE", "OraLe", "OrAlE", "orALe", "orale", "ORaLE", "oRALe", "ORAle", "ORalE", "ORale", "OraLE", "oRaLe", "ORALE", "oralE", "oRAle", "oRAlE", "ORaLe"},
     {"OrAle", "OralE", "oRale", "oRALE", "OraLe", "OrAlE", "orALe", "orale", "ORaLE", "oRALe", "ORAle", "ORalE", "ORale", "OraLE", "oRaLe", "ORALE", "oralE", "oRAle", "oRAlE", "ORaLe", "z"}},
};

// The four lists (C complete, E expired, L low stock, B both) with every medicine, then
// with indispensable ones only, then whether it expires within 1, 2, 3 and 6 months.
const struct { const char *name; QString quantity, threshold, expiry, indispensable, shown; } kRules[] = {
    {"at its threshold", "5", "5", "07/12/2026", "1", "C-LB C-LB 1111"},
    {"above its threshold", "6", "5", "", "0", "C--- ---- ----"},
    {"blank quantity and threshold", "", "", "01/01/2030", "0", "C-LB ---- ----"},
    {"expires today", "9", "1", "06/12/2026", "0", "CE-B ---- 1111"},
    {"30 days left", "9", "1", "05/01/2027", "1", "C--- C--- 1111"},
    {"31 days left", "9", "1", "06/01/2027", "0", "C--- ---- -111"},
    {"61 days left", "9", "1", "05/02/2027", "0", "C--- ---- -111"},
    {"62 days left", "9", "1", "06/02/2027", "0", "C--- ---- --11"},
    {"92 days left", "9", "1", "08/03/2027", "0", "C--- ---- --11"},
    {"93 days left", "9", "1", "09/03/2027", "0", "C--- ---- ---1"},
    {"185 days left", "9", "1", "09/06/2027", "0", "C--- ---- ---1"},
    {"186 days left", "9", "1", "10/06/2027", "0", "C--- ---- ----"},
    {"not a calendar date", "9", "1", "31/04/2026", "1", "C--- C--- ----"},
};
// clang-format on

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void linesAreSplitOnEitherLineEnd_data() { addRows(kSplits); }
    void linesAreSplitOnEitherLineEnd();
    void decomposeReadsEveryLength_data() { addRows(kRecords); }
    void decomposeReadsEveryLength();
    void numbers_data() { addRows(kNumbers); }
    void numbers();
    void toInt16RoundsHalfToEven_data() { addRows(kInt16); }
    void toInt16RoundsHalfToEven();
    void daysLeft_data() { addRows(kDays); }
    void daysLeft();
    void trieListe_data() { addRows(kSorts); }
    void windows1252();
    void trieListe();
    void stockRules_data() { addRows(kRules); }
    void stockRules();
    void backupsBeforeEachRewrite();
    void backupsWhenTheDiskFails();
    void aFailedWriteLeavesTheStockAsItWas();
};

void TestStore::linesAreSplitOnEitherLineEnd()
{
    const auto &c = rowOf(kSplits);
    TestSeams seams;
    seams.directory.write(kStockFileName, c.in);
    QString error;
    QCOMPARE(readStock(&error), c.out);
    QVERIFY(error.isEmpty());
}

void TestStore::decomposeReadsEveryLength()
{
    const auto &c = rowOf(kRecords);
    const MedicineRecord got = parseRecord(c.in);
    const MedicineRecord &r = c.out;
    QCOMPARE(
        (QStringList{got.name, got.route, got.presentation, got.quantity, got.expiry, got.threshold,
                     got.indispensable}),
        (QStringList{r.name, r.route, r.presentation, r.quantity, r.expiry, r.threshold, r.indispensable}));
}

void TestStore::numbers()
{
    QCOMPARE(numericValue(rowOf(kNumbers).in), rowOf(kNumbers).out);
}

void TestStore::toInt16RoundsHalfToEven()
{
    const auto &c = rowOf(kInt16);
    QCOMPARE(toInt16(numericValue(c.in)), c.out);
}

void TestStore::daysLeft()
{
    const auto &c = rowOf(kDays);
    TestSeams seams;
    MedicineRecord record;
    record.expiry = c.in;
    QCOMPARE(daysToExpiry(record), c.out);
}

void TestStore::trieListe()
{
    QStringList lines = rowOf(kSorts).in;
    sortAlphabetically(lines);
    QCOMPARE(lines, rowOf(kSorts).out);
}

// Every byte read and written back as Qt's own Windows-1252 codec has it.
void TestStore::windows1252()
{
    QByteArray all(256, 0);
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    const QString text = Cp1252::decode(all);
    QByteArray back;
    QVERIFY(Cp1252::encode(text, &back) && back == all);
    QCOMPARE(text, QStringDecoder("windows-1252").decode(all).operator QString());
}

void TestStore::stockRules()
{
    const auto &c = rowOf(kRules);
    const QString line =
        composeRecord(u"Aspirine", u"", u"", c.quantity, c.expiry, c.threshold, c.indispensable);
    const MedicineRecordView e = recordView(line); // views into the line
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
    for (const QStringView horizon : {u"1 mois", u"2 mois", u"3 mois", u"6 mois"})
        got += StockRules::withinHorizon(daysToExpiry(e.expiry, today), StockRules::horizonDays(horizon))
                   ? QLatin1Char('1')
                   : QLatin1Char('-');
    QCOMPARE(got, c.shown);
}

// Three saves a day for 70 days keep the last 20 copies and the last of each of the other
// 53 days within 60; a copy comes back byte for byte, the present content kept first.
void TestStore::backupsBeforeEachRewrite()
{
    TestSeams seams;
    QString error;
    for (int save = 0; save < 210; ++save) {
        seams.today.date = QDate(2026, 10, 1).addDays(save / 3);
        seams.today.time = QTime(9 + save % 3, 0);
        QVERIFY2(writeStock(medicines(save + 1), &error), qPrintable(error));
    }
    const QList<Backups::Backup> kept = Backups::of(DataFile::Stock);
    QCOMPARE(kept.size(), 73);
    QCOMPARE(kept.first().lines, qsizetype(209)); // the content the last save replaced
    QCOMPARE(kept.at(19).when, QDateTime(QDate(2026, 12, 3), QTime(10, 0)));
    QCOMPARE(kept.at(20).when, QDateTime(QDate(2026, 12, 2), QTime(11, 0)));
    QCOMPARE(kept.last().when, QDateTime(QDate(2026, 10, 11), QTime(11, 0)));

    seams.directory.write(kStockFileName, "hand\nedited"); // kept as it is, LF and all
    QVERIFY2(Backups::restore(kept.at(72), DataFile::Stock, &error), qPrintable(error));
    QCOMPARE(seams.directory.read(kStockFileName), fileOf(medicines(32)));
    QCOMPARE(readFile(Backups::of(DataFile::Stock).first().path), "hand\nedited");
    QCOMPARE(Backups::of(DataFile::Stock).first().lines, 2); // the last line has no line end
}

// A save or a restore that fails on the disk: no copy removed, the cause said plainly, as
// what the user asked for. A copy named by hand with a day that never was is not listed.
void TestStore::backupsWhenTheDiskFails()
{
    TestSeams seams;
    QString error;
    for (int save = 0; save < 22; ++save) {
        seams.today.time = QTime(8, save);
        QVERIFY2(writeStock(medicines(save + 1), &error), qPrintable(error));
    }
    seams.directory.write("Sauvegardes/Pharmacie 2026-02-30 10-00-00 n3.dat", "x\r\n");
    const QList<Backups::Backup> before = Backups::of(DataFile::Stock);
    QCOMPARE(before.size(), 20);
    // The n-th call named `call` of a save fails: the copy's first write, then the stock's.
    const auto failing = [&](const char *call, int nth, int errnum, const std::function<bool()> &save) {
        FaultySystemCalls faulty;
        faulty.failAt(call, nth, errnum);
        error.clear();
        return save();
    };
    seams.today.time = QTime(10, 0);
    QVERIFY(!failing("write", 1, EIO, [&] { return writeStock(medicines(2), &error); }));
    QCOMPARE(error,
             "Le fichier Pharmacie.dat n'a pas pu être enregistré :\r\nsa copie de sauvegarde n'a pas pu "
             "être faite dans le dossier Sauvegardes : erreur d'entrée-sortie (le disque ne répond pas "
             "correctement).\r\n\r\nSon contenu précédent est conservé.");
    seams.today.time = QTime(10, 1);
    QVERIFY(!failing("write", 2, ENOSPC, [&] { return writeStock(medicines(2), &error); }));
    QCOMPARE(Backups::of(DataFile::Stock).size(), before.size() + 1); // the new copy, and all the others
    QVERIFY(QFile::exists(before.last().path));
    seams.today.time = QTime(10, 2);
    QVERIFY(!failing("write", 2, ENOSPC,
                     [&] { return Backups::restore(before.last(), DataFile::Stock, &error); }));
    QCOMPARE(error, "La sauvegarde du 06/12/2026 à 08:02 n'a pas pu être restaurée :\r\nplus de place sur le "
                    "disque.\r\n\r\nLe fichier Pharmacie.dat est resté tel qu'il était.");
    QCOMPARE(seams.directory.read(kStockFileName), fileOf(medicines(22)));
}

// A change or a removal the disk refused: the stock holds the lines the file still holds.
void TestStore::aFailedWriteLeavesTheStockAsItWas()
{
    TestSeams seams;
    seams.directory.write(kStockFileName, fileOf(medicines(3)));
    Stock stock;
    QString error;
    stock.reload(&error);
    stock.setCurrentPosition(1);
    const QStringList before = stock.lines();
    FaultySystemCalls faulty;
    faulty.failAt("fsync", 1, EIO);
    QVERIFY(!stock.replaceCurrent(parseRecord(medicine("Autre")), &error));
    faulty.failAt("fsync", 1, EIO);
    QVERIFY(!stock.removeCurrent(&error));
    QCOMPARE(stock.lines(), before);
    QCOMPARE(stock.currentPosition(), 1);
    // A line break would make two medicines of one: refused before anything is written.
    QVERIFY(!stock.add(parseRecord(medicine("Deux\nlignes")), &error) && error.contains("saut de ligne"));
    QCOMPARE(seams.directory.read(kStockFileName), fileOf(medicines(3)));
}

VELLORIN_TEST(TestStore)
#include "tst_store.moc"
