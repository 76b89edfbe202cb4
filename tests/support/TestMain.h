#pragma once

#include <QApplication>
#include <QObject>
#include <QTest>

#include <cstddef>

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
