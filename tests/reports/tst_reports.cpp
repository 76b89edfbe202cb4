#include "gui/reports/StockReports.h"
#include "gui/shell/MainWindow.h"
#include "support/Tests.h"

#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>

#include <unistd.h>

namespace {

QString readPdf(const QString &path)
{
    QProcess poppler;
    poppler.start("pdftotext", {"-layout", path, "-"});
    poppler.waitForFinished();
    return QString::fromUtf8(poppler.readAllStandardOutput());
}

// Column A of rows 5.. of a page, up to its print area.
QStringList numbers(const ReportPage &page)
{
    QStringList list;
    for (int row = ReportPage::kFirstRecordRow; row <= std::min(page.lastRow(), ReportPage::kLastRecordRow);
         ++row) {
        if (!page.cell(row, 0).isEmpty())
            list << page.cell(row, 0);
    }
    return list;
}

QStringList rowCells(const ReportPage &page, int row)
{
    QStringList cells;
    for (int c = 0; c < kReportColumns; ++c)
        cells << page.cell(row, c);
    return cells;
}

// clang-format off
// Medicines on each page: 44 on a page that has more after it, up to 45 on the last.
const struct { const char *name; void (*print)(ReportMode); QStringList lines; QList<int> perPage; } kFrames[] = {
    {"0", printCompleteList, {}, {0}},             {"1", printCompleteList, medicines(1), {1}},
    {"44", printCompleteList, medicines(44), {44}}, {"45", printCompleteList, medicines(45), {45}},
    {"46", printCompleteList, medicines(46), {44, 2}}, {"89", printCompleteList, medicines(89), {44, 45}},
    {"90", printCompleteList, medicines(90), {44, 44, 2}},
    // The page breaks before lines that do not qualify all the same.
    {"45 expired of 48", printExpired, medicines(45, "01/01/2020") + medicines(48).mid(45), {44, 1}},
    // The 45th row, carried to the next page, repeats there.
    {"forecast of 46", [](ReportMode m) { printForecast(m, "3 mois"); }, medicines(46, "01/01/2020"), {44, 2}},
};

// Today is 06/12/2026. Each report once over the same stock, by name and column E; or the
// message given when nothing qualifies. From a main window's entry (an action's name), the
// question before is answered Yes: a preview.
const QStringList kStock = {
    medicine("Médicament 001", "06/12/2026", "8", "5"),  // expires today
    medicine("Médicament 002", "07/12/2026", "5", "5"),  // tomorrow; at its threshold
    medicine("Médicament 003", "09/06/2027", "9", "1"),  // in 185 days
    medicine("Médicament 004", "01/01/2001", "9", "1"),  // long ago
};
const struct { const char *name; void (*print)(ReportMode); QStringList lines; QString title; QStringList rows; const char *entry = nullptr; } kReports[] = {
    {"complete, menu", nullptr, {kStock.at(2)}, "Liste complète des médicaments", {"Médicament 003: 09/06/2027"}, "printComplete"},
    {"expired, toolbar", nullptr, kStock, "Liste des médicaments périmés", {"Médicament 001: 06/12/2026", "Médicament 004: 01/01/2001"}, "printExpiredEntry"},
    {"insufficient, toolbar", nullptr, kStock, "Médicaments en quantité insuffisante", {"Médicament 002: 07/12/2026"}, "printLowStockEntry"},
    {"forecast", [](ReportMode m) { printForecast(m, "6 mois"); }, kStock, "Médicaments périmés dans: 6 mois",
     {"Médicament 001: Déjà périmé.", "Médicament 002: 07/12/2026", "Médicament 003: 09/06/2027", "Médicament 004: Déjà périmé."}},
    {"no expired", nullptr, {kStock.at(2)}, "Il n'y a pas de médicament périmé à ce jour.", {}, "printExpired"},
    {"no insufficient", printLowStock, {kStock.at(2)}, "Il n'y a pas de médicament en quantité insuffisante à ce jour.", {}},
};

// The list window's two reports, with every medicine or the indispensable ones: A1, A2, A3.
// Their names (the PDF's) tell them apart.
const struct { const char *name; bool order, indispensable; QStringList titles; QString report; } kListReports[] = {
    {"list", false, false, {"Médicaments:", "Liste Complète à la date du: 06/12/2026", ""}, "Liste Complète des médicaments"},
    {"order, indispensable", true, true,
     {"Médicaments 'indispensables'", "Commande pharmacie à la date du: 06/12/2026", "(à partir de la liste Complète)"},
     "Commande pharmacie, médicaments indispensables"},
};

// Templates a user may write, as edits of the shipped one. Each prints every medicine
// whole, or is refused before any page with the setting to change.
const Case<QStringList, const char *> kLayouts[] = {
    {"shipped", {}, ""},
    {"Letter landscape, 7.5 pt", {"A4", "Letter", "portrait", "paysage", "8.5", "7.5", "[12, 12, 12, 14]", "[12, 8, 12, 8]"}, ""},
    {"A5 landscape", {"A4", "A5", "portrait", "paysage", "8.5", "7"}, "marges haut et bas"},
    {"A4, narrow column", {"\"largeur_mm\": 10,", "\"largeur_mm\": 7.5,"}, "colonne A de la feuille « Commande » 7,5 mm"},
};
// The longest texts, one in five in capitals, which are wider.
const QStringList kLongest = [] {
    QStringList lines;
    for (int n = 1; n <= 46; ++n) {
        const QString name = QStringLiteral("Méthylprednisolone 40 mg poudre pour %1").arg(n, 3, 10, QLatin1Char('0'));
        lines << composeRecord(n % 5 ? name : name.toUpper(), u"Sous-cutanée ou I.M.",
                               n % 2 ? u"Seringue pré-remplie" : u"Poudre pour solution", u"-32768", u"31/12/2027", u"1", u"1");
    }
    return lines;
}();

// clang-format on

// A program directory with the report template and a stock, and the pages the reports
// make; or the real output, to paper or PDF.
struct Sheets
{
    explicit Sheets(const QStringList &lines, bool realOutput = false)
    {
        seams.installTemplate();
        seams.directory.write(kStockFileName, fileOf(lines));
        if (realOutput)
            Platform::setReportOutput(nullptr);
    }
    const QList<RecordingReportOutput::Output> &pages() const { return seams.reports.pages; }
    TestSeams seams;
};

} // namespace

// The pages each report makes, then the real page renderer: to a PDF in the program's
// directory when no printer is installed, to a private CUPS server's queue that turns each
// job into a PDF when one is.
class TestReports : public QObject
{
    Q_OBJECT

private slots:
    // First, before any printer is looked up: the printer is gone once it is done.
    void eachPageIsOneJob();

    void pagesOfTheFrame_data() { addRows(kFrames); }
    void pagesOfTheFrame();
    void stockReports_data() { addRows(kReports); }
    void stockReports();
    void listWindowReports_data() { addRows(kListReports); }
    void listWindowReports();
    void everyTextWholeOrTemplateRefused_data() { addRows(kLayouts); }
    void everyTextWholeOrTemplateRefused();
};

// Every page of a report is one job to the default printer.
void TestReports::eachPageIsOneJob()
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

    // A character beyond Latin-1 on the second page, measured apart.
    Sheets r(medicines(45, "01/01/2020") << medicine("Médicament 046 cœur", "01/01/2020"), true);
    printExpired(ReportMode::Print);
    QVERIFY(r.seams.messages.shown().isEmpty()); // printed: nothing to tell

    // Qt reports success even when CUPS refuses a job: believe only complete files.
    QStringList jobs;
    QTRY_COMPARE_WITH_TIMEOUT((jobs = out.entryList({"*.pdf"}, QDir::Files)).size(), 2, 20000);
    QString texts;
    for (const QString &job : jobs) {
        QTRY_VERIFY_WITH_TIMEOUT(readFile(out.filePath(job)).trimmed().endsWith("%%EOF"), 10000);
        texts += readPdf(out.filePath(job));
    }
    for (const char *text : {"Liste des médicaments périmés", "Médicament 044", "Médicament 046 cœur"})
        QVERIFY2(texts.contains(text), text);
    QVERIFY(texts.contains(QRegularExpression("Total :\\s+46")));
}

void TestReports::pagesOfTheFrame()
{
    const auto &c = rowOf(kFrames);
    Sheets r(c.lines);
    c.print(ReportMode::Print);

    QCOMPARE(r.pages().size(), c.perPage.size());
    int first = 1;
    for (int p = 0; p < r.pages().size(); ++p) {
        const RecordingReportOutput::Output &out = r.pages().at(p);
        const bool last = p == r.pages().size() - 1;
        QVERIFY(!out.preview && out.busyPointer);
        QCOMPARE(out.page.printArea, last ? "$A$1:$F$50" : "$A$1:$F$48");
        QStringList expected;
        for (int n = first; n < first + c.perPage.at(p); ++n)
            expected << QString::number(n);
        QCOMPARE(numbers(out.page), expected);
        first += c.perPage.at(p);
        QCOMPARE(out.page.cell(ReportPage::kTotalRow, 5), last ? QString::number(first - 1) : QString());
    }
    if (c.print == printCompleteList && !c.lines.isEmpty())
        QCOMPARE(rowCells(r.pages().first().page, 5),
                 (QStringList{"1", "Médicament 001", "Orale", "Comprimé", "01/01/2030", "10"}));
    if (c.perPage.size() == 2 && c.perPage.last() == 2) // the carried row, whole
        QCOMPARE(rowCells(r.pages().at(1).page, 5), rowCells(r.pages().at(0).page, 49));
    QCOMPARE(r.seams.reports.finished, 1);
    QVERIFY(r.seams.messages.shown().isEmpty());
}

void TestReports::stockReports()
{
    const auto &c = rowOf(kReports);
    Sheets r(c.lines);
    if (c.entry) {
        MainWindow window;
        r.seams.messages.queue(MsgAnswer::Yes);
        window.findChild<QAction *>(QLatin1String(c.entry))->trigger();
        QCOMPARE(boxOf(r.seams.messages.shown().first()), "Impression | question | Oui/Non");
    } else {
        c.print(ReportMode::Preview);
    }
    QVERIFY(!QGuiApplication::overrideCursor()); // the pointer is back
    if (c.rows.isEmpty()) {
        QVERIFY(r.pages().isEmpty());
        QCOMPARE(r.seams.messages.shown().size(), c.entry ? 2 : 1);
        QCOMPARE(r.seams.messages.last().text, c.title);
        return;
    }
    QCOMPARE(r.pages().size(), 1);
    const ReportPage &page = r.pages().first().page;
    QVERIFY(r.pages().first().preview);
    QCOMPARE(page.cell(1, 0), c.title);
    QStringList shown;
    for (int row = 5; !page.cell(row, 1).isEmpty(); ++row)
        shown << page.cell(row, 1) + ": " + page.cell(row, 4);
    QCOMPARE(shown, c.rows);
    QCOMPARE(page.cell(ReportPage::kTotalRow, 5), QString::number(c.rows.size()));
}

void TestReports::listWindowReports()
{
    const auto &c = rowOf(kListReports);
    // 46 rows, shown sorted by presentation: the report follows the table's order.
    QStringList lines;
    for (int n = 1; n <= 46; ++n)
        lines << composeRecord(QStringLiteral("Médicament %1").arg(n, 3, 10, QLatin1Char('0')), u"Orale",
                               n == 46 ? u"Ampoule" : u"Comprimé", u"7", u"01/01/2030", u"2", u"1");
    StockFixture fx(lines);
    fx.seams.installTemplate();
    if (c.indispensable)
        QTest::mouseClick(fx.form->indispensableOnly(), Qt::LeftButton);
    QTest::mouseClick(fx.form->findChild<QToolButton *>("sortByPresentation"), Qt::LeftButton);
    fx.seams.messages.queue(MsgAnswer::No);
    fx.click(c.order ? "order" : "print");

    const auto &out = fx.seams.reports.pages;
    QCOMPARE(out.size(), 2);
    for (const auto &p : out) {
        QVERIFY(!p.preview);
        QCOMPARE((QStringList{p.page.cell(1, 0), p.page.cell(2, 0), p.page.cell(3, 0)}), c.titles);
        QCOMPARE(p.page.report, c.report);
        for (int row = 5; c.order && row <= 49; ++row)
            QVERIFY(p.page.cell(row, 5).isEmpty()); // the order never fills column F
    }
    // The ampoule sorts first; the 45th row of the table opens the second page.
    QCOMPARE(rowCells(out.at(0).page, 5),
             (QStringList{"1", "Médicament 046", "Orale", "Ampoule"}) +
                 (c.order ? QStringList{"7", ""} : QStringList{"01/01/2030", "7"}));
    QCOMPARE(rowCells(out.at(1).page, 5).mid(0, 2), (QStringList{"45", "Médicament 044"}));
    QCOMPARE(out.at(1).page.cell(ReportPage::kTotalRow, 5), "46");
}

void TestReports::everyTextWholeOrTemplateRefused()
{
    if (!QPrinterInfo::availablePrinters().isEmpty() || QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("needs poppler-utils, and no printer installed");
    const auto &c = rowOf(kLayouts);
    Sheets r(kLongest, true);
    QString layout = QString::fromUtf8(r.seams.directory.read("Impression.json"));
    for (int i = 0; i + 1 < c.in.size(); i += 2)
        layout.replace(c.in.at(i), c.in.at(i + 1));
    r.seams.directory.write("Impression.json", layout.toUtf8());

    ListSnapshot order{"Complète", false, {}};
    for (const QString &line : kLongest) {
        const MedicineRecord e = parseRecord(line);
        order.rows << ListSnapshot::Row{e.name, e.route, e.presentation, e.expiry, e.quantity};
    }
    printCompleteList(ReportMode::Print);
    printOrder(ReportMode::Print, order);
    const QStringList pdfs = QDir(r.seams.directory.path()).entryList({"*.pdf"});
    QCOMPARE(r.seams.messages.shown().size(), 2);
    for (const MessageRequest &shown : r.seams.messages.shown())
        QVERIFY2(shown.text.contains(*c.out ? QString(c.out) : r.seams.directory.path()),
                 qPrintable(shown.text));
    QCOMPARE(pdfs.size(), *c.out ? 0 : 2);
    for (const QString &pdf : pdfs) {
        const QString text = readPdf(r.seams.directory.file(pdf));
        QVERIFY(text.contains("Page 2"));
        for (int n = 1; n <= kLongest.size(); ++n) {
            const MedicineRecord e = parseRecord(kLongest.at(n - 1));
            const QRegularExpression row(
                QStringLiteral("^ *%1 +%2 +%3 +%4 ").arg(n).arg(e.name, e.route, e.presentation),
                QRegularExpression::MultilineOption);
            QVERIFY2(text.count(row) == 1, qPrintable(pdf + ": " + e.name + "\n" + text));
        }
    }
    if (pdfs.size() == 2) { // a second print the same day does not overwrite the first file
        printCompleteList(ReportMode::Print);
        QVERIFY(r.seams.messages.last().text.contains("2026-12-06 (2).pdf"));
    }
}

VELLORIN_TEST(TestReports)
#include "tst_reports.moc"
