#pragma once

#include <QObject>
#include <QTest>

#include <cstddef>
#include <functional>
#include <memory>

// One executable per area: each test class of the area's files registers itself here,
// and the shared main runs them one after the other in one application.
namespace TestMain {

using Factory = std::function<std::unique_ptr<QObject>()>;
bool add(const char *name, Factory factory);

} // namespace TestMain

#define VELLORIN_TEST(Class)                                                                                 \
    namespace {                                                                                              \
    const bool registered##Class = TestMain::add(#Class, [] { return std::make_unique<Class>(); });          \
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
