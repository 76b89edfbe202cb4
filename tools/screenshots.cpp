// Takes the README's screenshots: the main window, the medicine list, the editor and an
// order page with the longest texts, on a sample kit. Run by script/screenshots under Xvfb.
#include "core/files/TextFile.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Today.h"
#include "core/reports/ReportOutput.h"
#include "core/reports/ReportSession.h"
#include "core/stock/StockFile.h"
#include "gui/editor/MedicineEditor.h"
#include "gui/listwindow/StockListWindow.h"
#include "gui/listwindow/StockTableModel.h"
#include "gui/platform/ReportListView.h"
#include "gui/reports/ReportRenderer.h"
#include "gui/shell/Application.h"
#include "gui/shell/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

class SampleDirectory final : public ProgramDirectory
{
public:
    QString path() const override { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

class SampleDay final : public TodaySource
{
public:
    QDate today() const override { return QDate(2026, 12, 6); }
};

// The first page of a report, kept to be drawn.
class FirstPage final : public ReportOutput
{
public:
    void begin(const QString &, const ReportTemplate &layout, const ReportReplay &) override
    {
        m_layout = layout;
    }
    void preview(const ReportPage &page) override { keep(page); }
    void print(const ReportPage &page) override { keep(page); }
    void finish() override {}

    ReportTemplate m_layout;
    std::optional<ReportPage> m_page;

private:
    void keep(const ReportPage &page)
    {
        if (!m_page)
            m_page = page;
    }
};

const QStringList kSample = {
    composeRecord(u"Adrénaline 1 mg/ml", u"Intramusculaire", u"Ampoule", u"2", u"15/03/2027", u"2", u"1"),
    composeRecord(u"Amoxicilline 1 g", u"Orale", u"Comprimé", u"12", u"30/11/2026", u"6", u"0"),
    composeRecord(u"Aspirine 500 mg", u"Orale", u"Comprimé", u"20", u"05/03/2028", u"10", u"0"),
    composeRecord(u"Bétadine dermique 10 %", u"Cutanée", u"Flacon", u"1", u"12/01/2027", u"1", u"0"),
    composeRecord(u"Ceftriaxone 1 g", u"Intramusculaire", u"Flacon", u"2", u"01/09/2027", u"2", u"1"),
    composeRecord(u"Diazépam 10 mg", u"Rectale", u"Gel", u"1", u"06/12/2026", u"2", u"1"),
    composeRecord(u"Furosémide 20 mg", u"Intraveineuse", u"Ampoule", u"3", u"18/06/2027", u"3", u"1"),
    composeRecord(u"Glucagon 1 mg", u"Sous-cutanée", u"Stylo injecteur", u"1", u"20/10/2027", u"1", u"1"),
    composeRecord(u"Ibuprofène 400 mg", u"Orale", u"Comprimé", u"30", u"10/02/2028", u"10", u"0"),
    composeRecord(u"Morphine 10 mg", u"Sous-cutanée", u"Ampoule", u"4", u"25/12/2026", u"4", u"1"),
    composeRecord(u"Paracétamol 1 g", u"Orale", u"Sachet", u"16", u"02/02/2028", u"8", u"0"),
    composeRecord(u"Salbutamol 100 µg", u"Inhalée", u"Aérosol", u"1", u"14/04/2027", u"1", u"1"),
    composeRecord(u"Sérum physiologique", u"Cutanée", u"Flacon", u"10", u"", u"5", u"0"),
    composeRecord(u"Trinitrine 0,15 mg", u"Sublinguale", u"Spray", u"1", u"09/08/2027", u"1", u"1"),
};
// The longest texts a medicine may hold, for the order page.
const QStringList kLongest = {
    composeRecord(u"Amoxicilline acide clavulanique 1g/125mg", u"Orale", u"Poudre pour solution", u"3",
                  u"01/06/2027", u"4", u"1"),
    composeRecord(u"Méthylprednisolone 40 mg poudre solution", u"Intraveineuse", u"Poudre pour solution",
                  u"8", u"01/06/2027", u"10", u"0"),
    composeRecord(u"Enoxaparine sodique 4000UI anti-Xa 0,4ml", u"Sous-cutanée ou I.M.",
                  u"Seringue pré-remplie", u"2", u"01/06/2027", u"4", u"1"),
};

void save(QWidget *w, const QString &dir, const char *name)
{
    QApplication::processEvents();
    QTest::qWait(150);
    w->grab().save(QDir(dir).filePath(QLatin1String(name)));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    prepareApplication(app);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    const QString data = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("data");
    QDir().mkpath(out);
    SampleDirectory dir;
    SampleDay day;
    Platform::setProgramDirectory(&dir);
    Platform::setTodaySource(&day);
    for (const char *name : {"Pharma_Forme.dat", "Pharma_Type.dat", "Impression.json"})
        QFile::copy(QDir(data).filePath(QLatin1String(name)), Platform::programFile(QLatin1String(name)));
    QString error;
    if (!writeStock(kSample, &error))
        qFatal("%s", qPrintable(error));

    MainWindow main;
    main.resize(720, 420);
    main.show();
    save(&main, out, "main-window.png");

    StockListWindow list;
    list.show();
    list.table()->selectRow(3);
    save(&list, out, "medicine-list.png");

    MedicineEditor editor(parseRecord(list.stock().at(1)), {});
    editor.setMode(EditorMode::Change);
    editor.show();
    save(&editor, out, "editor.png");

    // An order page with the longest texts, drawn as it is printed, then turned into a picture.
    FirstPage page;
    {
        ReportSession session(page);
        if (!session.openTemplate(&error))
            qFatal("%s", qPrintable(error));
        session.selectSheet(QStringLiteral("Commande"));
        session.write(u"A1", QStringLiteral("Médicaments"));
        session.write(u"A2", QStringLiteral("Commande pharmacie à la date du: 06/12/2026"));
        session.write(u"A3", QStringLiteral("(à partir de la liste Complète)"));
        const QStringList rows = kLongest + kSample;
        for (int i = 0; i < rows.size(); ++i) {
            const MedicineRecord e = parseRecord(rows.at(i));
            for (const auto &[column, text] : {std::pair{0, QString::number(i + 1)},
                                               {1, e.name},
                                               {2, e.route},
                                               {3, e.presentation},
                                               {4, e.quantity}})
                session.write(5 + i, column, text);
        }
        session.write(50, 5, QString::number(rows.size()));
        session.setPrintArea(QStringLiteral("$A$1:$F$50"));
        session.print();
    }
    const QString pdf = QDir(dir.path()).filePath(QStringLiteral("report.pdf"));
    {
        QPdfWriter writer(pdf);
        applyPageLayout(writer, page.m_layout);
        QPainter painter(&writer);
        ReportLayout(page.m_layout, writer).paint(painter, *page.m_page);
    }
    return QProcess::execute(QStringLiteral("pdftoppm"),
                             {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"),
                              QStringLiteral("-singlefile"), pdf,
                              QDir(out).filePath(QStringLiteral("report-page"))});
}
