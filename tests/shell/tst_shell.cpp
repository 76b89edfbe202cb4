#include "core/platform/InstanceLock.h"
#include "core/platform/ProgramDirectory.h"
#include "gui/backups/BackupsWindow.h"
#include "gui/conversion/ConversionWindow.h"
#include "gui/export/CalendarExport.h"
#include "gui/forecast/ExpiryForecastWindow.h"
#include "gui/medicines/MedicinesWindow.h"
#include "gui/platform/TextPrompt.h"
#include "gui/shell/AboutBox.h"
#include "gui/shell/MainWindow.h"
#include "gui/valuelists/ValueListEditor.h"
#include "support/Tests.h"

#include <QAccessible>
#include <QHeaderView>
#include <QScreen>
#include <QSet>
#include <QSysInfo>
#include <QTableWidget>
#include <QToolBar>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A menu entry or a toolbar button, the window it opens and, for a value list, its entries:
// whole lines, read untrimmed, shown sorted.
// clang-format off
const struct { const char *name; QString entry, window, entries; } kEntries[] = {
    {"about, menu", "about", "aboutBox", ""},
    {"about, toolbar", "aboutButton", "aboutBox", ""},
    {"medicines, menu", "stockList", "stockListWindow", ""},
    {"medicines, toolbar", "stockListButton", "stockListWindow", ""},
    {"routes, menu", "routeList", "valueListEditor", "Cutanée|éther|orale|Orale"},
    {"presentations, toolbar", "presentationListEntry", "valueListEditor", "|  Gel|Sirop"},
    // The conversion opens once its warning is answered Yes.
    {"conversion", "conversion", "conversionWindow", ""},
    {"backups", "backups", "backupsWindow", ""},
};
// clang-format on

// The main window, shown, on a program directory of its own.
struct MainWindowFixture
{
    MainWindowFixture() { window.show(); }
    QToolButton *toolButton(const QString &key) const
    {
        return window.findChild<QToolBar *>("toolbar")->findChild<QToolButton *>(key);
    }
    TestSeams seams;
    MainWindow window;
};

// The controls the Tab key should reach.
QSet<QWidget *> focusable(QWidget *window)
{
    QSet<QWidget *> set;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() &&
            !w->inherits("QScrollBar"))
            set.insert(w);
    }
    return set;
}

// Each window as the user meets it, shown on a stock of one medicine.
// clang-format off
const struct { const char *name; std::function<QWidget *(StockFixture &)> open; } kWindows[] = {
    {"mainWindow", [](StockFixture &) -> QWidget * { return new MainWindow; }},
    {"stockListWindow", [](StockFixture &fx) -> QWidget * { return fx.form.get(); }},
    {"medicineEditor", [](StockFixture &fx) -> QWidget * {
         auto *editor = new MedicineEditor(parseRecord(fx.form->stock().at(0)), {}); editor->setMode(EditorMode::Change); return editor; }},
    {"valueListEditor", [](StockFixture &) -> QWidget * { auto *form = new ValueListEditor; form->setMode(ValueList::Routes); return form; }},
    {"textPrompt", [](StockFixture &) -> QWidget * { return new TextPrompt({"Nouvelle Présentation", "Veuillez saisir la nouvelle Présentation:", {}, 20}); }},
    {"expiryForecastWindow", [](StockFixture &) -> QWidget * { return new ExpiryForecastWindow; }},
    {"conversionWindow", [](StockFixture &) -> QWidget * { return new ConversionWindow; }},
    {"aboutBox", [](StockFixture &) -> QWidget * { return new AboutBox; }},
    {"backupsWindow", [](StockFixture &) -> QWidget * { return new BackupsWindow; }},
    {"medicinesWindow", [](StockFixture &) -> QWidget * { return new MedicinesWindow; }},
    {"calendarExportDialog", [](StockFixture &) -> QWidget * { return new LeadTimeDialog(nullptr, {}); }},
};
// clang-format on

// What Vellorin.lock holds at start ("live": a running copy, "fifo": a pipe, "gone": a copy
// of this computer whose process is gone, "there": a copy on "cabinet-2"), the answer
// given, whether the program runs, what it says, and whether a crashed copy's work files
// are gone.
// clang-format off
const struct { const char *name; QByteArray lock; MsgAnswer answer; bool runs; QString says; bool cleared; } kLocks[] = {
    {"none", {}, MsgAnswer::No, true, {}, true},
    {"empty", "", MsgAnswer::No, true, {}, true},
    {"garbage", "\x01\xff nonsense", MsgAnswer::No, true, {}, true},
    {"a copy of this computer that is gone", "gone", MsgAnswer::No, true, {}, true},
    {"a copy of this computer that runs", "live", MsgAnswer::No, false, "Vellorin est déjà ouvert sur le dossier", false},
    {"another computer, not opened", "there", MsgAnswer::No, false, "ordinateur « cabinet-2 » depuis le", false},
    {"another computer, opened anyway", "there", MsgAnswer::Yes, true, "Ouvrir Vellorin quand même ?", false},
    {"a pipe in its place", "fifo", MsgAnswer::No, false, "ce n'est pas un fichier ordinaire", false},
};
// clang-format on

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
    {"a pipe in its place", "fifo", kDesign},
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

// The main window and its entries; one copy of the program per directory, and where an
// installed program keeps its files; every window used with the keyboard alone, every
// control telling assistive technology what it is; what the user arranged kept in
// Vellorin.ini, never off screen.

class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void entriesOpenTheirWindow_data() { addRows(kEntries); }
    void entriesOpenTheirWindow();
    void lockStates_data() { addRows(kLocks); }
    void lockStates();
    void everyControlIsNamedAndReachable_data() { addRows(kWindows); }
    void everyControlIsNamedAndReachable();
    void backupRestored();
    void columnWidthsOutliveRebuildsAndRuns();
    void mainWindowPlaced_data() { addRows(kPlacements); }
    void mainWindowPlaced();
    void resetPutsTheDesignBack();
};

void TestShell::entriesOpenTheirWindow()
{
    MainWindowFixture m;
    const auto &c = rowOf(kEntries);
    m.seams.directory.write(kStockFileName, fileOf({medicine("Aspirine")}));
    m.seams.directory.write("Pharma_Forme.dat", cp1252("orale\r\néther\nCutanée\r\nOrale\r\n"));
    m.seams.directory.write("Pharma_Type.dat", "Sirop\r\n\r\n  Gel\r\n");
    m.seams.messages.queue(MsgAnswer::Yes);
    QString window;
    QStringList entries;
    whenModalOpens([&](QWidget *opened) {
        window = opened->objectName();
        if (auto *list = opened->findChild<QListWidget *>("entries")) {
            for (int row = 0; row < list->count(); ++row)
                entries << list->item(row)->text();
        }
        if (auto *closeButton = opened->findChild<QAbstractButton *>("close"))
            QTest::mouseClick(closeButton, Qt::LeftButton);
        else
            opened->close();
    });
    if (QToolButton *button = m.toolButton(c.entry))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        m.window.findChild<QAction *>(c.entry)->trigger();
    QTRY_COMPARE(window, c.window);
    QCOMPARE(entries.join(u'|'), c.entries);
    QTRY_VERIFY(!QApplication::activeModalWidget()); // closed by its Fermer
}

void TestShell::lockStates()
{
    const auto &[row, lock, answer, runs, says, cleared] = rowOf(kLocks);
    TestSeams seams;
    const QString lockFile = seams.directory.file("Vellorin.lock");
    InstanceLock live(seams.directory.path());
    if (lock == "live")
        QCOMPARE(live.acquire(), InstanceLock::Outcome::Acquired);
    else if (lock == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(lockFile).constData(), 0644), 0);
    else if (lock == "gone" || lock == "there") // no process has the number of the first
        seams.directory.write(
            "Vellorin.lock",
            InstanceLock::describe({lock == "gone" ? 2147483646 : 4242,
                                    lock == "gone" ? QSysInfo::machineHostName() : "cabinet-2",
                                    QDateTime(QDate(2026, 12, 1), QTime(8, 30), Qt::UTC)}));
    else if (!lock.isNull())
        seams.directory.write("Vellorin.lock", lock);
    const QStringList work{"Pharmacie.dat.~a1B2c3", "Pharmacie.new", "Pharmacie.def",
                           "Pharma_Type.dat.QwErTy", "Vellorin.ini.~Zz9Yy8"};
    const QStringList mine{"Pharmacie.dat.backup", "notes.txt", "Pharmacie.dat.~a1B2c3.txt"};
    for (const QString &name : work + mine)
        seams.directory.write(name, "x");
    seams.messages.queue(answer);

    InstanceLock lockOfThisCopy(seams.directory.path());
    QCOMPARE(claimProgramDirectory(lockOfThisCopy), runs);
    if (says.isEmpty()) {
        QVERIFY(seams.messages.shown().isEmpty());
    } else {
        QCOMPARE(seams.messages.shown().size(), 1);
        QVERIFY2(seams.messages.last().text.contains(says), qPrintable(seams.messages.last().text));
        QVERIFY(seams.messages.last().text.contains(lockFile)); // every lock message names the file
    }
    if (lock == "fifo")
        return;
    InstanceLock::Holder holder;
    QVERIFY(InstanceLock::parse(seams.directory.read("Vellorin.lock"), &holder));
    if (runs)
        QCOMPARE(holder.pid, QCoreApplication::applicationPid());
    for (const QString &name : work)
        QVERIFY2(seams.directory.exists(name) != cleared, qPrintable(name));
    for (const QString &name : mine)
        QVERIFY2(seams.directory.exists(name), qPrintable(name));
}

void TestShell::everyControlIsNamedAndReachable()
{
    StockFixture fx({medicine("Aspirine")});
    QWidget *w = rowOf(kWindows).open(fx);
    std::unique_ptr<QWidget> owned(w == fx.form.get() ? nullptr : w);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());

    // Named: what a screen reader would say for each control.
    const QSet<QWidget *> controls = focusable(w);
    QVERIFY(!controls.isEmpty());
    for (QWidget *c : controls) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(c);
        QVERIFY(face);
        QVERIFY2(!face->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(c->objectName()));
    }

    // Escape answers a cancel button: the input box's and the calendar dialog's.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(w->isVisible(), !qobject_cast<TextPrompt *>(w) && !qobject_cast<LeadTimeDialog *>(w));
    w->hide();
}

void TestShell::columnWidthsOutliveRebuildsAndRuns()
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
        fx.form->move(5, 6); // a place, then another
        fx.form->close();
        fx.form->show();
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

void TestShell::mainWindowPlaced()
{
    const PlacementCase &c = rowOf(kPlacements);
    const TestSeams seams;
    if (c.ini == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(seams.directory.file("Vellorin.ini")).constData(), 0644), 0);
    else if (!c.ini.isNull())
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

void TestShell::resetPutsTheDesignBack()
{
    const TestSeams seams;
    seams.directory.write("Vellorin.ini", kMark + "[mainWindow]\nx=30\ny=40\nwidth=600\nheight=400\n"
                                                  "[forecastTable]\ncolumns=100, 50\n");
    MainWindow window;
    window.show();
    window.findChild<QAction *>("resetLayout")->trigger();
    QCOMPARE(window.size(), kDesign.size());
    QVERIFY(seams.messages.shown().isEmpty());
    QVERIFY(!seams.directory.read("Vellorin.ini").contains("forecastTable") &&
            !seams.directory.read("Vellorin.ini").contains("mainWindow"));
    ExpiryForecastWindow forecast;
    forecast.show();
    forecast.horizonBox()->setCurrentIndex(0);
    emit forecast.horizonBox()->activated(0);
    QCOMPARE(forecast.table()->columnWidth(0), 280);
}

VELLORIN_TEST(TestShell)
// A copy of the stock put back from its window: asked first, the present stock kept too.
void TestShell::backupRestored()
{
    MainWindowFixture m;
    QString error;
    for (const int count : {1, 2, 3})
        QVERIFY(writeStock(medicines(count), &error));
    m.seams.messages.queue(MsgAnswer::Yes);
    whenModalOpens([&](QWidget *opened) {
        auto *table = opened->findChild<QTableWidget *>("backups");
        QCOMPARE(table->rowCount(), 2);
        table->selectRow(1);
        QCOMPARE(table->item(1, 1)->text(), "1");
        QTest::mouseClick(opened->findChild<QPushButton *>("restore"), Qt::LeftButton);
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->item(0, 1)->text(), "3"); // the stock as it was before
        opened->close();
    });
    m.window.findChild<QAction *>("backups")->trigger();
    QCOMPARE(m.seams.directory.read(kStockFileName), fileOf(medicines(1)));
    QCOMPARE(boxOf(m.seams.messages.shown().first()), "Restaurer | question | Oui/Non");
}

#include "tst_shell.moc"
