#pragma once

// What every test file of the program uses: the seams, the list window fixture, the table
// helpers, and the Qt classes the tests drive.
#include "TestSeams.h"
#include "core/stock/StockFile.h"
#include "gui/editor/MedicineEditor.h"
#include "gui/listwindow/StockListWindow.h"
#include "gui/platform/ReportListView.h"
#include "gui/shell/Application.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

// One executable per area, one test class in it, run in an application set up as the
// program sets up its own.
void prepareTestApplication(QApplication &app);

#define VELLORIN_TEST(Class)                                                                                 \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        QApplication app(argc, argv);                                                                        \
        prepareTestApplication(app);                                                                         \
        Class test;                                                                                          \
        return QTest::qExec(&test, argc, argv);                                                              \
    }

// A data-driven test read from a table of structs, each with a `name`: addRows in the
// _data function makes one row per entry, rowOf gives the test function its entry.
template <typename Case, std::size_t N> void addRows(const Case (&table)[N])
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < N; ++i)
        QTest::newRow(table[i].name) << int(i);
}

template <typename Case, std::size_t N> const Case &rowOf(const Case (&table)[N])
{
    return table[*static_cast<const int *>(QTest::qData("row", QMetaType::Int))];
}

// An entry of the plainest tables: what goes in, what comes out.
template <typename In, typename Out> struct Case
{
    const char *name;
    In in;
    Out out;
};

// The list window on a temporary program directory, as the user finds it, with the
// means to drive the windows it opens.
class StockFixture
{
public:
    explicit StockFixture(const QStringList &lines);

    TestSeams seams;
    std::unique_ptr<StockListWindow> form;

    QByteArray stockBytes() const;

    // Clicks the row showing `name` in the table.
    void chooseRow(const QString &name);
    void click(const QString &button);

    // Clicks `button` of the list window and runs `act` in the editor it opens. Returns
    // whether the editor opened; `stayedOpen` tells whether it was still open once `act`
    // was done (it is then closed by its close box).
    bool runEditor(const QString &button, const std::function<void(MedicineEditor *)> &act,
                   bool *stayedOpen = nullptr);
};

// A click as the user makes it: through the window, so that the focus moves first.
void clickThroughWindow(QWidget *target);

template <typename T = QLineEdit> T *field(QWidget *window, const QString &name)
{
    return window->findChild<T *>(name);
}
