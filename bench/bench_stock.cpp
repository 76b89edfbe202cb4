// Timings of what the user waits for on a large stock: reading, sorting, filtering and
// filling the medicine table, and opening the list window.
#include "StockGenerator.h"
#include "core/files/DurableFile.h"
#include "core/stock/AlphabeticalSort.h"
#include "core/stock/StockFile.h"
#include "gui/listwindow/StockListWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

void BM_readStock(benchmark::State &state)
{
    GeneratedStock stock(int(state.range(0)));
    for (auto _ : state) {
        QString error;
        benchmark::DoNotOptimize(readStock(&error));
    }
}

void BM_sortAlphabetically(benchmark::State &state)
{
    const QStringList lines = generatedLines(int(state.range(0)));
    for (auto _ : state) {
        QStringList copy = lines;
        sortAlphabetically(copy);
        benchmark::DoNotOptimize(copy);
    }
}

// Adding a medicine: the whole file written anew beside the old one, synced, swapped in.
void BM_appendToStock(benchmark::State &state)
{
    GeneratedStock stock(int(state.range(0)));
    const QString line = generatedLines(1).first();
    for (auto _ : state) {
        QString error;
        if (!appendToStock(line, &error))
            state.SkipWithError("the line was not added");
    }
}

// The floor: the line appended in place and synced, which a failure could leave cut.
void BM_appendInPlace(benchmark::State &state)
{
    GeneratedStock stock(int(state.range(0)));
    const QByteArray line = generatedLines(1).first().toLatin1() + "\r\n";
    const QByteArray path = QFile::encodeName(stockFilePath());
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_WRONLY | O_APPEND);
        benchmark::DoNotOptimize(::write(fd, line.constData(), size_t(line.size())));
        ::fsync(fd);
        ::close(fd);
    }
}

// A save of the whole stock as every command makes it: the former content copied into
// Sauvegardes (and the old copies rotated out), then the new file written, synced, swapped in.
void BM_writeStock(benchmark::State &state)
{
    GeneratedStock stock(int(state.range(0)));
    const QStringList lines = generatedLines(int(state.range(0)));
    for (auto _ : state) {
        QString error;
        if (!writeStock(lines, &error))
            state.SkipWithError("the stock was not saved");
    }
}

// Its floor: the same bytes through the same durable write, without the copy.
void BM_durableWriteOnly(benchmark::State &state)
{
    GeneratedStock stock(int(state.range(0)));
    QByteArray bytes;
    for (const QString &line : generatedLines(int(state.range(0))))
        bytes += line.toLatin1() + "\r\n";
    for (auto _ : state) {
        QString error;
        if (!DurableFile::write(stockFilePath(), bytes, {}, &error))
            state.SkipWithError("the stock was not written");
    }
}

// The floor of a save: the same work done the plainest way. The lines encoded by Qt's own
// Windows-1252 encoder, the present file read and copied into Sauvegardes, the new bytes
// durably written in its place.
void BM_saveFloor(benchmark::State &state)
{
    GeneratedStock stock(int(state.range(0)));
    const QStringList lines = generatedLines(int(state.range(0)));
    int copy = 0;
    for (auto _ : state) {
        QStringEncoder encoder("windows-1252");
        const QByteArray bytes = encoder(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
        QByteArray present;
        bool missing = false;
        QString error;
        DurableFile::read(stockFilePath(), &present, &missing, &error);
        QDir().mkpath(stock.path() + QStringLiteral("/floor"));
        if (!DurableFile::write(stock.path() + QStringLiteral("/floor/copy%1").arg(copy++), present, {},
                                &error) ||
            !DurableFile::write(stockFilePath(), bytes, {}, &error))
            state.SkipWithError("the stock was not written");
    }
}

// One refill of the list window: read, sort, filter, fill the table.
void BM_refill(benchmark::State &state)
{
    GeneratedStock stock(int(state.range(0)));
    StockListWindow form;
    form.filterBox()->setCurrentIndex(int(state.range(1)));
    for (auto _ : state)
        form.refill();
}

// Opening the window: load, refill, first paint.
void BM_openListWindow(benchmark::State &state)
{
    GeneratedStock stock(int(state.range(0)));
    for (auto _ : state) {
        StockListWindow form;
        form.show();
        QApplication::processEvents();
        form.repaint();
    }
}

} // namespace

BENCHMARK(BM_readStock)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_appendToStock)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_writeStock)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_saveFloor)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_durableWriteOnly)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_appendInPlace)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_sortAlphabetically)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_refill)
    ->ArgNames({"lines", "filter"})
    ->Args({1000, 0})
    ->Args({32767, 0})
    ->Args({32767, 3})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_openListWindow)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
