#include "core/store/StockFile.h"
#include "gui/listwindow/StockTableModel.h"
#include "gui/platform/ReportListView.h"
#include "support/StockFixture.h"
#include "support/TestMain.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTest>

namespace {

// Today is 06/12/2026.
const QString kAspirine = compose_enreg(u"Aspirine", u"Orale", u"Comprimé", u"12", u"07/12/2026", u"5", u"1");
const QString kDoliprane = compose_enreg(u"Doliprane", u"Orale", u"Sachet", u"3", u"06/12/2026", u"10", u"0");
const QString kMorphine =
    compose_enreg(u"Morphine", u"Injectable", u"Ampoule", u"2", u"05/12/2026", u"1", u"1");
const QString kZinc = compose_enreg(u"Zinc", u"Cutanée", u"Crème", u"", u"", u"", u"0");

} // namespace

class TestStockCommands : public QObject
{
    Q_OBJECT

private slots:
    void commandsNeedAChosenMedicine_data();
    void commandsNeedAChosenMedicine();
    void renewal_data();
    void renewal();
    void deletion_data();
    void deletion();
    void help();
};

void TestStockCommands::commandsNeedAChosenMedicine_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Modifier") << "Modifier";
    QTest::newRow("Quantité") << "majqte";
    QTest::newRow("Renouveler") << "renouveler";
    QTest::newRow("Supprimer") << "Supprimer";
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
    for (const MessageRequest &m : fx.seams.messages.shown()) {
        QCOMPARE(m.text, QStringLiteral("Aucun médicament sélectionné !"));
        QCOMPARE(boxOf(m), QStringLiteral("Erreur | exclamation | OK"));
    }
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(fx.stockBytes(), StockFixture::bytesOf({kAspirine, kDoliprane}));
}

void TestStockCommands::renewal_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<MsgAnswer>("answer");
    QTest::addColumn<bool>("opens");
    QTest::newRow("expires tomorrow, No") << "Aspirine" << true << MsgAnswer::No << false;
    QTest::newRow("expires tomorrow, Yes") << "Aspirine" << true << MsgAnswer::Yes << true;
    QTest::newRow("expires today") << "Doliprane" << false << MsgAnswer::No << true;
    QTest::newRow("expired yesterday") << "Morphine" << false << MsgAnswer::No << true;
    QTest::newRow("no date") << "Zinc" << false << MsgAnswer::No << true;
}

void TestStockCommands::renewal()
{
    QFETCH(QString, row);
    QFETCH(bool, asked);
    QFETCH(MsgAnswer, answer);
    QFETCH(bool, opens);
    StockFixture fx({kAspirine, kDoliprane, kMorphine, kZinc});
    fx.chooseRow(row);
    const qsizetype chosen = fx.form->List1().currentPosition();
    if (asked)
        fx.seams.messages.queue(answer);
    EditorMode mode = EditorMode::None;
    const bool opened =
        fx.runEditor(QStringLiteral("renouveler"), [&](FormMedic *editor) { mode = editor->mode(); });
    QCOMPARE(opened, opens);
    QCOMPARE(fx.seams.messages.shown().size(), asked ? 1 : 0);
    if (asked) {
        const MessageRequest &q = fx.seams.messages.last();
        QCOMPARE(q.text, QStringLiteral("Confirmer ?"));
        QCOMPARE(boxOf(q), QStringLiteral("Ce médicament n'est pas encore périmé ! | exclamation | Oui/Non"));
    }
    if (opens) {
        QVERIFY(mode == EditorMode::Renew);
        QVERIFY(!fx.form->List1().hasCurrent());
    } else {
        // Declined: nothing rebuilt, the medicine is still chosen.
        QCOMPARE(fx.form->List1().currentPosition(), chosen);
    }
}

void TestStockCommands::deletion_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("row");
    QTest::addColumn<MsgAnswer>("answer");
    QTest::addColumn<QStringList>("after");
    const QStringList unsorted = {kZinc, kMorphine, kAspirine, kDoliprane};
    QTest::newRow("No") << unsorted << 0 << "Morphine" << MsgAnswer::No << unsorted;
    // The file comes out sorted, without the line.
    QTest::newRow("Yes") << unsorted << 0 << "Morphine" << MsgAnswer::Yes
                         << QStringList{kAspirine, kDoliprane, kZinc};
    // Lines the filter hides stay in the file.
    QTest::newRow("with a filter on")
        << unsorted << 1 << "Doliprane" << MsgAnswer::Yes << QStringList{kAspirine, kMorphine, kZinc};
    QTest::newRow("the only medicine")
        << QStringList{kZinc} << 0 << "Zinc" << MsgAnswer::Yes << QStringList{};
}

void TestStockCommands::deletion()
{
    QFETCH(QStringList, before);
    QFETCH(int, filter);
    QFETCH(QString, row);
    QFETCH(MsgAnswer, answer);
    QFETCH(QStringList, after);
    StockFixture fx(before);
    fx.form->filtre1()->setFocus();
    for (int i = 0; i < filter; ++i)
        QTest::keyClick(fx.form->filtre1(), Qt::Key_Down);
    const QString caption = fx.form->windowTitle();
    fx.chooseRow(row);
    fx.seams.messages.queue(answer);
    fx.click(QStringLiteral("Supprimer"));
    QCOMPARE(fx.seams.messages.shown().size(), 1);
    const MessageRequest &q = fx.seams.messages.last();
    // Line feed then carriage return, twice, before the name.
    QCOMPARE(q.text, QStringLiteral("Confirmer la suppression du médicament:\n\r\n\r") + row);
    QCOMPARE(boxOf(q), QStringLiteral("Suppression | question | Oui/Non"));
    QCOMPARE(fx.stockBytes(), StockFixture::bytesOf(after));
    QCOMPARE(fx.form->windowTitle(), caption); // the count stays as it was
    if (answer == MsgAnswer::Yes) {
        QVERIFY(!fx.form->List1().hasCurrent());
        QCOMPARE(fx.form->List1().count(), after.size());
    }
}

void TestStockCommands::help()
{
    StockFixture fx({});
    fx.click(QStringLiteral("aide"));
    QCOMPARE(fx.seams.messages.shown().size(), 1);
    QCOMPARE(boxOf(fx.seams.messages.last()), QStringLiteral("Aide - Vellorin | information | OK"));
}

VELLORIN_TEST(TestStockCommands)
#include "tst_stockcommands.moc"
