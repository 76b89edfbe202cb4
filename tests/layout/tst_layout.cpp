#include "gui/forecast/ExpiryForecastWindow.h"
#include "gui/shell/MainWindow.h"
#include "support/Tests.h"

#include <QHeaderView>
#include <QScreen>

namespace {

// A drag of the divider after `column` by `by` pixels, as the pointer makes it.
void dragColumn(QTableView *view, int column, int by)
{
    QHeaderView *header = view->horizontalHeader();
    const QPoint divider(header->sectionViewportPosition(column) + header->sectionSize(column) - 1,
                         header->height() / 2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, divider);
    QTest::mouseMove(header->viewport(), divider + QPoint(by, 0));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, divider + QPoint(by, 0));
}

struct PlacementCase
{
    const char *name;
    QByteArray ini;
    QRect expected; // an empty place: where the window opens by itself
    bool maximized = false;
};

const QByteArray kMark = "[Vellorin]\nformat=1\n";
const QRect kDesign(QPoint(), QSize(760, 480));

const PlacementCase kPlacements[] = {
    {"missing", {}, kDesign},
    {"broken", "\xff\xfe[mainWindow\nx=30\ny=\n[[[\n=\n", kDesign},
    {"foreign", "[mainWindow]\nx=30\ny=40\nwidth=600\nheight=400\n", kDesign},
    {"another version's", "[Vellorin]\nformat=2\n[mainWindow]\nx=30\ny=40\nwidth=600\nheight=400\n", kDesign},
    {"kept", kMark + "[mainWindow]\nx=30\ny=40\nwidth=600\nheight=400\n", {30, 40, 600, 400}},
    {"screen unplugged", kMark + "[mainWindow]\nx=2000\ny=40\nwidth=600\nheight=400\n", {0, 0, 600, 400}},
    {"title bar above the screen",
     kMark + "[mainWindow]\nx=30\ny=-25\nwidth=600\nheight=400\n",
     {0, 0, 600, 400}},
    {"larger than the screen", kMark + "[mainWindow]\nx=0\ny=0\nwidth=3000\nheight=400\n", {0, 0, 800, 400}},
    {"a width not a number", kMark + "[mainWindow]\nx=30\ny=40\nwidth=wide\nheight=400\n", kDesign},
    {"maximized",
     kMark + "[mainWindow]\nx=30\ny=40\nwidth=600\nheight=400\nmaximized=true\n",
     {30, 40, 600, 400},
     true},
};

} // namespace

// The windows keep what the user arranged, in Vellorin.ini, and never off screen.
class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void columnWidthsOutliveRebuildsAndRuns();
    void mainWindowPlaced_data() { addRows(kPlacements); }
    void mainWindowPlaced();
    void resetPutsTheDesignBack();
};

void TestLayout::columnWidthsOutliveRebuildsAndRuns()
{
    QByteArray ini;
    {
        StockFixture fx(medicines(3));
        dragColumn(fx.form->table(), 1, 40);
        QCOMPARE(fx.form->table()->columnWidth(1), 133);
        fx.form->filterBox()->setCurrentIndex(1);
        emit fx.form->filterBox()->activated(1);
        QTest::mouseClick(fx.form->findChild<QToolButton *>("sortByRoute"), Qt::LeftButton);
        QCOMPARE(fx.form->table()->columnWidth(1), 133);
        QVERIFY(fx.form->table()->isColumnHidden(6));
        fx.form->move(12, 34);
        fx.form->close();
        ini = fx.seams.directory.read("Vellorin.ini");
    }
    // The next run, on a directory holding that file.
    const TestSeams seams;
    seams.directory.write("Vellorin.ini", ini);
    StockListWindow form;
    form.show();
    QCOMPARE(form.table()->columnWidth(0), 280);
    QCOMPARE(form.table()->columnWidth(1), 133);
    QCOMPARE(form.pos(), QPoint(12, 34));
    QCOMPARE(form.size(), StockListWindow().size()); // a window of fixed size keeps it
}

void TestLayout::mainWindowPlaced()
{
    const PlacementCase &c = rowOf(kPlacements);
    const TestSeams seams;
    if (!c.ini.isNull())
        seams.directory.write("Vellorin.ini", c.ini);
    MainWindow window;
    window.show();
    QCOMPARE(window.isMaximized(), c.maximized);
    QCOMPARE(window.normalGeometry().size(), c.expected.size());
    if (!c.expected.topLeft().isNull())
        QCOMPARE(window.pos(), c.expected.topLeft());
    else
        QVERIFY(window.screen()->availableGeometry().contains(window.frameGeometry().topLeft()));
}

void TestLayout::resetPutsTheDesignBack()
{
    const TestSeams seams;
    seams.directory.write("Vellorin.ini", kMark + "[mainWindow]\nx=30\ny=40\nwidth=600\nheight=400\n"
                                                  "[forecastTable]\ncolumns=100, 50\n");
    MainWindow window;
    window.show();
    window.findChild<QAction *>("resetLayout")->trigger();
    QCOMPARE(window.size(), kDesign.size());
    QVERIFY(seams.messages.shown().isEmpty());
    QVERIFY(!seams.directory.read("Vellorin.ini").contains("forecastTable"));
    ExpiryForecastWindow forecast;
    forecast.show();
    forecast.horizonBox()->setCurrentIndex(0);
    emit forecast.horizonBox()->activated(0);
    QCOMPARE(forecast.table()->columnWidth(0), 280);
}

VELLORIN_TEST(TestLayout)
#include "tst_layout.moc"
