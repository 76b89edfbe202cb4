#include "core/calendar/ExpiryCalendar.h"
#include "core/stock/StockRules.h"
#include "gui/forecast/ExpiryForecastWindow.h"
#include "gui/platform/ReportListView.h"
#include "gui/shell/MainWindow.h"
#include "support/FaultySystemCalls.h"
#include "support/Tests.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QTreeView>

#include <cerrno>

namespace {

// Today is 06/12/2026: Doliprane has expired, Zyrtec's date is impossible. Sorted by
// presentation, Aspirine's sachets come after the tablets.
const QStringList kStock = {
    composeRecord(u"Aspirine", u"Orale", u"Sachet", u"12", u"01/01/2030", u"5", u"0"),
    composeRecord(u"Doliprane \"forte\"", u"Orale; rectale", u"Comprimé", u"3", u"01/01/2020", u"5", u"1"),
    medicine("Zyrtec", "31/02/2027", "", "5"),
};

// How the table's context menu is asked for.
enum class MenuBy
{
    RightClick,
    MenuKey,
    ShiftF10
};

// "Exporter la liste affichée..." from the table's context menu, as a screen reader finds
// it, then the save dialog answered with a file and its type. `inDialog` looks at the
// dialog first.
void exportList(QTableView *view, const QString &path, const QString &type, MenuBy by,
                const std::function<void(QFileDialog *)> &inDialog = {})
{
    QTimer::singleShot(50, view, [=] {
        QMenu *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(menu);
        QCOMPARE(reader->role(), QAccessible::PopupMenu);
        QCOMPARE(reader->text(QAccessible::Name), "Liste affichée");
        QCOMPARE(reader->child(0)->text(QAccessible::Name), "Exporter la liste affichée...");
        // Opened from the keyboard, its entry has the focus, and is read out.
        QCOMPARE(reader->child(0)->state().focused, by != MenuBy::RightClick);
        whenModalOpens([=](QWidget *window) {
            auto *dialog = qobject_cast<QFileDialog *>(window);
            if (inDialog)
                inDialog(dialog);
            dialog->selectNameFilter(dialog->nameFilters().filter(type).value(0));
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(path);
            qobject_cast<QDialog *>(dialog)->accept();
        });
        QTest::keyClick(menu, by == MenuBy::RightClick ? Qt::Key_Down : Qt::Key_Space);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    if (by == MenuBy::ShiftF10) {
        view->setFocus();
        QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
        return;
    }
    // The menu key reaches the focused table, a right click its viewport.
    const bool key = by == MenuBy::MenuKey;
    QWidget *target = key ? static_cast<QWidget *>(view) : view->viewport();
    QContextMenuEvent event(key ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse, QPoint(10, 10),
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

// For the calendar: a second line of Aspirine's sachets, expiring the same day, indispensable;
// Vitamine without a date; a name of accented letters only, folded inside a letter if anywhere.
const QStringList kCalendarStock =
    kStock + QStringList{composeRecord(u"Aspirine", u"Orale", u"Sachet", u"4", u"01/01/2030", u"5", u"1"),
                         medicine("Vitamine", ""), medicine("ÉÈÊËÀÂÎÏÔÛÙÇéèêëàâîïôûùçÉÈÊËÀÂÎÏÔÛÙÇéèêë")};

// Each event as python3-icalendar reads it: UID, start, end, summary, then each alarm's
// action, trigger and whether it has a text.
QStringList readIcs(const QString &path)
{
    QProcess python;
    python.start("/usr/bin/python3", {"-c", R"(
import sys, icalendar
for e in icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read()).walk('VEVENT'):
    print(e['UID'], e.decoded('DTSTART'), e.decoded('DTEND'), e['SUMMARY'], sep=' | ', end=' | ')
    print(*[a['ACTION'] + ' ' + str(a.decoded('TRIGGER')) + ' ' + str(bool(a['DESCRIPTION'])) for a in e.walk('VALARM')])
)",
                                      path});
    python.waitForFinished();
    return QString::fromUtf8(python.readAllStandardOutput() + python.readAllStandardError())
        .split('\n', Qt::SkipEmptyParts);
}

// "Exporter vers l'agenda...": the lead time `offered` first, `lead` chosen, the file saved.
void exportCalendar(const std::function<void()> &open, const QString &offered, const QString &lead,
                    const QString &path)
{
    whenModalOpens([=](QWidget *window) {
        auto *leadTime = window->findChild<QComboBox *>("leadTime");
        QCOMPARE(leadTime->currentText(), offered);
        leadTime->setCurrentText(lead);
        whenModalOpens([=](QWidget *dialog) {
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(path);
            qobject_cast<QDialog *>(dialog)->accept();
        });
        QTest::keyClick(window->findChild<QPushButton *>("export"), Qt::Key_Return);
    });
    open();
}

} // namespace

// Lists out to a spreadsheet, exactly as shown: read back by a real reader.
class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void listWindowAsShown();
    void inTheUsersFolder();
    void calendarRemindersFollowTheForecast();
    void calendarReadBackAndReimported();
};

void TestExport::listWindowAsShown()
{
    if (!QFile::exists("/usr/bin/python3"))
        QSKIP("needs Debian's python3 and python3-openpyxl");
    StockFixture fx(kStock);
    QTest::mouseClick(fx.form->findChild<QToolButton *>("sortByPresentation"),
                      Qt::LeftButton); // by presentation
    const QString xlsx = fx.seams.directory.file("liste.xlsx"), csv = fx.seams.directory.file("liste.csv");
    exportList(fx.form->table(), xlsx, "xlsx", MenuBy::MenuKey);
    QCOMPARE(
        readXlsx(xlsx),
        "Liste Complète A2 A1:F4 True True\n"
        "str:Médicaments|str:Voie d'administration|str:Présentation|str:Quantité|str:Date "
        "limite|str:Seuil critique\n"
        "str:Doliprane \"forte\"|str:Orale; rectale|str:Comprimé|int:3|datetime:2020-01-01 00:00:00|int:5\n"
        "str:Zyrtec|str:Orale|str:Comprimé|||int:5\n"
        "str:Aspirine|str:Orale|str:Sachet|int:12|datetime:2030-01-01 00:00:00|int:5\n");
    fx.form->activateWindow();
    QTRY_VERIFY(fx.form->isActiveWindow());
    exportList(fx.form->table(), csv, "csv", MenuBy::RightClick);
    QVERIFY(fx.seams.messages.shown().isEmpty());
    QCOMPARE(
        fx.seams.directory.read("liste.csv"),
        "\xEF\xBB\xBF" +
            QString("Médicaments;Voie d'administration;Présentation;Quantité;Date limite;Seuil critique\r\n"
                    "\"Doliprane \"\"forte\"\"\";\"Orale; rectale\";Comprimé;3;01/01/2020;5\r\n"
                    "Zyrtec;Orale;Comprimé;;31/02/2027;5\r\n"
                    "Aspirine;Orale;Sachet;12;01/01/2030;5\r\n")
                .toUtf8());
}

// The save dialog in French, the list's whole name offered, and nothing left behind in the
// user's folder by an earlier export that stopped half-way.
void TestExport::inTheUsersFolder()
{
    StockFixture fx(kStock);
    fx.form->indispensableOnly()->setChecked(true);
    fx.form->filterBox()->setCurrentIndex(3);
    emit fx.form->filterBox()->activated(3);
    const TemporaryProgramDirectory folder;
    folder.write("Liste.csv.~Ab3dE9", "cut");
    folder.write("notes.txt.~Ab3dE9", "not an export's");
    folder.write("vieux.xlsx", QByteArray(2500, 'x'));
    QCOMPARE(QProcess::execute("touch", {"-d", "2026-12-06 23:48:13", folder.file("vieux.xlsx")}), 0);
    QString offered, listed;
    exportList(fx.form->table(), folder.file("liste.csv"), "csv", MenuBy::ShiftF10, [&](QFileDialog *dialog) {
        offered = dialog->findChild<QLineEdit *>("fileNameEdit")->text();
        dialog->setDirectory(folder.path());
        auto *files = dialog->findChild<QTreeView *>("treeView");
        const auto row = [&] {
            const QModelIndexList found = files->model()->match(
                files->model()->index(0, 0, files->rootIndex()), Qt::DisplayRole, "vieux.xlsx");
            return found.value(0);
        };
        QTRY_VERIFY(row().isValid());
        listed =
            row().siblingAtColumn(1).data().toString() + " | " + row().siblingAtColumn(3).data().toString();
    });
    QTRY_VERIFY(folder.exists("liste.csv"));
    QCOMPARE(offered, "Indispensables, liste Périmés et-ou Seuil critique 2026-12-06.xlsx");
    QCOMPARE(listed, "2,44 Kio | 06/12/2026 23:48");
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files, QDir::Name),
             QStringList({"liste.csv", "notes.txt.~Ab3dE9", "vieux.xlsx"}));
}

// The reminder falls on the first day the forecast at that horizon lists the medicine.
void TestExport::calendarRemindersFollowTheForecast()
{
    for (const QString &lead : StockRules::horizonNames()) {
        const ExpiryCalendar calendar = expiryCalendar(kCalendarStock, lead);
        QCOMPARE(calendar.events.size(), 2 * calendar.dated);
        const int before = int(calendar.events.at(1).day.daysTo(calendar.events.at(0).day));
        const int horizon = StockRules::horizonDays(lead);
        QVERIFY2(StockRules::withinHorizon(before, horizon) &&
                     !StockRules::withinHorizon(before + 1, horizon),
                 qPrintable(lead));
    }
    const QString aspirine = expiryCalendar(kCalendarStock, u"1 mois").events.at(1).description;
    QVERIFY2(aspirine.contains("Quantité en stock : 16,") && aspirine.contains("indispensable"),
             qPrintable(aspirine));
}

// From the forecast, then from the menu once a medicine is renewed: read back by an
// independent reader, the same medicine and date keep their UID, imported twice each event
// once.
void TestExport::calendarReadBackAndReimported()
{
    if (!QFile::exists("/usr/bin/python3"))
        QSKIP("needs Debian's python3 and python3-icalendar");
    StockFixture fx(kCalendarStock);
    const QString first = fx.seams.directory.file("agenda.ics"),
                  second = fx.seams.directory.file("agenda2.ics");
    whenModalOpens([&](QWidget *window) {
        auto *forecast = qobject_cast<ExpiryForecastWindow *>(window);
        forecast->horizonBox()->setFocus();
        QTest::keyClick(forecast->horizonBox(), Qt::Key_Down);
        QTest::keyClick(forecast->horizonBox(), Qt::Key_Down); // "2 mois", offered as the lead time
        QTimer::singleShot(50, forecast, [] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QCOMPARE(menu->actions().at(1)->text(), "Exporter vers l'agenda...");
            QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        exportCalendar([&] { QTest::keyClick(forecast->table(), Qt::Key_F10, Qt::ShiftModifier); }, "2 mois",
                       "3 mois", first);
        forecast->close();
    });
    fx.click("forecast");
    const QStringList events = readIcs(first);
    QCOMPARE(events.size(), 6);
    QCOMPARE(events.at(4).section(" | ", 3, 3),
             "Péremption : ÉÈÊËÀÂÎÏÔÛÙÇéèêëàâîïôûùçÉÈÊËÀÂÎÏÔÛÙÇéèêë (Orale, Comprimé)");
    QCOMPARE(events.at(0).section(" | ", 1),
             "2030-01-01 | 2030-01-02 | Péremption : Aspirine (Orale, Sachet) | DISPLAY 9:00:00 True");
    QCOMPARE(
        events.at(1).section(" | ", 1),
        "2029-10-01 | 2029-10-02 | Péremption dans 3 mois : Aspirine (Orale, Sachet) | DISPLAY 9:00:00 True");
    QCOMPARE(events.at(2).section(" | ", 3, 3),
             "Péremption : Doliprane \"forte\" (Orale; rectale, Comprimé)");
    QCOMPARE(
        fx.seams.messages.last().text.section("\r\n", 0, 2),
        "3 médicaments sont dans l'agenda « agenda.ics », chacun avec sa date de péremption et un rappel 3 "
        "mois avant.\r\n\r\n2 médicaments sans date du calendrier n'y sont pas.");
    const QByteArray bytes = fx.seams.directory.read("agenda.ics");
    for (const QByteArray &line : bytes.split('\n').mid(0, bytes.count('\n')))
        QVERIFY2(line.endsWith('\r') && line.size() <= 76 && QString::fromUtf8(line).toUtf8() == line,
                 line.constData()); // folded at 75 octets, between two characters, CR LF

    QStringList renewed = kCalendarStock;
    renewed[1] = composeRecord(u"Doliprane \"forte\"", u"Orale; rectale", u"Comprimé", u"3", u"01/01/2028",
                               u"5", u"1");
    fx.seams.directory.write(kStockFileName, fileOf(renewed));
    MainWindow main;
    exportCalendar([&] { main.findChild<QAction *>("calendarExport")->trigger(); }, "1 mois", "1 mois",
                   second.chopped(4)); // the extension added
    QStringList uids;
    for (const QString &event : readIcs(first) + readIcs(second) + readIcs(second))
        uids << event.section(" | ", 0, 0);
    uids.removeDuplicates();  // as a calendar takes them
    QCOMPARE(uids.size(), 8); // Doliprane's old two and new two, two each for the others

    FaultySystemCalls full;
    full.failAt("write", 1, ENOSPC);
    exportCalendar([&] { main.findChild<QAction *>("calendarExport")->trigger(); }, "1 mois", "1 mois",
                   fx.seams.directory.file("agenda3.ics"));
    QCOMPARE(boxOf(fx.seams.messages.last()), "Erreur | exclamation | OK");
    QVERIFY2(fx.seams.messages.last().text.contains("plus de place"),
             qPrintable(fx.seams.messages.last().text));
}

VELLORIN_TEST(TestExport)
#include "tst_export.moc"
