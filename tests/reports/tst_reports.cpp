#include "core/store/StockFile.h"
#include "gui/reports/Impression.h"
#include "gui/shell/Menuprincipal.h"
#include "support/StockFixture.h"
#include "support/TestMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QTest>

namespace {

// Today is 06/12/2026.
QString medicine(int n, const char16_t *dat = u"01/01/2030", const char16_t *qte = u"10",
                 const char16_t *critique = u"5")
{
    return compose_enreg(QStringLiteral("Médicament %1").arg(n, 3, 10, QLatin1Char('0')), u"Orale",
                         u"Comprimé", qte, dat, critique, u"0");
}

QStringList medicines(int count)
{
    QStringList lines;
    for (int n = 1; n <= count; ++n)
        lines << medicine(n);
    return lines;
}

QByteArray fileOf(const QStringList &lines)
{
    return StockFixture::bytesOf(lines);
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

} // namespace

class TestReports : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pagesOfTheFrame_data();
    void pagesOfTheFrame();
    void filteredReportBreaksBeforeLinesThatDoNotQualify();
    void stockReports_data();
    void stockReports();
    void carriedRowRepeatsItsCells();
    void listWindowReports_data();
    void listWindowReports();
    void modeComesFromTheQuestion_data();
    void modeComesFromTheQuestion();
    void templateThatCannotBeUsed_data();
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

void TestReports::cleanup()
{
    m_seams.reset();
}

void TestReports::pagesOfTheFrame_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("perPage"); // medicines on each page
    QTest::newRow("0") << 0 << QList<int>{0};
    QTest::newRow("1") << 1 << QList<int>{1};
    QTest::newRow("44") << 44 << QList<int>{44};
    QTest::newRow("45") << 45 << QList<int>{45};
    QTest::newRow("46") << 46 << QList<int>{44, 2};
    QTest::newRow("89") << 89 << QList<int>{44, 45};
    QTest::newRow("90") << 90 << QList<int>{44, 44, 2};
}

void TestReports::pagesOfTheFrame()
{
    QFETCH(int, count);
    QFETCH(QList<int>, perPage);
    m_seams->directory.write(kStockFileName, fileOf(medicines(count)));
    imprime_complete(ReportMode::Print);

    QCOMPARE(pages().size(), perPage.size());
    int first = 1;
    for (int p = 0; p < pages().size(); ++p) {
        const RecordingReportOutput::Output &out = pages().at(p);
        const bool last = p == pages().size() - 1;
        QVERIFY(!out.preview);
        QVERIFY(out.busyPointer);
        QCOMPARE(out.page.sheetName, QStringLiteral("Liste"));
        QCOMPARE(out.page.cell(1, 0), QStringLiteral("Liste complète des médicaments"));
        QCOMPARE(out.page.cell(2, 0), QStringLiteral("à la date du: 06/12/2026"));
        QCOMPARE(out.page.printArea, last ? QStringLiteral("$A$1:$F$50") : QStringLiteral("$A$1:$F$48"));
        QStringList expected;
        for (int n = first; n < first + perPage.at(p); ++n)
            expected << QString::number(n);
        QCOMPARE(numbers(out.page), expected);
        QCOMPARE(out.page.cell(50, 5), last ? QString::number(count) : QString());
        first += perPage.at(p);
    }
    if (count > 0) {
        const ReportPage &page = pages().first().page;
        QCOMPARE(rowCells(page, 5),
                 (QStringList{"1", "Médicament 001", "Orale", "Comprimé", "01/01/2030", "10"}));
    }
    QCOMPARE(m_seams->reports.finished, 1);
    QVERIFY(m_seams->messages.shown().isEmpty());
    QCOMPARE(m_seams->directory.read(kStockFileName), fileOf(medicines(count))); // only read
}

void TestReports::filteredReportBreaksBeforeLinesThatDoNotQualify()
{
    // 45 expired medicines, then three that are not: the page breaks all the same, and
    // the last page holds the 45th alone with the total.
    QStringList lines;
    for (int n = 1; n <= 45; ++n)
        lines << medicine(n, u"01/01/2020");
    lines << medicine(46) << medicine(47) << medicine(48);
    m_seams->directory.write(kStockFileName, fileOf(lines));
    imprime_perimes(ReportMode::Print);
    QCOMPARE(pages().size(), 2);
    QCOMPARE(numbers(pages().at(0).page).size(), 44);
    QCOMPARE(pages().at(0).page.printArea, QStringLiteral("$A$1:$F$48"));
    QCOMPARE(numbers(pages().at(1).page), QStringList{"45"});
    QCOMPARE(pages().at(1).page.cell(50, 5), QStringLiteral("45"));
    // Row 49 of the first page held the 45th: the area left it out.
    QCOMPARE(pages().at(0).page.cell(49, 0), QStringLiteral("45"));
}

void TestReports::stockReports_data()
{
    QTest::addColumn<QString>("report"); // "perimes", "seuil", or "avance:" and the horizon
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("rows"); // "column B: column E"; none: the message instead
    QTest::addColumn<QString>("message");
    const QStringList stock = {
        medicine(1, u"06/12/2026", u"8", u"5"),  // expires today
        medicine(2, u"07/12/2026", u"5", u"5"),  // tomorrow; quantity at its threshold
        medicine(3, u"", u"0", u""),             // no date; 0 at a blank threshold
        medicine(4, u"00/05/2020", u"1", u""),   // not a calendar date; above a blank threshold
        medicine(5, u"01/01/2001", u"9", u"12"), // long expired; below its threshold
    };
    QTest::newRow("expired") << "perimes" << stock << "Liste des médicaments périmés"
                             << QStringList{"Médicament 001: 06/12/2026", "Médicament 005: 01/01/2001"} << "";
    QTest::newRow("insufficient") << "seuil" << stock << "Médicaments en quantité insuffisante"
                                  << QStringList{"Médicament 002: 07/12/2026",
                                                 "Médicament 003: ", "Médicament 005: 01/01/2001"}
                                  << "";
    // Days from today: 30, 31, 185, 186, 0 (today), long ago, none.
    const QStringList horizons = {medicine(1, u"05/01/2027"),
                                  medicine(2, u"06/01/2027"),
                                  medicine(3, u"09/06/2027"),
                                  medicine(4, u"10/06/2027"),
                                  medicine(5, u"06/12/2026"),
                                  medicine(6, u"01/01/2001"),
                                  medicine(7, u"")};
    const QStringList expired = {"Médicament 005: Déjà périmé.", "Médicament 006: Déjà périmé."};
    QTest::newRow("forecast, 1 mois") << "avance:1 mois" << horizons << "Médicaments périmés dans: 1 mois"
                                      << (QStringList{"Médicament 001: 05/01/2027"} + expired) << "";
    QTest::newRow("forecast, 6 mois")
        << "avance:6 mois" << horizons << "Médicaments périmés dans: 6 mois"
        << (QStringList{"Médicament 001: 05/01/2027", "Médicament 002: 06/01/2027",
                        "Médicament 003: 09/06/2027"} +
            expired)
        << "";
    QTest::newRow("forecast, no horizon")
        << "avance:" << horizons
        << "Médicaments périmés dans: " << QStringList{"Médicament 006: Déjà périmé."} << "";
    QTest::newRow("no expired") << "perimes" << QStringList{medicine(2, u"07/12/2026")} << "" << QStringList{}
                                << "Il n'y a pas de médicament périmé à ce jour.";
    QTest::newRow("no insufficient") << "seuil" << QStringList{medicine(1)} << "" << QStringList{}
                                     << "Il n'y a pas de médicament en quantité insuffisante à ce jour.";
    QTest::newRow("empty stock, forecast") << "avance:1 mois" << QStringList{} << "" << QStringList{}
                                           << "Il n'y a pas de médicament périmé à ce jour.";
}

void TestReports::stockReports()
{
    QFETCH(QString, report);
    QFETCH(QStringList, lines);
    QFETCH(QString, title);
    QFETCH(QStringList, rows);
    QFETCH(QString, message);
    m_seams->directory.write(kStockFileName, fileOf(lines));
    if (report == QLatin1String("perimes"))
        imprime_perimes(ReportMode::Preview);
    else if (report == QLatin1String("seuil"))
        imprime_seuil(ReportMode::Preview);
    else
        imprime_avance(ReportMode::Preview, report.section(u':', 1));
    QVERIFY(!QGuiApplication::overrideCursor()); // the pointer is back

    if (!message.isEmpty()) {
        QVERIFY(pages().isEmpty());
        QCOMPARE(m_seams->messages.shown().size(), 1);
        QCOMPARE(m_seams->messages.last().text, message);
        QCOMPARE(boxOf(m_seams->messages.last()), QStringLiteral("Information | information | OK"));
        return;
    }
    QCOMPARE(pages().size(), 1);
    const ReportPage &page = pages().first().page;
    QVERIFY(pages().first().preview);
    QCOMPARE(page.cell(1, 0), title);
    QStringList shown;
    for (int row = 5; !page.cell(row, 1).isEmpty(); ++row)
        shown << page.cell(row, 1) + QStringLiteral(": ") + page.cell(row, 4);
    QCOMPARE(shown, rows);
    QCOMPARE(page.cell(50, 5), QString::number(rows.size()));
}

void TestReports::carriedRowRepeatsItsCells()
{
    QStringList lines;
    for (int n = 1; n <= 46; ++n)
        lines << medicine(n, u"01/01/2020");
    m_seams->directory.write(kStockFileName, fileOf(lines));
    imprime_avance(ReportMode::Print, QStringLiteral("3 mois"));
    QCOMPARE(pages().size(), 2);
    const QStringList carried = {"45", "Médicament 045", "Orale", "Comprimé", "Déjà périmé.", "10"};
    QCOMPARE(rowCells(pages().at(0).page, 49), carried);
    QCOMPARE(rowCells(pages().at(1).page, 5), carried);
    QCOMPARE(rowCells(pages().at(1).page, 6).at(0), QStringLiteral("46"));
    QVERIFY(pages().at(1).page.cell(7, 0).isEmpty()); // rows of the first page were cleared
}

void TestReports::listWindowReports_data()
{
    QTest::addColumn<bool>("commande");
    QTest::addColumn<bool>("indispensables");
    QTest::addColumn<QStringList>("titles"); // A1, A2, A3
    QTest::newRow("list") << false << false
                          << QStringList{"Médicaments:", "Liste Complète à la date du: 06/12/2026", ""};
    QTest::newRow("list, indispensable")
        << false << true
        << QStringList{"Médicaments 'indispensables'", "Liste Complète à la date du: 06/12/2026", ""};
    QTest::newRow("order") << true << false
                           << QStringList{"Médicaments", "Commande pharmacie à la date du: 06/12/2026",
                                          "(à partir de la liste Complète)"};
    QTest::newRow("order, indispensable")
        << true << true
        << QStringList{"Médicaments 'indispensables'", "Commande pharmacie à la date du: 06/12/2026",
                       "(à partir de la liste Complète)"};
}

void TestReports::listWindowReports()
{
    QFETCH(bool, commande);
    QFETCH(bool, indispensables);
    QFETCH(QStringList, titles);
    // 46 rows, shown sorted by presentation: the report follows the table's order.
    QStringList lines;
    for (int n = 1; n <= 46; ++n)
        lines << compose_enreg(QStringLiteral("Médicament %1").arg(n, 3, 10, QLatin1Char('0')), u"Orale",
                               n == 46 ? u"Ampoule" : u"Comprimé", u"7", u"01/01/2030", u"2", u"1");
    StockFixture fx(lines);
    fx.seams.installTemplate();
    if (indispensables)
        QTest::mouseClick(fx.form->Check1(), Qt::LeftButton);
    QTest::mouseClick(fx.form->findChildren<QToolButton *>(QStringLiteral("tri")).at(2), Qt::LeftButton);
    fx.seams.messages.queue(MsgAnswer::No);
    fx.click(commande ? QStringLiteral("commande") : QStringLiteral("Impression"));

    const auto &out = fx.seams.reports.pages;
    QCOMPARE(fx.seams.messages.shown().size(), 1);
    QCOMPARE(fx.seams.messages.last().text, QStringLiteral("Aperçu avant impression ?"));
    QCOMPARE(out.size(), 2);
    for (const auto &p : out) {
        QVERIFY(!p.preview);
        QCOMPARE(p.page.sheetName, commande ? QStringLiteral("Commande") : QStringLiteral("Liste"));
        QCOMPARE((QStringList{p.page.cell(1, 0), p.page.cell(2, 0), p.page.cell(3, 0)}), titles);
    }
    // The ampoule sorts first; the 45th row of the table opens the second page.
    QCOMPARE(rowCells(out.at(0).page, 5),
             commande ? (QStringList{"1", "Médicament 046", "Orale", "Ampoule", "7", ""})
                      : (QStringList{"1", "Médicament 046", "Orale", "Ampoule", "01/01/2030", "7"}));
    QCOMPARE(rowCells(out.at(1).page, 5).mid(0, 2), (QStringList{"45", "Médicament 044"}));
    QCOMPARE(rowCells(out.at(1).page, 6).mid(0, 2), (QStringList{"46", "Médicament 045"}));
    QCOMPARE(out.at(1).page.cell(50, 5), QStringLiteral("46"));
    if (commande) {
        for (const auto &p : out) {
            for (int row = 5; row <= 49; ++row)
                QVERIFY(p.page.cell(row, 5).isEmpty()); // the order never fills column F
        }
    }
    QCOMPARE(fx.stockBytes(), StockFixture::bytesOf(lines));
}

void TestReports::modeComesFromTheQuestion_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<MsgAnswer>("answer");
    QTest::addColumn<QString>("title");
    QTest::newRow("complete, preview")
        << "mnu_complete" << MsgAnswer::Yes << "Liste complète des médicaments";
    QTest::newRow("complete, print") << "button_complete" << MsgAnswer::No
                                     << "Liste complète des médicaments";
    QTest::newRow("expired, preview")
        << "button_perimes" << MsgAnswer::Yes << "Liste des médicaments périmés";
    QTest::newRow("insufficient, print")
        << "mnu_seuilimite" << MsgAnswer::No << "Médicaments en quantité insuffisante";
}

void TestReports::modeComesFromTheQuestion()
{
    QFETCH(QString, entry);
    QFETCH(MsgAnswer, answer);
    QFETCH(QString, title);
    m_seams->directory.write(kStockFileName, fileOf({medicine(1, u"01/01/2020", u"1", u"5")}));
    Menuprincipal window;
    m_seams->messages.queue(answer);
    window.findChild<QAction *>(entry)->trigger();
    const MessageRequest &question = m_seams->messages.shown().first();
    QCOMPARE(question.text, QStringLiteral("Aperçu avant impression ?"));
    QCOMPARE(boxOf(question), QStringLiteral("Impression | question | Oui/Non"));
    QCOMPARE(pages().size(), 1);
    QCOMPARE(pages().first().preview, answer == MsgAnswer::Yes);
    QCOMPARE(pages().first().page.cell(1, 0), title);
}

void TestReports::templateThatCannotBeUsed_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no template at all
    QTest::addColumn<QString>("says");
    QTest::newRow("missing") << QByteArray() << "est introuvable";
    QTest::newRow("not JSON") << QByteArray("{ \"page\": ") << "est mal formé";
    QTest::newRow("no order sheet") << QByteArray(R"({"feuilles": {"Liste": {}}})") << "n'a pas de colonne A";
    QTest::newRow("bad margin") << QByteArray(R"({"page": {"marges_mm": [10, 10, 10, 500]}})") << "marge";
}

void TestReports::templateThatCannotBeUsed()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, says);
    QFile::remove(m_seams->directory.file(QStringLiteral("Impression.json")));
    if (!content.isEmpty())
        m_seams->directory.write(QStringLiteral("Impression.json"), content);
    m_seams->directory.write(kStockFileName, fileOf(medicines(3)));
    imprime_complete(ReportMode::Preview);
    QVERIFY(pages().isEmpty());
    QCOMPARE(m_seams->messages.shown().size(), 1);
    const MessageRequest &m = m_seams->messages.last();
    QCOMPARE(m.title, QStringLiteral("Erreur"));
    QVERIFY2(m.text.startsWith(QStringLiteral("Le modèle d'impression Impression.json ")),
             qPrintable(m.text));
    QVERIFY2(m.text.contains(says), qPrintable(m.text));
    QVERIFY(!QGuiApplication::overrideCursor());
    if (!content.isEmpty())
        QCOMPARE(m_seams->directory.read(QStringLiteral("Impression.json")), content); // never written
}

VELLORIN_TEST(TestReports)
#include "tst_reports.moc"
