#include "TestMain.h"

#include <QApplication>
#include <QMetaMethod>
#include <QTest>

#include <map>

namespace {

std::map<QByteArray, TestMain::Factory> &registry()
{
    static std::map<QByteArray, TestMain::Factory> tests;
    return tests;
}

// Test functions named on the command line ("name" or "name:tag"), if any.
QList<QByteArray> namedFunctions(int argc, char **argv)
{
    QList<QByteArray> names;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg.startsWith('-')) {
            // Options that take a value: skip it.
            if (arg == "-o" || arg == "-maxwarnings" || arg == "-eventdelay" || arg == "-keydelay" ||
                arg == "-mousedelay" || arg == "-platform")
                ++i;
            continue;
        }
        const qsizetype tag = arg.indexOf(':');
        names << (tag < 0 ? arg : arg.left(tag));
    }
    return names;
}

bool hasAny(const QObject &test, const QList<QByteArray> &names)
{
    for (const QByteArray &name : names) {
        if (test.metaObject()->indexOfMethod(name + "()") >= 0)
            return true;
    }
    return false;
}

} // namespace

namespace TestMain {

bool add(const char *name, Factory factory)
{
    registry().emplace(QByteArray(name), std::move(factory));
    return true;
}

} // namespace TestMain

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    const QList<QByteArray> names = namedFunctions(argc, argv);
    int failures = 0;
    for (const auto &[name, make] : registry()) {
        const std::unique_ptr<QObject> test = make();
        if (!names.isEmpty() && !hasAny(*test, names))
            continue;
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures;
}
