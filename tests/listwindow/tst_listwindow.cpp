#include "gui/forecast/ExpiryForecastWindow.h"
#include "gui/listwindow/StockTableModel.h"
#include "support/Tests.h"

namespace {

// Today is 06/12/2026. Written unsorted, the way additions leave the file.
// clang-format off
const QStringList kStock = {
    composeRecord(u"Zinc", u"Orale", u"Gélule", u"10", u"05/12/2026", u"2", u"0"),                // expired yesterday
    composeRecord(u"aspirine", u"Rectale", u"Suppositoire", u"5", u"06/12/2026", u"5", u"1"),     // today, at threshold
    composeRecord(u"Éther", u"Cutanée", u"Flacon", u"6", u"07/12/2026", u"5", u"0"),              // tomorrow, enough
    composeRecord(u"Bétadine", u"Cutanée", u"Flacon", u"1", u"01/01/2028", u"3", u"1"),           // below threshold
    composeRecord(u"Doliprane", u"Orale", u"Comprimé", u"", u"", u"", u"0"),                      // all blank
    composeRecord(u"Morphine", u"Injectable", u"Ampoule", u"4", u"00/05/2020", u"1", u"1"),       // not a date
    composeRecord(u"Adrénaline", u"Injectable", u"Ampoule", u"2", u"29/02/2100", u"1", u"1"),     // not a date
};
const QString kZinc = kStock.at(0), kAspirine = kStock.at(1), kEther = kStock.at(2);

// The names shown and their positions in the whole sorted stock.
const struct { const char *name; int filter; bool indispensable; QString caption; QStringList names, indexes; } kFilters[] = {
    // Sorted by the whole line, case and accents aside.
    {"Complète", 0, false, "Médicaments: Liste Complète / Total: 7",
     {"Adrénaline", "aspirine", "Bétadine", "Doliprane", "Éther", "Morphine", "Zinc"}, {"0", "1", "2", "3", "4", "5", "6"}},
    {"Périmés et/ou Seuil critique", 3, false, "Médicaments: Liste Périmés et/ou Seuil critique / Total: 4",
     {"aspirine", "Bétadine", "Doliprane", "Zinc"}, {"1", "2", "3", "6"}},
    // The box's click sets the caption without the count.
    {"Complète, indispensables", 0, true, "Médicaments 'indispensables': Liste Complète",
     {"Adrénaline", "aspirine", "Bétadine", "Morphine"}, {"0", "1", "2", "5"}},
    {"Seuil critique, indispensables", 2, true, "Médicaments 'indispensables': Liste Seuil critique", {"aspirine", "Bétadine"}, {"1", "2"}},
};

const struct { const char *name; QStringList before; int filter; QString row; MsgAnswer answer; QStringList after; } kDeletions[] = {
    // The file comes out sorted, without the line; lines the filter hides stay.
    {"Yes", {kZinc, kEther, kAspirine}, 0, "Éther", MsgAnswer::Yes, {kAspirine, kZinc}},
    {"with a filter on", {kZinc, kEther, kAspirine}, 1, "Zinc", MsgAnswer::Yes, {kAspirine, kEther}},
    // Yes, and the file as it was: a read-only file, which refuses the removal.
    {"a read-only file", {kZinc, kEther, kAspirine}, 0, "Éther", MsgAnswer::Yes, {kZinc, kEther, kAspirine}},
};
// clang-format on

QStringList shown(StockListWindow *form, int column)
{
    QStringList texts;
    const QAbstractItemModel *model = form->table()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

// As the user does from the keyboard: the first filter, then down the list.
void pickFilter(StockListWindow *form, int index)
{
    form->filterBox()->setFocus();
    QTest::keyClick(form->filterBox(), Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(form->filterBox(), Qt::Key_Down);
    QCOMPARE(form->filterBox()->currentIndex(), index);
}

// For the forecast, in file order, unsorted on purpose.
const QStringList kForecastStock = {
    medicine("Zinc", "05/01/2027"),      // in 30 days
    medicine("Aspirine", "06/01/2027"),  // in 31 days
    medicine("Doliprane", "06/12/2026"), // today
    medicine("Éther", "01/01/2001"),     // long ago
    medicine("Vitamine", ""),            // no date
};

QStringList forecastRows(ExpiryForecastWindow *form)
{
    QStringList list;
    const QAbstractItemModel *model = form->table()->model();
    for (int r = 0; r < model->rowCount(); ++r)
        list << model->index(r, 0).data().toString() + " | " + model->index(r, 1).data().toString();
    return list;
}

} // namespace

class TestListWindow : public QObject
{
    Q_OBJECT

private slots:
    void opensOnTheCompleteList();
    void filtersAndCheckBox_data() { addRows(kFilters); }
    void filtersAndCheckBox();
    void sortButtonsKeepTheTableOrdered();
    void deletion_data() { addRows(kDeletions); }
    void deletion();
    void forecastHorizons();
};

// Cells as stored, blanks removed; the index column hidden; nothing chosen.
void TestListWindow::opensOnTheCompleteList()
{
    StockFixture fx(kStock);
    QAbstractItemModel *model = fx.form->table()->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(fx.form->table()->isColumnHidden(StockTableModel::Index));
    QStringList row1;
    for (int c = 0; c < StockTableModel::Index; ++c)
        row1 << model->index(1, c).data().toString();
    QCOMPARE(row1, (QStringList{"aspirine", "Rectale", "Suppositoire", "5", "06/12/2026", "5"}));
    QVERIFY(!fx.form->stock().hasCurrent());
    QVERIFY(fx.seams.messages.shown().isEmpty());
    QTest::keyClick(fx.form->table(), Qt::Key_Down); // the first arrow chooses the framed row
    QCOMPARE(fx.form->stock().currentPosition(), 0);
    // Until the list is built again.
    const QString caption = fx.form->windowTitle();
    fx.form->activated();
    QVERIFY(!fx.form->stock().hasCurrent());
    QCOMPARE(fx.form->windowTitle(), caption); // an activation leaves the count as it was
}

void TestListWindow::filtersAndCheckBox()
{
    const auto &[name, filter, indispensable, caption, names, indexes] = rowOf(kFilters);
    StockFixture fx(kStock);
    if (filter > 0)
        pickFilter(fx.form.get(), filter);
    if (indispensable)
        QTest::mouseClick(fx.form->indispensableOnly(), Qt::LeftButton);
    QCOMPARE(fx.form->windowTitle(), caption);
    QCOMPARE(shown(fx.form.get(), StockTableModel::Name), names);
    QCOMPARE(shown(fx.form.get(), StockTableModel::Index), indexes);
    if (indispensable) {
        // A later pick with the box checked counts again.
        pickFilter(fx.form.get(), filter == 0 ? 1 : 0);
        QVERIFY(fx.form->windowTitle().startsWith("Médicaments 'indispensables': Liste "));
        QVERIFY(fx.form->windowTitle().contains(" / Total: "));
    }
    QCOMPARE(fx.stockBytes(), fileOf(kStock)); // reading never writes
}

void TestListWindow::sortButtonsKeepTheTableOrdered()
{
    StockFixture fx(kStock);
    const auto sortBy = [&fx](const char *name) {
        QTest::mouseClick(fx.form->findChild<QToolButton *>(name), Qt::LeftButton);
    };
    const auto names = [&fx] {
        return shown(fx.form.get(), StockTableModel::Name);
    };
    sortBy("sortByRoute");
    QCOMPARE(names(),
             (QStringList{"Bétadine", "Éther", "Adrénaline", "Morphine", "Doliprane", "Zinc", "aspirine"}));
    pickFilter(fx.form.get(), 3); // a new filter keeps the order
    QCOMPARE(names(), (QStringList{"Bétadine", "Doliprane", "Zinc", "aspirine"}));
    sortBy("sortByPresentation");
    QCOMPARE(names(), (QStringList{"Doliprane", "Bétadine", "Zinc", "aspirine"}));
    sortBy("sortByName");
    QCOMPARE(names(), (QStringList{"aspirine", "Bétadine", "Doliprane", "Zinc"}));
}

void TestListWindow::deletion()
{
    const auto &c = rowOf(kDeletions);
    StockFixture fx(c.before);
    const bool refused = c.answer == MsgAnswer::Yes && c.after == c.before;
    if (refused)
        QFile::setPermissions(fx.seams.directory.file(kStockFileName), QFile::ReadOwner);
    pickFilter(fx.form.get(), c.filter);
    const QString caption = fx.form->windowTitle();
    fx.chooseRow(c.row);
    fx.seams.messages.queue(c.answer);
    fx.click("remove");
    QCOMPARE(fx.seams.messages.shown().size(), refused ? 2 : 1);
    // Line feed then carriage return, twice, before the name.
    QCOMPARE(fx.seams.messages.shown().first().text,
             "Confirmer la suppression du médicament:\n\r\n\r" + c.row);
    QVERIFY(!refused || fx.seams.messages.last().text.contains("lecture seule"));
    QCOMPARE(fx.stockBytes(), fileOf(c.after));
    QCOMPARE(fx.form->windowTitle(), caption); // the count stays as it was
    QCOMPARE(fx.form->stock().hasCurrent(), c.answer == MsgAnswer::No);
    QCOMPARE(fx.form->stock().count(), c.after.size());
}

void TestListWindow::forecastHorizons()
{
    StockFixture fx(kForecastStock);
    fx.seams.installTemplate();
    fx.seams.messages.queue(MsgAnswer::Yes);
    QStringList seen;
    whenModalOpens([&](QWidget *window) {
        auto *form = qobject_cast<ExpiryForecastWindow *>(window);
        form->horizonBox()->setFocus();
        QTest::keyClick(form->horizonBox(), Qt::Key_Down); // "1 mois"
        seen << forecastRows(form) << "--";
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(form->horizonBox(), Qt::Key_Down); // "6 mois": replaces the rows
        seen << forecastRows(form);
        QTest::mouseClick(form->findChild<QToolButton *>("print"), Qt::LeftButton);
        form->close();
    });
    fx.click("forecast");
    QCOMPARE(seen, (QStringList{"Zinc | 05/01/2027", "Doliprane | 06/12/2026 Déjà périmé.",
                                "Éther | 01/01/2001 Déjà périmé.", "--", "Zinc | 05/01/2027",
                                "Aspirine | 06/01/2027", "Doliprane | 06/12/2026 Déjà périmé.",
                                "Éther | 01/01/2001 Déjà périmé."}));
    QCOMPARE(fx.stockBytes(), fileOf(kForecastStock));
    // The report prints the horizon chosen.
    QCOMPARE(fx.seams.reports.pages.size(), 1);
    QCOMPARE(fx.seams.reports.pages.first().page.cell(1, 0), "Médicaments périmés dans: 6 mois");
}

VELLORIN_TEST(TestListWindow)
#include "tst_listwindow.moc"
