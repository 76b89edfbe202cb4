#include "core/conversion/FieldMap.h"
#include "gui/conversion/ConversionWindow.h"
#include "support/Tests.h"

namespace {

const QByteArray kOld = "ABCDEFGH\r\nIJ\r\n";
const QString kSav = "Pharmacie06122026.sav";
const QString kDone = "Conversion réalisée avec succès !";

// The two counts, the answers, then the start of the refusal and how many questions came first.
// clang-format off
const struct { const char *name; QString oldCount, newCount; QStringList answers; QString says; int asked; } kRefusals[] = {
    {"no old count", "", "3", {}, "Ancienne Base de données : le nombre de champs", 0},
    {"zero old fields", "0", "3", {}, "Ancienne Base de données : le nombre de champs", 0},
    {"huge new count", "2", "99999", {}, "Nouvelle Base de données : le nombre de champs", 0},
    {"256 old fields", "256", "2", {}, "Ancienne Base de données : le nombre de champs", 0},
    {"255 old fields are asked for", "255", "2", {"1-3"}, "La conversion est annulée !", 1},
    {"answer without colon", "2", "2", {"1-3"}, "La conversion est annulée !", 1},
    {"beyond 16 bits", "2", "2", {"1:3", "4:40000"}, "Champ N°2 : « 4:40000 » dépasse", 2},
    {"text longer than its new width", "2", "2", {"1:3", "4:5", "5", "3"}, "Champ N°2 : le texte « DEFGH » de l'enregistrement 1", 4},
    {"negative added length", "2", "3", {"1:3", "4:5", "5", "5", "-4"}, "Ajout d'un champ vide - N°3 : la longueur -4", 5},
    {"default longer than its field", "2", "3", {"1:3", "4:5", "5", "5", "2", "XYZ"}, "Ajout d'un champ vide - N°1 : la valeur par défaut « XYZ »", 6},
};
// clang-format on

// An answer "start:length": where the last colon is, then what is read (-1: refused).
// clang-format off
const struct { const char *name; QString answer, colon; double start, length; } kAnswers[] = {
    {"12:5", "12:5", "3", 12, 5},
    {"the last colon counts", "1:2:3", "4", 1, 3},
    {"blanks, signs, decimals", " 4 1 : -2.5 ", "6", 41, -2.5},
    {"exponent", "1e2:3", "4", 100, 3},
    {"no colon", "140", "Erreur", -1, -1},
    {"empty", "", "Erreur", -1, -1},
};

// One record through old fields (start, length, new width) and added ones (width, default).
const struct { const char *name; QString record; QList<OldField> fields; QList<AddedField> added; QString converted; int misfit; } kRecords[] = {
    {"worked example", "ABCDEFGH", {{1, 3, 5}, {4, 5, 5}}, {{4, "X"}}, "ABC  DEFGHX   ", -1},
    {"empty record", "", {{1, 3, 5}, {4, 5, 5}}, {{2, "0"}}, "          0 ", -1},
    {"fields in another order", "ABCDEFGH", {{6, 3, 3}, {1, 2, 4}}, {}, "FGHAB  ", -1},
    {"narrowing drops only blanks", "AB    CD", {{1, 6, 3}, {7, 2, 2}}, {}, "AB CD", -1},
    {"text too long", "ABCD  CD", {{1, 2, 2}, {3, 4, 1}}, {}, "", 1},
    {"zero length", "ABC", {{2, 0, 2}}, {}, "  ", -1},
    // Bytes of every kind are carried as they are.
    {"any character", "\u00e9\u20ac\u0081\r\t", {{1, 5, 5}}, {{3, " x"}}, "\u00e9\u20ac\u0081\r\t x ", -1},
};
// clang-format on

// The conversion window on the old stock, answered by the scripted input box.
struct Window
{
    Window()
    {
        seams.directory.write(kStockFileName, kOld);
        form.show();
    }
    // Types the two counts and queues the answers, then presses "Convertir".
    void convert(const QString &oldCount, const QString &newCount, const QStringList &answers)
    {
        for (const QString &a : answers)
            box.queue(a);
        for (const auto &[name, text] : {std::pair{"oldFieldCount", oldCount}, {"newFieldCount", newCount}}) {
            auto *count = form.findChild<QLineEdit *>(QLatin1String(name));
            count->selectAll();
            QTest::keyClicks(count, text);
        }
        QTest::mouseClick(form.findChild<QToolButton *>("convert"), Qt::LeftButton);
    }
    QStringList files() const { return QDir(seams.directory.path()).entryList(QDir::Files, QDir::Name); }

    TestSeams seams;
    ScriptedTextPrompt box;
    ConversionWindow form;
};

} // namespace

// The conversion window; one record through a field map, and the reading of the answers.
class TestConversion : public QObject
{
    Q_OBJECT

private slots:
    void conversions();
    void refusals_data() { addRows(kRefusals); }
    void refusals();
    void answers_data() { addRows(kAnswers); }
    void answers();
    void records_data() { addRows(kRecords); }
    void records();
};

// The worked example, an older layout to the current one, and a second conversion the same
// day, which keeps the first day's copy and makes a second one.
void TestConversion::conversions()
{
    Window w;
    w.convert("2", "3", {"1:3", "4:5", "5", "5", "4", "X"});
    QCOMPARE(w.seams.directory.read(kStockFileName), QByteArray("ABC  DEFGHX   \r\nIJ        X   \r\n"));
    QCOMPARE(w.seams.directory.read(kSav), kOld);
    QCOMPARE(w.box.asked.size(), 6);
    QCOMPARE(w.seams.messages.last().text, kDone);
    QVERIFY(w.form.isVisible()); // the window stays open

    // An older layout: name 30, route 20, presentation 20, quantity 3, date 10, threshold
    // 3; the current one widens the name and adds the flag, "0" for all.
    const QString older = "Paracétamol" + QString(19, u' ') + "Orale" + QString(15, u' ') + "Comprimé" +
                          QString(12, u' ') + "12 07/02/20015  ";
    const QByteArray once = cp1252(older + "\r\n");
    w.seams.directory.write(kStockFileName, once);
    w.convert(
        "6", "7",
        {"1:30", "31:20", "51:20", "71:3", "74:10", "84:3", "40", "20", "20", "3", "15", "3", "10", "0"});
    QCOMPARE(w.seams.messages.last().text, kDone);
    QCOMPARE(
        w.seams.directory.read(kStockFileName),
        fileOf({composeRecord(u"Paracétamol", u"Orale", u"Comprimé", u"12", u"07/02/2001", u"5", u"0")}));
    QCOMPARE(w.seams.directory.read(kSav), kOld); // the first copy kept
    QCOMPARE(w.seams.directory.read("Pharmacie06122026_2.sav"), once);
}

void TestConversion::refusals()
{
    Window w;
    const auto &c = rowOf(kRefusals);
    // A copy kept from an earlier day stays as it is.
    w.seams.directory.write("Pharmacie05122026.sav", "earlier\r\n");
    w.convert(c.oldCount, c.newCount, c.answers);
    QCOMPARE(w.box.asked.size(), c.asked);
    QCOMPARE(w.seams.messages.shown().size(), 1);
    QVERIFY2(w.seams.messages.last().text.startsWith(c.says), qPrintable(w.seams.messages.last().text));
    QCOMPARE(w.seams.directory.read(kStockFileName), kOld);
    QCOMPARE(w.seams.directory.read("Pharmacie05122026.sav"), QByteArray("earlier\r\n"));
    QCOMPARE(w.files(), (QStringList{kStockFileName, "Pharmacie05122026.sav"})); // no copy of its own
}

void TestConversion::answers()
{
    const auto &c = rowOf(kAnswers);
    const auto position = verif_saisie(c.answer);
    QCOMPARE(position ? QString::number(*position) : "Erreur", c.colon);
    const auto read = readStartLength(c.answer);
    const QList<double> got = read ? QList<double>{read->start, read->length} : QList<double>{-1, -1};
    QCOMPARE(got, (QList<double>{c.start, c.length}));
}

void TestConversion::records()
{
    const auto &c = rowOf(kRecords);
    int field = -1;
    const std::optional<QString> out = convertFields(c.record, c.fields, &field);
    QCOMPARE(field, c.misfit);
    QCOMPARE(out ? *out + addedSuffix(c.added) : QString(), c.converted);
}

VELLORIN_TEST(TestConversion)
#include "tst_conversion.moc"
