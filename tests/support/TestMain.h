#pragma once

#include <QObject>

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
