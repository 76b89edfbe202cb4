#include "gui/reports/Impression.h"
#include "support/Tests.h"

#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// What poppler reads from a PDF: "info" or "text".
QString readPdf(const QString &path, bool info = false)
{
    QProcess tool;
    tool.start(info ? "pdfinfo" : "pdftotext", info ? QStringList{path} : QStringList{"-layout", path, "-"});
    tool.waitForFinished();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// A program directory with the template and `count` medicines, the real report output.
void prepare(TestSeams &seams, int count, const QString &dat)
{
    Platform::setReportOutput(nullptr);
    seams.installTemplate();
    seams.directory.write(kStockFileName, fileOf(medicines(count, dat)));
}

} // namespace

// The real page renderer: to a PDF in the program's directory when no printer is installed,
// to a private CUPS server's queue that turns each job into a PDF when one is.
class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    // First, before any printer is looked up: the printer is gone once it is done.
    void eachPageIsOneJob();
    void withoutPrinterToAPdf();
    void previewWaitsForEachPage();
};

void TestPrinting::withoutPrinterToAPdf()
{
    if (!QPrinterInfo::availablePrinters().isEmpty() || QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("needs poppler-utils, and no printer installed");
    TestSeams seams;
    prepare(seams, 90, "05/03/2027");
    const QString expected = seams.directory.file("Liste complète des médicaments 2026-12-06.pdf");
    imprime_complete(ReportMode::Print);

    QCOMPARE(seams.messages.shown().size(), 1);
    QVERIFY2(seams.messages.last().text.contains(expected), qPrintable(seams.messages.last().text));
    QVERIFY(readPdf(expected, true).contains(QRegularExpression("Pages:\\s+3\\n")));
    const QString content = readPdf(expected);
    for (const char *piece : {"Liste complète des médicaments", "à la date du: 06/12/2026", "Médicament 001 ",
                              "Médicament 090", "Total :", "Page 3"})
        QVERIFY2(content.contains(QString::fromUtf8(piece)), piece);

    // A second print the same day does not overwrite the first file.
    imprime_complete(ReportMode::Print);
    QVERIFY(seams.messages.last().text.contains("2026-12-06 (2).pdf"));
}

void TestPrinting::previewWaitsForEachPage()
{
    TestSeams seams;
    prepare(seams, 46, "");
    // Each page in its own modal preview, the next one only once the first is closed.
    QStringList titles;
    std::function<void(QWidget *)> close = [&](QWidget *window) {
        auto *preview = qobject_cast<QPrintPreviewDialog *>(window);
        QVERIFY(preview && preview->findChild<QAction *>("savePdf"));
        QVERIFY(!QGuiApplication::overrideCursor()); // the normal pointer while the user looks
        titles << preview->windowTitle();
        if (titles.size() < 2)
            whenModalOpens(close);
        preview->reject();
    };
    whenModalOpens(close);
    imprime_complete(ReportMode::Preview);
    QCOMPARE(titles, (QStringList{"Aperçu avant impression - Liste complète des médicaments - page 1",
                                  "Aperçu avant impression - Liste complète des médicaments - page 2"}));
    QVERIFY(seams.messages.shown().isEmpty());
    QVERIFY(QDir(seams.directory.path()).entryList({"*.pdf"}).isEmpty());
}

// Every page of a report is one job to the default printer.
void TestPrinting::eachPageIsOneJob()
{
    if (::geteuid() != 0 || !QFile::exists("/usr/lib/cups/backend/cups-pdf"))
        QSKIP("needs root and the packages cups and printer-driver-cups-pdf");
    QProcess start;
    start.start(QStringLiteral(VELLORIN_TOOLS_DIR "/start-test-printer.sh"));
    QVERIFY(start.waitForFinished(30000));
    QVERIFY2(start.exitCode() == 0, start.readAllStandardError().constData());
    const auto stop = qScopeGuard(
        [] { QProcess::execute(QStringLiteral(VELLORIN_TOOLS_DIR "/stop-test-printer.sh"), {}); });
    // The script prints the environment that leads to its server.
    const QRegularExpression exported("^export (\\w+)=(.*)$", QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch &m :
         exported.globalMatch(QString::fromUtf8(start.readAllStandardOutput())))
        qputenv(m.captured(1).toLatin1().constData(), m.captured(2).toUtf8());
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    const QDir out(qEnvironmentVariable("TEST_PRINTER_OUT"));
    for (const QString &old : out.entryList({"*.pdf"}, QDir::Files))
        QFile::remove(out.filePath(old));

    TestSeams seams;
    prepare(seams, 46, "01/01/2020");
    imprime_perimes(ReportMode::Print);
    QVERIFY(seams.messages.shown().isEmpty()); // printed: nothing to tell

    // Qt reports success even when CUPS refuses a job: believe only complete files.
    QStringList jobs;
    QTRY_COMPARE_WITH_TIMEOUT((jobs = out.entryList({"*.pdf"}, QDir::Files)).size(), 2, 20000);
    QStringList texts;
    for (const QString &job : jobs) {
        QTRY_VERIFY_WITH_TIMEOUT(readFile(out.filePath(job)).trimmed().endsWith("%%EOF"), 10000);
        texts << readPdf(out.filePath(job));
    }
    std::sort(texts.begin(), texts.end(),
              [](const QString &a, const QString &b) { return a.contains("Total") < b.contains("Total"); });
    QVERIFY(texts.at(0).contains("Liste des médicaments périmés"));
    QVERIFY(texts.at(0).contains("Médicament 044") && !texts.at(0).contains("Médicament 045"));
    QVERIFY(texts.at(1).contains("Médicament 045") && texts.at(1).contains("Médicament 046"));
    QVERIFY(texts.at(1).contains(QRegularExpression("Total :\\s+46")));
}

VELLORIN_TEST(TestPrinting)
#include "tst_printing.moc"
