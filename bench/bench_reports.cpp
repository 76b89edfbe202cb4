// Timings of the reports and the forecast on a large stock: the complete list written to
// PDF (no printer installed, so the pages go to a file), and the forecast window filled.
#include "StockGenerator.h"
#include "gui/forecast/FormAvance.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/ReportListView.h"
#include "gui/reports/Impression.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

// Reports end with a message saying where the PDF went: answered at once.
class SilentMessages final : public MessageBoxes
{
public:
    MsgAnswer ask(const MessageRequest &) override { return MsgAnswer::Ok; }
};

void installTemplate(const QString &dir)
{
    QFile::remove(QDir(dir).filePath(QStringLiteral("Impression.json")));
    QFile::copy(QStringLiteral(VELLORIN_DATA_DIR "/Impression.json"),
                QDir(dir).filePath(QStringLiteral("Impression.json")));
}

void BM_imprime_complete_pdf(benchmark::State &state)
{
    GeneratedStock stock(int(state.range(0)));
    installTemplate(stock.path());
    SilentMessages messages;
    Platform::setMessageBoxes(&messages);
    for (auto _ : state)
        imprime_complete(ReportMode::Print);
    Platform::setMessageBoxes(nullptr);
    state.counters["pages"] = double((state.range(0) + 43) / 44);
}

// Picking a horizon: the stock read, every date computed, the table filled.
void BM_forecast(benchmark::State &state)
{
    GeneratedStock stock(int(state.range(0)));
    FormAvance form;
    form.show();
    QApplication::processEvents();
    form.filtre()->setFocus();
    QTest::keyClick(form.filtre(), Qt::Key_Down); // "1 mois"
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(form.filtre(), Qt::Key_Down); // "6 mois"
    for (auto _ : state) {
        QTest::keyClick(form.filtre(), Qt::Key_Up);
        QTest::keyClick(form.filtre(), Qt::Key_Down);
    }
    state.counters["rows"] = form.ListView1()->model()->rowCount();
}

} // namespace

BENCHMARK(BM_imprime_complete_pdf)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(3);
// Each iteration picks two horizons: halve the time for one.
BENCHMARK(BM_forecast)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // No printer: the report goes to its PDF file.
    qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
