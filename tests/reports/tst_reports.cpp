#include "gui/reports/Impression.h"
#include "gui/shell/Menuprincipal.h"
#include "support/Tests.h"

namespace {

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
const Case<int, QList<int>> kFrames[] = { // medicines on each page
    {"0", 0, {0}}, {"1", 1, {1}}, {"44", 44, {44}}, {"45", 45, {45}}, {"46", 46, {44, 2}}, {"89", 89, {44, 45}}, {"90", 90, {44, 44, 2}},
};

// Today is 06/12/2026. Each report once over the same stock, by name and column E; or the
// message given when nothing qualifies.
const QStringList kStock = {
    medicine("Médicament 001", "06/12/2026", "8", "5"),  // expires today
    medicine("Médicament 002", "07/12/2026", "5", "5"),  // tomorrow; at its threshold
    medicine("Médicament 003", "09/06/2027", "9", "1"),  // in 185 days
    medicine("Médicament 004", "01/01/2001", "9", "1"),  // long ago
};
const struct { const char *name; void (*print)(ReportMode); QStringList lines; QString title; QStringList rows; } kReports[] = {
    {"expired", imprime_perimes, kStock, "Liste des médicaments périmés", {"Médicament 001: 06/12/2026", "Médicament 004: 01/01/2001"}},
    {"insufficient", imprime_seuil, kStock, "Médicaments en quantité insuffisante", {"Médicament 002: 07/12/2026"}},
    {"forecast", [](ReportMode m) { imprime_avance(m, "6 mois"); }, kStock, "Médicaments périmés dans: 6 mois",
     {"Médicament 001: Déjà périmé.", "Médicament 002: 07/12/2026", "Médicament 003: 09/06/2027", "Médicament 004: Déjà périmé."}},
    {"forecast, no horizon", [](ReportMode m) { imprime_avance(m, QString()); }, kStock, "Médicaments périmés dans: ",
     {"Médicament 004: Déjà périmé."}},
    {"no expired", imprime_perimes, {kStock.at(2)}, "Il n'y a pas de médicament périmé à ce jour.", {}},
    {"no insufficient", imprime_seuil, {kStock.at(2)}, "Il n'y a pas de médicament en quantité insuffisante à ce jour.", {}},
    {"empty stock, forecast", [](ReportMode m) { imprime_avance(m, "1 mois"); }, {},
     "Il n'y a pas de médicament périmé à ce jour.", {}},
};

// The list window's two reports, with every medicine or the indispensable ones: A1, A2, A3.
const struct { const char *name; bool order, indispensable; QStringList titles; } kListReports[] = {
    {"list", false, false, {"Médicaments:", "Liste Complète à la date du: 06/12/2026", ""}},
    {"order, indispensable", true, true,
     {"Médicaments 'indispensables'", "Commande pharmacie à la date du: 06/12/2026", "(à partir de la liste Complète)"}},
};

const Case<QByteArray, QString> kTemplates[] = { // empty: no template at all
    {"missing", "", "est introuvable"},
    {"not JSON", "{ \"page\": ", "est mal formé"},
    {"no order sheet", R"({"feuilles": {"Liste": {}}})", "n'a pas de colonne A"},
    {"bad margin", R"({"page": {"marges_mm": [10, 10, 10, 500]}})", "marge"},
};
// clang-format on

} // namespace

class TestReports : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_seams.reset(); }

    void pagesOfTheFrame_data() { addRows(kFrames); }
    void pagesOfTheFrame();
    void filteredReportBreaksBeforeLinesThatDoNotQualify();
    void stockReports_data() { addRows(kReports); }
    void stockReports();
    void carriedRowRepeatsItsCells();
    void listWindowReports_data() { addRows(kListReports); }
    void listWindowReports();
    void modeComesFromTheQuestion();
    void templateThatCannotBeUsed_data() { addRows(kTemplates); }
    void templateThatCannotBeUsed();

private:
    std::unique_ptr<TestSeams> m_seams;
    const QList<RecordingReportOutput::Output> &pages() const { return m_seams->reports.pages; }
};

void TestReports::init()
{
    m_seams = std::make_unique<TestSeams>();
    m_seams->installTemplate();
}

void TestReports::pagesOfTheFrame()
{
    const auto &[name, count, perPage] = rowOf(kFrames);
    m_seams->directory.write(kStockFileName, fileOf(medicines(count)));
    imprime_complete(ReportMode::Print);

    QCOMPARE(pages().size(), perPage.size());
    int first = 1;
    for (int p = 0; p < pages().size(); ++p) {
        const RecordingReportOutput::Output &out = pages().at(p);
        const bool last = p == pages().size() - 1;
        QVERIFY(!out.preview);
        QVERIFY(out.busyPointer);
        QCOMPARE(out.page.sheetName, "Liste");
        QCOMPARE(out.page.cell(2, 0), "à la date du: 06/12/2026");
        QCOMPARE(out.page.printArea, last ? "$A$1:$F$50" : "$A$1:$F$48");
        QStringList expected;
        for (int n = first; n < first + perPage.at(p); ++n)
            expected << QString::number(n);
        QCOMPARE(numbers(out.page), expected);
        QCOMPARE(out.page.cell(ReportPage::kTotalRow, 5), last ? QString::number(count) : QString());
        first += perPage.at(p);
    }
    if (count > 0)
        QCOMPARE(rowCells(pages().first().page, 5),
                 (QStringList{"1", "Médicament 001", "Orale", "Comprimé", "01/01/2030", "10"}));
    QCOMPARE(m_seams->reports.finished, 1);
    QVERIFY(m_seams->messages.shown().isEmpty());
}

void TestReports::filteredReportBreaksBeforeLinesThatDoNotQualify()
{
    // 45 expired medicines, then three that are not: the page breaks all the same, and
    // the last page holds the 45th alone with the total.
    m_seams->directory.write(kStockFileName, fileOf(medicines(45, "01/01/2020") + medicines(48).mid(45)));
    imprime_perimes(ReportMode::Print);
    QCOMPARE(pages().size(), 2);
    QCOMPARE(numbers(pages().at(0).page).size(), 44);
    QCOMPARE(numbers(pages().at(1).page), QStringList{"45"});
    QCOMPARE(pages().at(1).page.cell(ReportPage::kTotalRow, 5), "45");
    // Row 49 of the first page held the 45th: the area left it out.
    QCOMPARE(pages().at(0).page.cell(49, 0), "45");
}

void TestReports::stockReports()
{
    const auto &c = rowOf(kReports);
    m_seams->directory.write(kStockFileName, fileOf(c.lines));
    c.print(ReportMode::Preview);
    QVERIFY(!QGuiApplication::overrideCursor()); // the pointer is back
    if (c.rows.isEmpty()) {
        QVERIFY(pages().isEmpty());
        QCOMPARE(m_seams->messages.shown().size(), 1);
        QCOMPARE(m_seams->messages.last().text, c.title);
        return;
    }
    QCOMPARE(pages().size(), 1);
    const ReportPage &page = pages().first().page;
    QVERIFY(pages().first().preview);
    QCOMPARE(page.cell(1, 0), c.title);
    QStringList shown;
    for (int row = 5; !page.cell(row, 1).isEmpty(); ++row)
        shown << page.cell(row, 1) + ": " + page.cell(row, 4);
    QCOMPARE(shown, c.rows);
    QCOMPARE(page.cell(ReportPage::kTotalRow, 5), QString::number(c.rows.size()));
}

void TestReports::carriedRowRepeatsItsCells()
{
    m_seams->directory.write(kStockFileName, fileOf(medicines(46, "01/01/2020")));
    imprime_avance(ReportMode::Print, "3 mois");
    QCOMPARE(pages().size(), 2);
    const QStringList carried = {"45", "Médicament 045", "Orale", "Comprimé", "Déjà périmé.", "10"};
    QCOMPARE(rowCells(pages().at(0).page, 49), carried);
    QCOMPARE(rowCells(pages().at(1).page, 5), carried);
    QCOMPARE(rowCells(pages().at(1).page, 6).at(0), "46");
    QVERIFY(pages().at(1).page.cell(7, 0).isEmpty()); // rows of the first page were cleared
}

void TestReports::listWindowReports()
{
    const auto &c = rowOf(kListReports);
    // 46 rows, shown sorted by presentation: the report follows the table's order.
    QStringList lines;
    for (int n = 1; n <= 46; ++n)
        lines << compose_enreg(QStringLiteral("Médicament %1").arg(n, 3, 10, QLatin1Char('0')), u"Orale",
                               n == 46 ? u"Ampoule" : u"Comprimé", u"7", u"01/01/2030", u"2", u"1");
    StockFixture fx(lines);
    fx.seams.installTemplate();
    if (c.indispensable)
        QTest::mouseClick(fx.form->Check1(), Qt::LeftButton);
    QTest::mouseClick(fx.form->findChildren<QToolButton *>("tri").at(2), Qt::LeftButton);
    fx.seams.messages.queue(MsgAnswer::No);
    fx.click(c.order ? "commande" : "Impression");

    const auto &out = fx.seams.reports.pages;
    QCOMPARE(out.size(), 2);
    for (const auto &p : out) {
        QVERIFY(!p.preview);
        QCOMPARE((QStringList{p.page.cell(1, 0), p.page.cell(2, 0), p.page.cell(3, 0)}), c.titles);
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

// Yes previews, No prints: from the main window's entries as from the list's.
void TestReports::modeComesFromTheQuestion()
{
    m_seams->directory.write(kStockFileName, fileOf({medicine("Aspirine", "01/01/2020", "1", "5")}));
    Menuprincipal window;
    for (const auto &[entry, answer] :
         {std::pair{"mnu_complete", MsgAnswer::Yes}, {"button_perimes", MsgAnswer::No}}) {
        m_seams->reports.pages.clear();
        m_seams->messages.queue(answer);
        window.findChild<QAction *>(QLatin1String(entry))->trigger();
        QCOMPARE(boxOf(m_seams->messages.last()), "Impression | question | Oui/Non");
        QCOMPARE(pages().size(), 1);
        QCOMPARE(pages().first().preview, answer == MsgAnswer::Yes);
    }
}

void TestReports::templateThatCannotBeUsed()
{
    const auto &[name, content, says] = rowOf(kTemplates);
    QFile::remove(m_seams->directory.file("Impression.json"));
    if (!content.isEmpty())
        m_seams->directory.write("Impression.json", content);
    m_seams->directory.write(kStockFileName, fileOf(medicines(3)));
    imprime_complete(ReportMode::Preview);
    QVERIFY(pages().isEmpty());
    QCOMPARE(m_seams->messages.shown().size(), 1);
    const QString &text = m_seams->messages.last().text;
    QVERIFY2(text.startsWith("Le modèle d'impression Impression.json ") && text.contains(says),
             qPrintable(text));
    QVERIFY(!QGuiApplication::overrideCursor());
}

VELLORIN_TEST(TestReports)
#include "tst_reports.moc"
