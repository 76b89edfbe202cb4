#include "gui/forecast/FormAvance.h"
#include "gui/platform/ReportListView.h"
#include "support/Tests.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QStandardPaths>

namespace {

// Today is 06/12/2026: Doliprane has expired, Zyrtec's date is impossible. Sorted by
// presentation, Aspirine's sachets come after the tablets.
const QStringList kStock = {
    compose_enreg(u"Aspirine", u"Orale", u"Sachet", u"12", u"01/01/2030", u"5", u"0"),
    medicine("Doliprane; \"forte\"", "01/01/2020", "3", "5", "1"),
    medicine("Zyrtec", "31/02/2027", "", "5"),
};

// "Exporter la liste affichée..." from the table's context menu, asked for by the menu key
// or a right click, then the save dialog answered with a file and its type.
void exportList(QTableView *view, const QString &path, const QString &type, bool menuKey)
{
    QTimer::singleShot(50, view, [=] {
        QMenu *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        whenModalOpens([=](QWidget *window) {
            auto *dialog = qobject_cast<QFileDialog *>(window);
            dialog->selectNameFilter(dialog->nameFilters().filter(type).value(0));
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(path);
            qobject_cast<QDialog *>(dialog)->accept();
        });
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    // The menu key reaches the focused table, a right click its viewport.
    QWidget *target = menuKey ? static_cast<QWidget *>(view) : view->viewport();
    QContextMenuEvent event(menuKey ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse, QPoint(10, 10),
                            target->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(target, &event);
}

// A workbook's sheet as openpyxl reads it: its name, frozen cell, filter, bold titles and
// widths, then each cell as "type:value".
QString readXlsx(const QString &path)
{
    QProcess python;
    python.start("/usr/bin/python3", {"-c", R"(
import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).active
print(ws.title, ws.freeze_panes, ws.auto_filter.ref, all(c.font.b for c in ws[1]),
      all(ws.column_dimensions[c].width > 4 for c in 'ABCDEF'[:ws.max_column]))
for row in ws.iter_rows():
    print('|'.join('' if c.value is None else type(c.value).__name__ + ':' + str(c.value) for c in row))
)",
                                      path});
    python.waitForFinished();
    return QString::fromUtf8(python.readAllStandardOutput() + python.readAllStandardError());
}

} // namespace

// Lists out to a spreadsheet, exactly as shown: read back by a real reader.
class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void listWindowAsShown();
    void forecastAsShown();
};

void TestExport::listWindowAsShown()
{
    if (!QFile::exists("/usr/bin/python3"))
        QSKIP("needs Debian's python3 and python3-openpyxl");
    StockFixture fx(kStock);
    QTest::mouseClick(fx.form->findChildren<QToolButton *>("tri").at(2), Qt::LeftButton); // by presentation
    const QString xlsx = fx.seams.directory.file("liste.xlsx"), csv = fx.seams.directory.file("liste.csv");
    exportList(fx.form->ListView1(), xlsx, "xlsx", true);
    QCOMPARE(readXlsx(xlsx),
             "Liste Complète A2 A1:F4 True True\n"
             "str:Médicaments|str:Voie d'administration|str:Présentation|str:Quantité|str:Date "
             "limite|str:Seuil critique\n"
             "str:Doliprane; \"forte\"|str:Orale|str:Comprimé|int:3|datetime:2020-01-01 00:00:00|int:5\n"
             "str:Zyrtec|str:Orale|str:Comprimé|||int:5\n"
             "str:Aspirine|str:Orale|str:Sachet|int:12|datetime:2030-01-01 00:00:00|int:5\n");
    fx.form->activateWindow();
    QTRY_VERIFY(fx.form->isActiveWindow());
    exportList(fx.form->ListView1(), csv, "csv", false);
    QVERIFY(fx.seams.messages.shown().isEmpty());
    QCOMPARE(
        fx.seams.directory.read("liste.csv"),
        "\xEF\xBB\xBF" +
            QString("Médicaments;Voie d'administration;Présentation;Quantité;Date limite;Seuil critique\r\n"
                    "\"Doliprane; \"\"forte\"\"\";Orale;Comprimé;3;01/01/2020;5\r\n"
                    "Zyrtec;Orale;Comprimé;;31/02/2027;5\r\n"
                    "Aspirine;Orale;Sachet;12;01/01/2030;5\r\n")
                .toUtf8());
}

void TestExport::forecastAsShown()
{
    if (!QFile::exists("/usr/bin/python3"))
        QSKIP("needs Debian's python3 and python3-openpyxl");
    TestSeams seams;
    seams.directory.write(kStockFileName, fileOf(kStock));
    FormAvance form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.filtre()->setFocus();
    QTest::keyClick(form.filtre(), Qt::Key_Down); // "1 mois"
    const QString xlsx = seams.directory.file("prévision.xlsx");
    exportList(form.ListView1(), xlsx, "xlsx", false);
    QCOMPARE(readXlsx(xlsx), "Périmés dans 1 mois A2 A1:B2 True True\n"
                             "str:Médicaments|str:Date limite\n"
                             "str:Doliprane; \"forte\"|datetime:2020-01-01 00:00:00\n");
}

VELLORIN_TEST(TestExport)
#include "tst_export.moc"
