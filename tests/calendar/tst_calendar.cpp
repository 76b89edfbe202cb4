#include "core/calendar/ExpiryCalendar.h"
#include "core/stock/StockRules.h"
#include "gui/forecast/ExpiryForecastWindow.h"
#include "gui/shell/MainWindow.h"
#include "support/Tests.h"

#include <QFileDialog>
#include <QMenu>

namespace {

// Today is 06/12/2026. Two lines of Paracétamol's sachets expire the same day; Vitamine has
// no date and Zyrtec one that is not on the calendar.
const QStringList kStock = {
    composeRecord(u"Paracétamol 1 g", u"Orale", u"Sachet", u"3", u"15/03/2027", u"2", u"1"),
    medicine("Vitamine", ""),
    composeRecord(u"Paracétamol 1 g", u"Orale", u"Sachet", u"4", u"15/03/2027", u"2", u"0"),
    medicine("Zyrtec", "31/02/2027"),
    composeRecord(u"Éther", u"", u"", u"", u"01/01/2001", u"", u"0"),
};

// Each event of an iCalendar file as python3-icalendar reads it: start, end, summary, and
// its alarms' action, trigger and whether they have a text; then its UID.
QStringList readIcs(const QString &path)
{
    QProcess python;
    python.start("/usr/bin/python3", {"-c", R"(
import sys, icalendar
cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())
for e in cal.walk('VEVENT'):
    alarms = [a['ACTION'] + ' ' + str(a.decoded('TRIGGER')) + ' ' + str(bool(a.get('DESCRIPTION')))
              for a in e.walk('VALARM')]
    print(e.decoded('DTSTART'), e.decoded('DTEND'), e['SUMMARY'], '|', *alarms, '|', e['UID'])
)",
                                      path});
    python.waitForFinished();
    return QString::fromUtf8(python.readAllStandardOutput() + python.readAllStandardError())
        .split('\n', Qt::SkipEmptyParts);
}

// "Exporter vers l'agenda...", the lead time checked and changed, then the save dialog.
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

QStringList uids(const QStringList &events)
{
    QStringList all;
    for (const QString &event : events)
        all << event.section(" | ", -1);
    return all;
}

} // namespace

// The expiry dates in the doctor's calendar, read back by an independent reader.
class TestCalendar : public QObject
{
    Q_OBJECT

private slots:
    void remindersFollowTheForecast();
    void fromForecastAndMenu();
};

// The reminder falls on the first day the forecast at that horizon lists the medicine.
void TestCalendar::remindersFollowTheForecast()
{
    const TestSeams seams;
    for (const QString &lead : StockRules::horizonNames()) {
        const ExpiryCalendar calendar = expiryCalendar(kStock, lead);
        QCOMPARE(calendar.dated, 3);
        QCOMPARE(calendar.undated, 2);
        QCOMPARE(calendar.events.size(), 4);
        const QDate reminder = calendar.events.at(1).day;
        const auto listed = [&](QDate day) {
            return StockRules::withinHorizon(day.daysTo(QDate(2027, 3, 15)), StockRules::horizonDays(lead));
        };
        QVERIFY2(listed(reminder) && !listed(reminder.addDays(-1)), qPrintable(lead));
    }
    const CalendarEvent paracetamol = expiryCalendar(kStock, u"1 mois").events.first();
    QCOMPARE(paracetamol.summary, "Péremption : Paracétamol 1 g (Orale, Sachet)");
    QVERIFY(paracetamol.description.contains("Quantité en stock : 7"));
    QVERIFY(paracetamol.description.contains("indispensable"));
}

void TestCalendar::fromForecastAndMenu()
{
    if (!QFile::exists("/usr/bin/python3"))
        QSKIP("needs Debian's python3 and python3-icalendar");
    StockFixture fx(kStock);
    const QString first = fx.seams.directory.file("agenda.ics");
    whenModalOpens([&](QWidget *window) {
        auto *forecast = qobject_cast<ExpiryForecastWindow *>(window);
        forecast->horizonBox()->setFocus();
        QTest::keyClick(forecast->horizonBox(), Qt::Key_Down);
        QTest::keyClick(forecast->horizonBox(), Qt::Key_Down); // "2 mois", offered as the lead time
        QTimer::singleShot(50, forecast, [] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QCOMPARE(menu->actions().at(1)->text(), "Exporter vers l'agenda...");
            menu->actions().at(1)->trigger();
            menu->close();
        });
        exportCalendar([&] { QTest::keyClick(forecast->table(), Qt::Key_F10, Qt::ShiftModifier); }, "2 mois",
                       "3 mois", first);
        forecast->close();
    });
    fx.click("forecast");
    QTRY_VERIFY(fx.seams.directory.exists("agenda.ics"));
    const QStringList events = readIcs(first);
    QCOMPARE(events.size(), 4);
    QCOMPARE(events.at(0).section(" | ", 0, 1),
             "2027-03-15 2027-03-16 Péremption : Paracétamol 1 g (Orale, Sachet) | DISPLAY 9:00:00 True");
    QCOMPARE(
        events.at(1).section(" | ", 0, 1),
        "2026-12-13 2026-12-14 Péremption dans 3 mois : Paracétamol 1 g (Orale, Sachet) | DISPLAY 9:00:00 "
        "True");
    QCOMPARE(events.at(2).section(" | ", 0, 0), "2001-01-01 2001-01-02 Péremption : Éther");
    QVERIFY(fx.seams.messages.last().text.contains("3 médicaments sont dans l'agenda « agenda.ics »"));
    QVERIFY(fx.seams.messages.last().text.contains("2 médicaments sans date du calendrier n'y sont pas."));
    const QByteArray bytes = fx.seams.directory.read("agenda.ics");
    for (const QByteArray &line : bytes.split('\n').mid(0, bytes.count('\n')))
        QVERIFY2(line.endsWith('\r') && line.size() <= 76, line.constData()); // folded at 75 octets, CR LF

    // Éther renewed: the next export, from the menu, keeps the other events' UIDs and drops
    // its old date; imported over the first, each event once.
    QStringList renewed = kStock;
    renewed[4] = composeRecord(u"Éther", u"", u"", u"", u"01/01/2028", u"", u"0");
    fx.seams.directory.write("Pharmacie.dat", fileOf(renewed));
    MainWindow main;
    const QString second = fx.seams.directory.file("agenda2.ics");
    exportCalendar([&] { main.findChild<QAction *>("calendarExport")->trigger(); }, "1 mois", "1 mois",
                   second);
    const QStringList again = uids(readIcs(second));
    QCOMPARE(again.mid(0, 2), uids(events).mid(0, 2));
    QVERIFY(!again.contains(uids(events).at(2)));
    QCOMPARE(QSet<QString>(again.begin(), again.end()).size(), 4);
}

VELLORIN_TEST(TestCalendar)
#include "tst_calendar.moc"
