#include "gui/editor/DateEntryCheck.h"
#include "gui/platform/MaskedDateBox.h"
#include "support/Tests.h"

#include <QAccessible>

namespace {

const QString kFormat = "Date invalide\r\nLa date doit avoir le format JJ/MM/AAAA\r\nExemple: 07/02/200";
const QString kHalf = "Date invalide\r\nLa date est incomplète !";

// The message for each refused text (the format's example ends with a digit of its own);
// empty: accepted without a word. Every year divisible by 4 is taken as a leap year, and
// only the upper bound of the day is tested: the stock treats those as no calendar date.
// clang-format off
const Case<QString, QString> kDates[] = {
    {"good date", "07/02/2001", ""}, {"nothing typed", "__/__/____", kFormat + "1"}, {"half typed", "07/02/20__", kHalf},
    {"one digit missing", "07/_2/2001", kHalf}, {"empty", "", "Date invalide\r\nAucune date saisie !"},
    {"dashes", "07-02-2001", kFormat + "1"}, {"too short for its slashes", "07/02", kFormat + "1"},
    {"31 April", "31/04/2001", kFormat + "2"}, {"30 April", "30/04/2001", ""}, {"29/02/2004", "29/02/2004", ""},
    {"29/02/2001", "29/02/2001", kFormat + "2"}, {"29/02/2100", "29/02/2100", ""}, {"day 00", "00/05/2020", ""},
    {"month 13", "07/13/2001", kFormat + "2"}, {"32 January", "32/01/2001", kFormat + "2"},
    {"31 August", "31/08/2001", ""}, {"31 December", "31/12/2001", ""}, {"31 November", "31/11/2001", kFormat + "2"},
    {"year 1799", "07/02/1799", kFormat + "3"}, {"year 1800", "01/01/1800", ""},
    // The year is tested before the day.
    {"31 April 1799", "31/04/1799", kFormat + "3"},
};
// clang-format on

// Sorted, as the program leaves the file. Today is 06/12/2026.
const QString kAspirine = composeRecord(u"Aspirine", u"Orale", u"Comprimé", u"12", u"05/03/2027", u"5", u"1");
const QString kDoliprane = composeRecord(u"Doliprane", u"Orale", u"Sachet", u"3", u"01/01/2026", u"10", u"0");
const QString kZinc = composeRecord(u"Zinc", u"Cutanée", u"Crème", u"", u"", u"", u"0");
const QStringList kStock = {kAspirine, kDoliprane, kZinc};
const QString kTabbed = composeRecord(u"Aspirine\tforte", u"Orale", u"", u"5", u"", u"", u"0");

QString focusName()
{
    QWidget *w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

QString text(QWidget *editor, const QString &name)
{
    if (auto *combo = field<QComboBox>(editor, name))
        return combo->currentText();
    if (auto *date = field<MaskedDateBox>(editor, name))
        return date->displayText().remove(u'_');
    return field(editor, name)->text();
}

// clang-format off
// Each mode as it opens: the fields (name, route, presentation, quantity, date, threshold),
// the check box, the focus.
const struct { const char *name; QString button, row; QStringList fields; bool checked, checkEnabled; QString focus; EditorMode mode; } kModes[] = {
    {"Ajout", "add", "", {"", "", "", "", "", ""}, false, true, "name", EditorMode::Add},
    {"Modif", "change", "Aspirine", {"Aspirine", "Orale", "Comprimé", "12", "05/03/2027", "5"}, true, true, "name", EditorMode::Change},
    {"MAJ", "newQuantity", "Aspirine", {"Aspirine", "Orale", "Comprimé", "12", "05/03/2027", "5"}, true, false, "quantity", EditorMode::Quantity},
    // Expired: renewed without a question.
    {"Renouveler", "renew", "Doliprane", {"Doliprane", "Orale", "Sachet", "3", "01/01/2026", "10"}, false, false, "expiry", EditorMode::Renew},
};

// Keys typed into a field of the editor opened on Aspirine (MAJ) or Doliprane: the field's
// text and the focus afterwards.
const struct { const char *name; QString button, field; QStringList keys; QString text, focus; } kKeys[] = {
    // Locked fields discard every key, Enter included.
    {"MAJ: name locked", "newQuantity", "name", {"xy", "Backspace", "Delete", "Paste:Ibu", "Enter"}, "Aspirine", "name"},
    {"MAJ: route locked", "newQuantity", "route", {"z", "Enter"}, "Orale", "route"},
    {"MAJ: quantity takes digits", "newQuantity", "quantity", {"a3b", "Enter"}, "3", "threshold"},
    {"Renouveler: name locked", "renew", "name", {"x", "Enter"}, "Doliprane", "name"},
    {"Renouveler: threshold open", "renew", "threshold", {"7"}, "7", "threshold"},
    {"Modif: any character in the name", "change", "name", {"End", " é ! "}, "Doliprane é ! ", "name"},
    {"Modif: 45 characters pasted", "change", "name", {"Paste:" + QString(45, u'N')}, QString(40, u'N'), "name"},
    {"Modif: a whole line pasted", "change", "name", {"End", "Paste: 500\r\n"}, "Doliprane 500", "name"},
    {"Modif: Enter moves on", "change", "name", {"Enter"}, "Doliprane", "route"},
    {"Modif: routes only from the list", "change", "route", {"x", "Backspace", "Paste:Nasale"}, "Orale", "route"},
    {"Modif: letters pasted into a number", "change", "quantity", {"Paste:4x"}, "3", "quantity"},
    {"Modif: Enter in the threshold", "change", "threshold", {"Enter"}, "10", "expiry"},
    // Locked fields take no text by any way; a combo box's entry comes from its open list only.
    {"MAJ: a dead key into the name", "newQuantity", "name", {"IME:ê"}, "Aspirine", "name"},
    {"MAJ: wheel and arrows over the route", "newQuantity", "route", {"Wheel", "Wheel", "Down", "Up", "End"}, "Orale", "route"},
    {"Modif: wheel and arrows over the presentation", "change", "presentation", {"Wheel", "Up", "PageDown", "Home"}, "Sachet", "presentation"},
    {"Modif: Home in the route moves the caret", "change", "route", {"End", "Home"}, "|Orale", "route"},
    {"MAJ: a pick from the open list", "newQuantity", "presentation", {"Alt+Down", "Pick:Sachet"}, "Sachet", "presentation"},
    {"Ajout: a date typed into its mask", "add", "expiry", {"07022001", "Tab"}, "07/02/2001", "save"},
};

// Ways to leave the date box of the editor (a key, or a control clicked through the window).
const Case<QStringList, QString> kLeaves[] = {
    {"Tab", {"31042001"}, "Tab"},
    {"click on the name", {"31042001"}, "name"},
    {"click on Annuler", {"31042001"}, "cancel"},
    {"untouched, Valider", {}, "save"},
    {"wheel over the route, then Valider", {"31042001"}, "Wheel:route|save"},
    {"half typed, Valider pressed by a screen reader", {"0702"}, "Press:save"},
};

// Saves, from a file that was or was not read-only: the steps are field=keys (| between
// keys) or "check"; then the file, and the message that refused the save, if any. A
// refused save keeps the editor open with what was typed, the focus back in the name.
const struct { const char *name; QStringList before; QString button, row; QStringList steps; bool readOnly; QStringList after; QString says; } kSaves[] = {
    // A new medicine goes to the end of the file, whatever its name.
    {"Ajout", kStock, "add", "", {"name=  Amoxicilline  ", "route=Alt+Down|Pick:Cutanée", "quantity=30", "expiry=15062028", "check"}, false,
     {kAspirine, kDoliprane, kZinc, composeRecord(u"Amoxicilline", u"Cutanée", u"", u"30", u"15/06/2028", u"", u"1")}, ""},
    // A change rewrites the file in the list's order, the changed line in its place.
    {"Modif of an unsorted file", {kZinc, kDoliprane, kAspirine}, "change", "Doliprane", {"name=Doliprane 500", "threshold=4"}, false,
     {kAspirine, composeRecord(u"Doliprane 500", u"Orale", u"Sachet", u"3", u"01/01/2026", u"4", u"0"), kZinc}, ""},
    // Only the quantity's columns change.
    {"MAJ", kStock, "newQuantity", "Aspirine", {"quantity=3"}, false, {QString(kAspirine).replace(80, 3, "3  "), kDoliprane, kZinc}, ""},
    {"Renouveler", kStock, "renew", "Doliprane", {"expiry=01012029", "quantity=20"}, false,
     {kAspirine, composeRecord(u"Doliprane", u"Orale", u"Sachet", u"20", u"01/01/2029", u"10", u"0"), kZinc}, ""},
    {"name of blanks only", kStock, "add", "", {"name=   ", "quantity=5"}, false, kStock, "Aucun nom de médicament saisi !"},
    {"read-only stock", kStock, "change", "Doliprane", {"name=Ventoline", "quantity=5"}, true, kStock, "lecture seule"},
    {"a character the file cannot hold", kStock, "add", "", {"name=Ventoline ≥ 2"}, false, kStock, "« ≥ »"},
    // A name that a hand-edited file brought with a tabulation cannot go back into a line.
    {"a tabulation from the file", {kTabbed}, "change", "Aspirine\tforte", {}, false, {kTabbed}, "« tabulation »"},
};
// clang-format on

} // namespace

class TestEditor : public QObject
{
    Q_OBJECT

private slots:
    void verifDate_data() { addRows(kDates); }
    void verifDate();
    void modesFillTheFields_data() { addRows(kModes); }
    void modesFillTheFields();
    void keyRules_data() { addRows(kKeys); }
    void keyRules();
    void refusedDateKeepsTheFocus_data() { addRows(kLeaves); }
    void refusedDateKeepsTheFocus();
    void saves_data() { addRows(kSaves); }
    void saves();
};

void TestEditor::verifDate()
{
    const auto &c = rowOf(kDates);
    TestSeams seams;
    QCOMPARE(checkTypedDate(c.in) == Check::Passed, c.out.isEmpty());
    QCOMPARE(seams.messages.shown().size(), c.out.isEmpty() ? 0 : 1);
    if (!c.out.isEmpty()) {
        QCOMPARE(seams.messages.last().text, c.out);
        QCOMPARE(boxOf(seams.messages.last()), "Erreur | information | OK");
    }
}

void TestEditor::modesFillTheFields()
{
    const auto &c = rowOf(kModes);
    StockFixture fx(kStock);
    if (!c.row.isEmpty())
        fx.chooseRow(c.row);
    QStringList shown;
    QVERIFY(fx.runEditor(c.button, [&](MedicineEditor *editor) {
        QCOMPARE(editor->mode(), c.mode);
        for (const char *name : {"name", "route", "presentation", "quantity", "expiry", "threshold"})
            shown << text(editor, QString::fromLatin1(name));
        auto *check = field<QCheckBox>(editor, "indispensable");
        QCOMPARE(check->isChecked(), c.checked);
        QCOMPARE(check->isEnabled(), c.checkEnabled);
        QTRY_COMPARE(focusName(), c.focus);
        // Entering the first field selects its whole text.
        QTRY_COMPARE(field(editor, c.focus)->selectedText(), field(editor, c.focus)->text());
    }));
    QCOMPARE(shown, c.fields);
    // Closing without saving writes nothing and forgets the chosen medicine.
    QCOMPARE(fx.stockBytes(), fileOf(kStock));
    QVERIFY(!fx.form->stock().hasCurrent());
}

void TestEditor::keyRules()
{
    const auto &c = rowOf(kKeys);
    StockFixture fx(kStock);
    if (c.button != QLatin1String("add"))
        fx.chooseRow(c.button == QLatin1String("newQuantity") ? "Aspirine" : "Doliprane");
    QString result;
    QString focusAfter;
    QVERIFY(fx.runEditor(c.button, [&](MedicineEditor *editor) {
        QWidget *w = editor->findChild<QWidget *>(c.field);
        w->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(w->hasFocus());
        QTest::qWait(1); // the selection made on entering
        press(w, c.keys);
        result = text(editor, c.field);
        // "|" in the expected text stands for the caret.
        if (auto *combo = qobject_cast<QComboBox *>(w); combo && c.text.contains(u'|'))
            result.insert(combo->lineEdit()->cursorPosition(), u'|');
        focusAfter = focusName();
    }));
    QCOMPARE(result, c.text);
    QCOMPARE(focusAfter, c.focus);
}

void TestEditor::refusedDateKeepsTheFocus()
{
    const auto &c = rowOf(kLeaves);
    StockFixture fx(kStock);
    fx.chooseRow("Zinc");
    bool stayedOpen = false;
    QStringList seen; // the focus, the text selected, the text shown
    QVERIFY(fx.runEditor(
        "change",
        [&](MedicineEditor *editor) {
            auto *expiry = field<MaskedDateBox>(editor, "expiry");
            clickThroughWindow(expiry);
            QTRY_VERIFY(expiry->hasFocus());
            press(expiry, c.in);
            for (const QString &leave : c.out.split(u'|')) {
                if (leave.startsWith(QLatin1String("Wheel:")))
                    press(editor->findChild<QWidget *>(leave.mid(6)), {"Wheel"});
                else if (leave.startsWith(QLatin1String("Press:"))) // the focus stays where it is
                    QAccessible::queryAccessibleInterface(editor->findChild<QWidget *>(leave.mid(6)))
                        ->actionInterface()
                        ->doAction(QAccessibleActionInterface::pressAction());
                else if (QWidget *control = editor->findChild<QWidget *>(leave))
                    clickThroughWindow(control);
                else
                    press(expiry, {leave});
            }
            QTest::qWait(20);
            seen << focusName() << expiry->selectedText() << expiry->displayText();
            // Once corrected, the date lets the focus go.
            expiry->selectAll();
            press(expiry, {"30042001", "Tab"});
            QTRY_COMPARE(focusName(), "save");
        },
        &stayedOpen));
    QVERIFY(stayedOpen);
    QCOMPARE(fx.seams.messages.shown().size(), 1);
    QVERIFY(fx.seams.messages.last().text.startsWith("Date invalide\r\n"));
    // The whole refused text selected, ready to be typed over.
    QCOMPARE(seen, (QStringList{"expiry", seen.value(2), seen.value(2)}));
    QCOMPARE(fx.stockBytes(), fileOf(kStock));
}

void TestEditor::saves()
{
    const auto &c = rowOf(kSaves);
    StockFixture fx(c.before);
    const QString path = fx.seams.directory.file(kStockFileName);
    if (c.readOnly)
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (!c.row.isEmpty())
        fx.chooseRow(c.row);
    bool stayedOpen = true;
    QStringList typed;
    QStringList kept;
    QVERIFY(fx.runEditor(
        c.button,
        [&](MedicineEditor *editor) {
            for (const QString &step : c.steps) {
                if (step == QLatin1String("check")) {
                    clickThroughWindow(field<QCheckBox>(editor, "indispensable"));
                    continue;
                }
                QWidget *w = editor->findChild<QWidget *>(step.section(u'=', 0, 0));
                clickThroughWindow(w);
                QTRY_VERIFY(w->hasFocus() || w->isAncestorOf(QApplication::focusWidget()));
                QTest::qWait(1);
                if (auto *edit = qobject_cast<QLineEdit *>(w))
                    edit->selectAll();
                press(w, step.section(u'=', 1).split(u'|'));
                typed << text(editor, w->objectName());
            }
            clickThroughWindow(field<QToolButton>(editor, "save"));
            if (!c.says.isEmpty()) {
                QTRY_COMPARE(focusName(), "name");
                for (const QString &step : c.steps)
                    kept << text(editor, step.section(u'=', 0, 0));
            }
        },
        &stayedOpen));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(fx.stockBytes(), fileOf(c.after));
    QCOMPARE(stayedOpen, !c.says.isEmpty());
    QCOMPARE(fx.seams.messages.shown().size(), c.says.isEmpty() ? 0 : 1);
    if (stayedOpen) {
        QVERIFY2(fx.seams.messages.last().text.contains(c.says), qPrintable(fx.seams.messages.last().text));
        QCOMPARE(kept, typed);
    } else {
        // The list shows the result; no medicine is chosen.
        QCOMPARE(fx.form->table()->model()->rowCount(), c.after.size());
        QVERIFY(!fx.form->stock().hasCurrent());
    }
}

VELLORIN_TEST(TestEditor)
#include "tst_editor.moc"
