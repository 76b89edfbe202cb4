#include "TestMain.h"

#include <QApplication>

#include <map>

namespace {

std::map<QByteArray, TestMain::Factory> &registry()
{
    static std::map<QByteArray, TestMain::Factory> tests;
    return tests;
}

// Whether the command line names one of the test's functions ("name" or "name:tag"),
// or names none at all.
bool chosen(const QObject &test, int argc, char **argv)
{
    bool named = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg.startsWith('-')) {
            i += int(arg == "-o" || arg == "-maxwarnings" || arg == "-platform"); // options with a value
            continue;
        }
        named = true;
        const qsizetype tag = arg.indexOf(':');
        if (test.metaObject()->indexOfMethod((tag < 0 ? arg : arg.left(tag)) + "()") >= 0)
            return true;
    }
    return !named;
}

} // namespace

bool TestMain::add(const char *name, Factory factory)
{
    registry().emplace(QByteArray(name), std::move(factory));
    return true;
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    int failures = 0;
    for (const auto &[name, make] : registry()) {
        const std::unique_ptr<QObject> test = make();
        if (chosen(*test, argc, argv))
            failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures;
}
