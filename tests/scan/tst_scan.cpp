#include "core/medicines/MedicinesCopy.h"
#include "core/scan/BoxCode.h"
#include "core/scan/ProductCodes.h"
#include "gui/listwindow/StockTableModel.h"
#include "gui/platform/ScanDetector.h"
#include "support/Tests.h"

#include <QMessageBox>
#include <QThread>

namespace {

const QString GS = QString(kGroupSeparator);
const QString kBox = "0103400930000014"; // AI 01: CIP 3400930000001, its check digit 4

// clang-format off
// A code as a scanner types it, and what is read: "GTIN|expiry|batch|serial", or what the
// refusal says.
const Case<QString, QString> kCodes[] = {
    {"prefix, separators, 01-17-10-21", "]d2" + kBox + "17271231" "10LOT7" + GS + "21ABC", "03400930000014|2027-12-31|LOT7|ABC"},
    {"01-21-17-10, day 00 of a leap February", kBox + "21XYZ" + GS + "17280200" "10LOT7", "03400930000014|2028-02-29|LOT7|XYZ"},
    {"no separator: the batch runs to the end", kBox + "17271231" "10LOT721ABC", "03400930000014|2027-12-31|LOT721ABC|"},
    {"no separator after a serial: no expiry left", kBox + "21XYZ" "17280200" "10LOT7", "pas de date de péremption (17) (lu : (01)03400930000014 (21)XYZ1728020010LOT7)"},
    {"50 years ahead", kBox + "17760101", "03400930000014|2076-01-01||"},
    {"51 years ahead: the last century", kBox + "17770101", "03400930000014|1977-01-01||"},
    {"impossible date", kBox + "17271341", "La date de péremption (17)271341 est impossible"},
    {"cut in the date", kBox + "172712", "le champ (17) n'a que 4 caractères sur 6"},
    {"no expiry", kBox + "10LOT7", "pas de date de péremption (17)"},
};

// Through the windows: the burst's keys at a scanner's pace (ms), the window's button or
// none for the list window itself, and what shows once Enter is pressed: "field=text"
// or "focus=field" or "says=message".
// After `stall` characters the program is held up (-1: never).
const struct { const char *name; QString button, code; int pace; QStringList after; int stall = -1; } kScans[] = {
    {"renewal", "renew", "]d2" + kBox + "17271231" "10L7" + GS + "21S", 4, {"expiry=31/12/2027", "focus=quantity", "name=Doliprane"}},
    {"change", "change", kBox + "17271231", 4, {"expiry=31/12/2027", "focus=name", "name=Doliprane"}},
    {"new quantity: no date to change", "newQuantity", kBox + "17271231", 4, {"expiry=01/01/2020", "says=Seule la quantité se change ici"}},
    {"wrong check digit", "change", "0103400930000015" "17271231", 4, {"expiry=01/01/2020", "says=fausse (5 au lieu de 4)", "name=Doliprane"}},
    {"held up mid-scan", "change", "]d2" + kBox + "17271231" "10L7", 4, {"expiry=31/12/2027", "focus=name", "name=Doliprane"}, 9},
    {"a scanner at its slowest", "change", kBox + "17271231", 30, {"expiry=31/12/2027", "focus=name", "name=Doliprane"}},
    {"a short fast burst is typing", "change", "0123", 4, {"name=0123", "focus=route"}},
    {"a fast typist", "change", kBox + "17271231", 45, {"name=" + kBox + "17271231", "focus=route"}},
    {"unknown in the list", "", kBox + "17271231", 4, {"says=Le code 03400930000014 n'est pas encore connu"}},
};
// clang-format on

// A scan while a box is up (`wrong`: first a box that cannot be read, in the editor
// `button` opens), or the shortest burst a scanner sends: a question or a message is
// answered by a person only.
const struct
{
    const char *name;
    QString row, button, wrong, burst = kBox + "17271231";
} kBoxesUp[] = {
    {"the deletion question", "Doliprane", "remove", ""},
    {"four keys at the deletion question", "Doliprane", "remove", "", "0103"},
    {"the renewal question", "Aspirine", "renew", ""},
    {"a bad code's message", "Doliprane", "change",
     "0103400930000015"
     "17271231"},
};

// Two lines of Doliprane: the box's date, the date of the line its code was saved from
// (as the codes file keeps it), and the line the list window chooses.
const struct
{
    const char *name;
    QString box, saved, chosen;
} kTwoLines[] = {
    {"the box's own date", "17290630", "01/01/2028", "30/06/2029"},
    {"a code saved before dates were kept", "17301231", "", "01/01/2028"},
};

// A box the program never saved, named by the public medicines database: the window's button
// (none: the list window), the questions' answers, and what shows. In "Ajout" the fields are
// filled, what a value list lacks added if the user agrees; in the list window, a medicine
// absent from the stock is offered for addition.
const struct
{
    const char *name;
    QString button, code;
    QList<MsgAnswer> answers;
    QStringList after;
} kFromDatabase[] = {
    {"Ajout",
     "add",
     kBox + "17271231",
     {},
     {"name=DOLIPRANE 1000 mg", "route=Orale", "presentation=Comprimé", "expiry=31/12/2027",
      "focus=quantity"}},
    {"Ajout, lists lacking",
     "add",
     "0103400930000045"
     "17271231",
     {MsgAnswer::Yes, MsgAnswer::No},
     {"name=VENTOLINE 100 microgrammes/dose", "route=Inhalée", "presentation=",
      "says=« Inhalée » n'est pas dans la liste des voies d'administration.\r\n\r\nL'y ajouter ?",
      "says=« Suspension pour inhalation » n'est pas dans la liste des présentations.\r\n\r\nL'y ajouter "
      "sous la forme « Suspension pour » (20 caractères au plus) ?"}},
    {"list window",
     "",
     kBox + "17271231",
     {MsgAnswer::Yes},
     {"says=DOLIPRANE 1000 mg, comprimé : absent du stock.\r\n\r\nL'ajouter au stock ?",
      "name=DOLIPRANE 1000 mg", "expiry=31/12/2027", "focus=quantity"}},
};

// What the stock holds: Doliprane expired, so that a list of what expired shows it;
// Aspirine expires tomorrow, its renewal asked first all the same.
const QStringList kStock = {medicine("Aspirine", "07/12/2026"), medicine("Doliprane", "01/01/2020")};

// A key as a device sends it, to the control that has the keyboard, stamped with the
// moment it was pressed by the window system's clock.
void sendKey(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, const QString &text, quint64 at,
             bool repeated = false)
{
    QKeyEvent event(type, key, modifiers, text, repeated);
    event.setTimestamp(at);
    if (QWidget *to =
            QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow())
        QApplication::sendEvent(to, &event);
}

// A scanner set up as a French (AZERTY) keyboard, a key every `pace` ms by the keys' own
// clock: digits and capitals with Shift, "]" with AltGr, the separator as Ctrl+], then
// Enter, before which a burst at a scanner's pace has changed nothing. After `stallAfter`
// characters the program is held up for 150 ms, and the scanner's next keys reach it late.
void scan(const QString &code, int pace, int stallAfter = -1)
{
    static quint64 time = 1'000'000;
    time += 10'000; // a pause since the last one
    const auto click = [&](int key, Qt::KeyboardModifier modifier, int modifierKey, const QString &text) {
        time += pace;
        for (const bool press : {true, false}) {
            if (press && modifierKey)
                sendKey(QEvent::KeyPress, modifierKey, modifier, {}, time - 1);
            sendKey(press ? QEvent::KeyPress : QEvent::KeyRelease, key, modifier, text, time + !press);
            if (!press && modifierKey)
                sendKey(QEvent::KeyRelease, modifierKey, {}, {}, time + 1);
        }
    };
    const auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    const QString before = edit ? edit->text() : QString();
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (i == stallAfter) {
            QThread::msleep(150);
            QCoreApplication::processEvents();
        }
        if (c == kGroupSeparator || c == u']')
            click(Qt::Key_BracketRight, c == u']' ? Qt::GroupSwitchModifier : Qt::ControlModifier,
                  c == u']' ? Qt::Key_AltGr : Qt::Key_Control, QString(c));
        else
            click(c.toUpper().unicode(), c.isLower() ? Qt::NoModifier : Qt::ShiftModifier,
                  c.isLower() ? 0 : Qt::Key_Shift, QString(c));
    }
    if (edit && pace < 30 && QApplication::focusWidget() == edit)
        QCOMPARE(edit->text(), before);
    click(Qt::Key_Return, Qt::NoModifier, 0, QStringLiteral("\r"));
}

// A line of the codes file: Doliprane's box, saved from the line dated `expiry`.
QByteArray codesLine(const QString &expiry)
{
    return cp1252("03400930000014Doliprane" + QString(31, ' ') + "Orale" + QString(15, ' ') + "Comprimé" +
                  QString(12, ' ') + expiry + "\r\n");
}

void verifyAfter(QWidget *window, TestSeams &seams, const QStringList &after)
{
    for (const QString &expected : after) {
        const QString what = expected.section('=', 0, 0), value = expected.section('=', 1);
        if (what == "focus")
            QCOMPARE(QApplication::focusWidget()->objectName(), value);
        else if (what == "says")
            QVERIFY2(std::any_of(seams.messages.shown().begin(), seams.messages.shown().end(),
                                 [&](const MessageRequest &m) { return m.text.contains(value); }),
                     qPrintable(value));
        else if (auto *combo = field<QComboBox>(window, what))
            QCOMPARE(combo->currentText(), value);
        else
            QCOMPARE(field(window, what)->text(), value);
    }
    if (!after.join('\n').contains("says="))
        QVERIFY(seams.messages.shown().isEmpty());
}

} // namespace

// A box's DataMatrix code read by the GS1 rules, then scanned into the windows.
class TestScan : public QObject
{
    Q_OBJECT

private slots:
    void readsCodes_data() { addRows(kCodes); }
    void readsCodes();
    void scans_data() { addRows(kScans); }
    void scans();
    void aScanRemembersItsMedicine();
    void twoLines_data() { addRows(kTwoLines); }
    void twoLines();
    void boxesUp_data() { addRows(kBoxesUp); }
    void boxesUp();
    void aKeyHeldDownInADialog();
    void boxesTheDatabaseKnows_data() { addRows(kFromDatabase); }
    void boxesTheDatabaseKnows();
};

void TestScan::readsCodes()
{
    const auto &[name, text, read] = rowOf(kCodes);
    const BoxCodeReading reading = readBoxCode(text, QDate(2026, 12, 6));
    if (reading.code)
        QCOMPARE(QStringList({reading.code->gtin, reading.code->expiry.toString(Qt::ISODate),
                              reading.code->batch, reading.code->serial})
                     .join('|'),
                 read);
    else
        QVERIFY2(reading.problem.contains(read), qPrintable(reading.problem));
    // Every start of a code read is taken for the start of a scan.
    for (qsizetype n = 0; reading.code && text.startsWith("]d20") && n <= text.size(); ++n)
        QVERIFY(mayStartBoxCode(text.left(n)));
}

void TestScan::scans()
{
    const auto &c = rowOf(kScans);
    StockFixture fx(kStock);
    fx.chooseRow("Doliprane");
    if (c.button.isEmpty()) {
        fx.form->table()->setFocus();
        scan(c.code, c.pace);
        verifyAfter(fx.form.get(), fx.seams, c.after);
        return;
    }
    QVERIFY(fx.runEditor(c.button, [&](MedicineEditor *editor) {
        scan(c.code, c.pace, c.stall);
        verifyAfter(editor, fx.seams, c.after);
    }));
    QVERIFY(!fx.seams.directory.exists(kCodesFileName)); // nothing saved, nothing remembered
}

// Renewed from a scan, a medicine is known by its code: the list window finds it, even
// hidden by the list shown, and a new one is filled from it.
void TestScan::aScanRemembersItsMedicine()
{
    StockFixture fx(kStock);
    const QString code = kBox + "17271231"
                                "10LOT7";
    fx.chooseRow("Doliprane");
    QVERIFY(fx.runEditor("renew", [&](MedicineEditor *editor) {
        scan(code, 4);
        QTest::keyClicks(QApplication::focusWidget(), "7");
        QTest::mouseClick(editor->findChild<QToolButton *>("save"), Qt::LeftButton);
    }));
    QCOMPARE(fx.seams.directory.read(kCodesFileName), codesLine("31/12/2027"));

    fx.form->activateWindow();
    QTRY_VERIFY(fx.form->isActiveWindow());
    fx.chooseRow("Aspirine");
    fx.form->filterBox()->setCurrentIndex(1); // "Périmés": the renewed Doliprane is not in it
    emit fx.form->filterBox()->activated(1);
    fx.form->indispensableOnly()->click(); // nor among the indispensable ones
    fx.form->table()->setFocus();
    scan(code, 4);
    QCOMPARE(fx.form->filterBox()->currentText(), "Complète");
    QVERIFY(!fx.form->indispensableOnly()->isChecked());
    QCOMPARE(fx.form->stock().currentLine().left(9), "Doliprane");

    QVERIFY(fx.runEditor("add", [&](MedicineEditor *editor) {
        scan(code, 4);
        verifyAfter(editor, fx.seams, {"name=Doliprane", "expiry=31/12/2027", "focus=quantity"});
        QCOMPARE(field<QComboBox>(editor, "presentation")->currentText(), "Comprimé");
    }));
    // Saved again under another name, the code answers the new one.
    QString error;
    QVERIFY(rememberMedicine("03400930000014", {"Dafalgan", "Orale", "Comprimé", ""}, &error));
    QCOMPARE(knownMedicine("03400930000014", &error)->name, "Dafalgan");
}

void TestScan::twoLines()
{
    const auto &c = rowOf(kTwoLines);
    StockFixture fx(
        {medicine("Doliprane", "01/01/2028"), medicine("Aspirine"), medicine("Doliprane", "30/06/2029")});
    fx.seams.directory.write(kCodesFileName, codesLine(c.saved));
    fx.chooseRow("Aspirine");
    fx.form->table()->setFocus();
    scan(kBox + c.box, 4);
    QCOMPARE(fx.form->stock().currentLine(), medicine("Doliprane", c.chosen));
}

void TestScan::boxesUp()
{
    const auto &c = rowOf(kBoxesUp);
    StockFixture fx(kStock);
    fx.chooseRow(c.row);
    const QByteArray stock = fx.stockBytes();
    Platform::setMessageBoxes(nullptr); // the boxes shown for real
    bool stayedUp = false;
    const auto scanIntoTheBox = [&](QWidget *window) {
        auto *box = qobject_cast<QMessageBox *>(window);
        QTRY_VERIFY(box->isActiveWindow());
        scan(c.burst, 4);
        QTest::qWait(2 * ScanDetector::kHoldMs);
        stayedUp = box->isVisible();
        QAbstractButton *answer =
            box->button(QMessageBox::No) ? box->button(QMessageBox::No) : box->button(QMessageBox::Ok);
        QTest::mouseClick(answer, Qt::LeftButton);
    };
    if (c.wrong.isEmpty()) {
        whenModalOpens(scanIntoTheBox);
        fx.click(c.button);
    } else {
        QVERIFY(fx.runEditor(c.button, [&](MedicineEditor *editor) {
            whenModalOpens(scanIntoTheBox);
            scan(c.wrong, 4);
            QCOMPARE(field(editor, "expiry")->text(), "01/01/2020");
        }));
    }
    Platform::setMessageBoxes(&fx.seams.messages);
    QVERIFY(stayedUp);
    QCOMPARE(fx.stockBytes(), stock);
}

// A key held down repeats as fast as a scanner types; it is typing all the same.
void TestScan::aKeyHeldDownInADialog()
{
    QLineEdit dialogField;
    dialogField.show();
    dialogField.activateWindow();
    QTRY_VERIFY(dialogField.hasFocus());
    for (int n = 0; n < 8; ++n)
        sendKey(QEvent::KeyPress, Qt::Key_X, {}, "x", 5'000'000 + quint64(n) * 25, n > 0);
    QTRY_COMPARE(dialogField.text(), "xxxxxxxx");
}

void TestScan::boxesTheDatabaseKnows()
{
    const auto &c = rowOf(kFromDatabase);
    StockFixture fx(kStock);
    QString error;
    QVERIFY2(MedicinesCopy::importFolder(VELLORIN_TEST_DATA "/bdpm", &error), qPrintable(error));
    for (const MsgAnswer answer : c.answers)
        fx.seams.messages.queue(answer);
    bool looked = false;
    whenModalOpens([&](QWidget *window) {
        auto *editor = qobject_cast<MedicineEditor *>(window);
        QTRY_VERIFY(editor->isActiveWindow());
        if (!c.button.isEmpty())
            scan(c.code, 4);
        QTRY_VERIFY(!field(editor, "name")->text().isEmpty());
        verifyAfter(editor, fx.seams, c.after);
        looked = true;
        editor->close();
    });
    fx.form->table()->setFocus();
    c.button.isEmpty() ? scan(c.code, 4) : fx.click(c.button);
    QTRY_VERIFY(looked);
    // Added to the routes' list when the user agreed.
    QCOMPARE(fx.seams.directory.read(kRoutesFileName).endsWith(cp1252("Inhalée\r\n")), c.answers.size() == 2);
}

VELLORIN_TEST(TestScan)
#include "tst_scan.moc"
