#include "core/store/StockFile.h"
#include "gui/platform/ReportListView.h"
#include "support/StockFixture.h"
#include "support/TestMain.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>

namespace {

// Today is 06/12/2026.
const QString kAspirine = medicine("Aspirine", "07/12/2026");
const QString kDoliprane = medicine("Doliprane", "06/12/2026");
const QString kMorphine =
    compose_enreg(u"Morphine", u"Injectable", u"Ampoule", u"2", u"05/12/2026", u"1", u"1");
const QString kZinc = compose_enreg(u"Zinc", u"Cutanée", u"Crème", u"", u"", u"", u"0");

// clang-format off
const struct { const char *name; QString row; bool asked; MsgAnswer answer; bool opens; } kRenewals[] = {
    {"not expired, No", "Aspirine", true, MsgAnswer::No, false},
    {"not expired, Yes", "Aspirine", true, MsgAnswer::Yes, true},
    {"expires today", "Doliprane", false, MsgAnswer::No, true},
};

const struct { const char *name; QStringList before; int filter; QString row; MsgAnswer answer; QStringList after; } kDeletions[] = {
    {"No", {kZinc, kMorphine, kAspirine, kDoliprane}, 0, "Morphine", MsgAnswer::No, {kZinc, kMorphine, kAspirine, kDoliprane}},
    // The file comes out sorted, without the line.
    {"Yes", {kZinc, kMorphine, kAspirine, kDoliprane}, 0, "Morphine", MsgAnswer::Yes, {kAspirine, kDoliprane, kZinc}},
    // Lines the filter hides stay in the file.
    {"with a filter on", {kZinc, kMorphine, kAspirine, kDoliprane}, 1, "Doliprane", MsgAnswer::Yes, {kAspirine, kMorphine, kZinc}},
    {"the only medicine", {kZinc}, 0, "Zinc", MsgAnswer::Yes, {}},
};
// clang-format on

} // namespace

class TestStockCommands : public QObject
{
    Q_OBJECT

private slots:
    void commandsNeedAChosenMedicine_data();
    void commandsNeedAChosenMedicine();
    void renewal_data() { addRows(kRenewals); }
    void renewal();
    void deletion_data() { addRows(kDeletions); }
    void deletion();
};

void TestStockCommands::commandsNeedAChosenMedicine_data()
{
    QTest::addColumn<QString>("button");
    for (const char *button : {"Modifier", "majqte", "renouveler", "Supprimer"})
        QTest::newRow(button) << button;
}

void TestStockCommands::commandsNeedAChosenMedicine()
{
    QFETCH(QString, button);
    StockFixture fx({kAspirine, kDoliprane});
    fx.click(button);
    // Also after the editor closed: the rebuilt list has no chosen medicine.
    fx.chooseRow(QStringLiteral("Aspirine"));
    QVERIFY(fx.runEditor(QStringLiteral("majqte"), [](FormMedic *) {}));
    fx.click(button);
    QCOMPARE(fx.seams.messages.shown().size(), 2);
    for (const MessageRequest &m : fx.seams.messages.shown())
        QCOMPARE(m.text, QStringLiteral("Aucun médicament sélectionné !"));
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(fx.stockBytes(), fileOf({kAspirine, kDoliprane}));
}

void TestStockCommands::renewal()
{
    const auto &c = rowOf(kRenewals);
    StockFixture fx({kAspirine, kDoliprane});
    fx.chooseRow(c.row);
    const qsizetype chosen = fx.form->List1().currentPosition();
    fx.seams.messages.queue(c.answer);
    EditorMode mode = EditorMode::None;
    QCOMPARE(fx.runEditor(QStringLiteral("renouveler"), [&](FormMedic *editor) { mode = editor->mode(); }),
             c.opens);
    QCOMPARE(fx.seams.messages.shown().size(), c.asked ? 1 : 0);
    if (c.asked)
        QCOMPARE(boxOf(fx.seams.messages.last()),
                 QStringLiteral("Ce médicament n'est pas encore périmé ! | exclamation | Oui/Non"));
    if (c.opens) {
        QVERIFY(mode == EditorMode::Renew);
        QVERIFY(!fx.form->List1().hasCurrent());
    } else {
        QCOMPARE(fx.form->List1().currentPosition(), chosen); // declined: still chosen
    }
}

void TestStockCommands::deletion()
{
    const auto &c = rowOf(kDeletions);
    StockFixture fx(c.before);
    fx.form->filtre1()->setCurrentIndex(c.filter);
    const QString caption = fx.form->windowTitle();
    fx.chooseRow(c.row);
    fx.seams.messages.queue(c.answer);
    fx.click(QStringLiteral("Supprimer"));
    QCOMPARE(fx.seams.messages.shown().size(), 1);
    // Line feed then carriage return, twice, before the name.
    QCOMPARE(fx.seams.messages.last().text, "Confirmer la suppression du médicament:\n\r\n\r" + c.row);
    QCOMPARE(fx.stockBytes(), fileOf(c.after));
    QCOMPARE(fx.form->windowTitle(), caption); // the count stays as it was
    QCOMPARE(fx.form->List1().hasCurrent(), c.answer == MsgAnswer::No);
    QCOMPARE(fx.form->List1().count(), c.after.size());
}

VELLORIN_TEST(TestStockCommands)
#include "tst_stockcommands.moc"
