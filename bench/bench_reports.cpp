// Timings of the reports and the forecast on a large stock: the complete list written to
// PDF (no printer installed, so the pages go to a file), the forecast window filled, the
// expiry dates laid out for calendars.
#include "StockGenerator.h"
#include "core/calendar/ExpiryCalendar.h"
#include "core/stock/StockFile.h"
#include "gui/export/CalendarExport.h"
#include "gui/forecast/ExpiryForecastWindow.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/ReportListView.h"
#include "gui/reports/StockReports.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
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

void BM_completeList_pdf(benchmark::State &state)
{
    GeneratedStock stock(int(state.range(0)));
    installTemplate(stock.path());
    SilentMessages messages;
    Platform::setMessageBoxes(&messages);
    for (auto _ : state)
        printCompleteList(ReportMode::Print);
    Platform::setMessageBoxes(nullptr);
    state.counters["pages"] = double((state.range(0) + 43) / 44);
}

// The floor: the same pages drawn the plainest way, with a plain QPdfWriter straight to a
// file, the shipped template's fonts and columns, one text per cell and the grid as lines
// once per page; no title lines, no checks, no durable write.
void BM_plain_pdf_floor(benchmark::State &state)
{
    const QStringList lines = generatedLines(int(state.range(0)));
    QTemporaryDir dir;
    const double widthsMm[] = {10, 67, 35, 31, 20, 17};
    for (auto _ : state) {
        QPdfWriter writer(dir.filePath(QStringLiteral("floor.pdf")));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(12, 12, 12, 14), QPageLayout::Millimeter));
        const double perMm = writer.logicalDpiX() / 25.4;
        QFont font(QStringLiteral("DejaVu Sans Condensed"));
        font.setPointSizeF(8.5);
        font.setStyleStrategy(QFont::PreferNoShaping); // as the report draws it
        font.setKerning(false);
        QPainter painter(&writer);
        painter.setFont(font);
        const double row = QFontMetricsF(font, &writer).height() * 1.4;
        std::array<double, 7> x{};
        for (std::size_t c = 0; c < 6; ++c)
            x[c + 1] = x[c] + widthsMm[c] * perMm;
        QList<QLineF> grid;
        for (int r = 0; r <= 45; ++r)
            grid << QLineF(0, r * row, x.back(), r * row);
        for (const double edge : x)
            grid << QLineF(edge, 0, edge, 45 * row);
        for (qsizetype first = 0; first < lines.size(); first += 44) {
            if (first > 0)
                writer.newPage();
            painter.drawLines(grid);
            for (qsizetype n = first; n < std::min(first + 44, lines.size()); ++n) {
                const MedicineRecordView e = recordView(lines.at(n));
                const double y = double(n - first + 1) * row + row * 0.7;
                const QStringView cells[] = {QString::number(n + 1), e.name,   e.route,
                                             e.presentation,         e.expiry, e.quantity};
                for (std::size_t c = 0; c < 6; ++c)
                    painter.drawText(QPointF(x[c] + perMm, y), cells[c].toString());
            }
        }
    }
    state.counters["pages"] = double((state.range(0) + 43) / 44);
}

// Picking a horizon: the stock read, every date computed, the table filled.
void BM_forecast(benchmark::State &state)
{
    GeneratedStock stock(int(state.range(0)));
    ExpiryForecastWindow form;
    form.show();
    QApplication::processEvents();
    form.horizonBox()->setFocus();
    QTest::keyClick(form.horizonBox(), Qt::Key_Down); // "1 mois"
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(form.horizonBox(), Qt::Key_Down); // "6 mois"
    for (auto _ : state) {
        QTest::keyClick(form.horizonBox(), Qt::Key_Up);
        QTest::keyClick(form.horizonBox(), Qt::Key_Down);
    }
    state.counters["rows"] = form.table()->model()->rowCount();
}

// The calendar export: every medicine's two events made from the stock's lines and laid out
// by libical (escaped, folded, CR LF).
void BM_calendarExport(benchmark::State &state)
{
    const QStringList lines = generatedLines(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(icsBytes(expiryCalendar(lines, u"1 mois"), QDateTime::currentDateTimeUtc()));
}

// Its floor: the same events written by hand, the plainest way: each text escaped, each
// line folded at 75 octets between two characters, CR LF.
void BM_calendarExport_floor(benchmark::State &state)
{
    const QStringList lines = generatedLines(int(state.range(0)));
    const auto text = [](const QString &value) {
        QString escaped = value;
        escaped.replace(u'\\', QLatin1String("\\\\"))
            .replace(u';', QLatin1String("\\;"))
            .replace(u',', QLatin1String("\\,"))
            .replace(u'\n', QLatin1String("\\n"));
        return escaped.toUtf8();
    };
    for (auto _ : state) {
        const ExpiryCalendar calendar = expiryCalendar(lines, u"1 mois");
        QByteArray file("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Vellorin//Vellorin 1.0//FR\r\n");
        file.reserve(calendar.events.size() * 600);
        const auto line = [&file](const QByteArray &name, const QByteArray &value) {
            const QByteArray whole = name + value;
            QByteArrayView rest(whole);
            qsizetype limit = 75;
            while (rest.size() > limit) {
                qsizetype cut = limit;
                while ((rest.at(cut) & 0xC0) == 0x80) // not inside a UTF-8 character
                    --cut;
                file += rest.first(cut);
                file += "\r\n ";
                rest = rest.sliced(cut);
                limit = 74;
            }
            file += rest;
            file += "\r\n";
        };
        const QByteArray stamp = "20261207T090000Z";
        for (const CalendarEvent &event : calendar.events) {
            const QByteArray summary = text(event.summary);
            line("BEGIN:", "VEVENT");
            line("UID:", event.uid.toUtf8());
            line("DTSTAMP:", stamp);
            line("DTSTART;VALUE=DATE:", event.day.toString(QStringLiteral("yyyyMMdd")).toLatin1());
            line("DTEND;VALUE=DATE:", event.day.addDays(1).toString(QStringLiteral("yyyyMMdd")).toLatin1());
            line("SUMMARY:", summary);
            line("DESCRIPTION:", text(event.description));
            line("TRANSP:", "TRANSPARENT");
            line("BEGIN:", "VALARM");
            line("ACTION:", "DISPLAY");
            line("TRIGGER:", "PT9H");
            line("DESCRIPTION:", summary);
            line("END:", "VALARM");
            line("END:", "VEVENT");
        }
        line("END:", "VCALENDAR");
        benchmark::DoNotOptimize(file);
    }
}

} // namespace

BENCHMARK(BM_calendarExport)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_calendarExport_floor)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_completeList_pdf)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_plain_pdf_floor)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(3);
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
