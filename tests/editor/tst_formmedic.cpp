#include "core/store/StockFile.h"
#include "gui/platform/MaskedDateBox.h"
#include "gui/platform/ReportListView.h"
#include "support/StockFixture.h"
#include "support/TestMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QTest>

namespace {

// Sorted, as the program leaves the file. Today is 06/12/2026.
const QString kAspirine = compose_enreg(u"Aspirine", u"Orale", u"Comprimé", u"12", u"05/03/2027", u"5", u"1");
const QString kDoliprane = compose_enreg(u"Doliprane", u"Orale", u"Sachet", u"3", u"01/01/2026", u"10", u"0");
const QString kZinc = compose_enreg(u"Zinc", u"Cutanée", u"Crème", u"", u"", u"", u"0");
const QStringList kStock = {kAspirine, kDoliprane, kZinc};

QString focusName()
{
    QWidget *w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

// Keys as a small script: "Enter", "Tab", "Backtab", "Backspace", "End", "Home", "Down",
// "Paste:<text>", anything else is typed as it stands.
void press(QWidget *w, const QStringList &keys)
{
    for (const QString &k : keys) {
        if (k == QLatin1String("Enter"))
            QTest::keyClick(w, Qt::Key_Return);
        else if (k == QLatin1String("Tab"))
            QTest::keyClick(w, Qt::Key_Tab);
        else if (k == QLatin1String("Backtab"))
            QTest::keyClick(w, Qt::Key_Backtab, Qt::ShiftModifier);
        else if (k == QLatin1String("Backspace"))
            QTest::keyClick(w, Qt::Key_Backspace);
        else if (k == QLatin1String("Delete"))
            QTest::keyClick(w, Qt::Key_Delete);
        else if (k == QLatin1String("End"))
            QTest::keyClick(w, Qt::Key_End);
        else if (k == QLatin1String("Down"))
            QTest::keyClick(w, Qt::Key_Down);
        else if (k.startsWith(QLatin1String("Paste:"))) {
            QGuiApplication::clipboard()->setText(k.mid(6));
            QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
        } else
            typeText(w, k);
    }
}

QString text(QWidget *editor, const QString &name)
{
    if (auto *combo = field<QComboBox>(editor, name))
        return combo->currentText();
    if (auto *date = field<MaskedDateBox>(editor, name))
        return date->displayText();
    return field(editor, name)->text();
}

} // namespace

class TestFormMedic : public QObject
{
    Q_OBJECT

private slots:
    void modesFillTheFields_data();
    void modesFillTheFields();
    void keyRules_data();
    void keyRules();
    void dateBoxMaskComesAndGoes();
    void refusedDateKeepsTheFocus_data();
    void refusedDateKeepsTheFocus();
    void saves_data();
    void saves();
    void refusedSaveKeepsTheEditor_data();
    void refusedSaveKeepsTheEditor();
    void controlCharacterFromTheFileIsRefused();
};

void TestFormMedic::modesFillTheFields_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QStringList>("fields"); // nom, route, presentation, quantity, date, threshold
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("checkEnabled");
    QTest::addColumn<QString>("focus");
    const QStringList aspirine = {"Aspirine", "Orale", "Comprimé", "12", "05/03/2027", "5"};
    QTest::newRow("Ajout") << "ajout"
                           << "" << QStringList{"", "", "", "", "", ""} << false << true << "nom";
    QTest::newRow("Modif") << "Modifier"
                           << "Aspirine" << aspirine << true << true << "nom";
    QTest::newRow("MAJ") << "majqte"
                         << "Aspirine" << aspirine << true << false << "qte";
    // Expired: renewed without a question; the date box has the focus, masked.
    QTest::newRow("Renouveler") << "renouveler"
                                << "Doliprane"
                                << QStringList{"Doliprane", "Orale", "Sachet", "3", "01/01/2026", "10"}
                                << false << false << "dat";
}

void TestFormMedic::modesFillTheFields()
{
    QFETCH(QString, button);
    QFETCH(QString, row);
    QFETCH(QStringList, fields);
    QFETCH(bool, checked);
    QFETCH(bool, checkEnabled);
    QFETCH(QString, focus);
    StockFixture fx(kStock);
    if (!row.isEmpty())
        fx.chooseRow(row);
    QStringList shown;
    EditorMode mode = EditorMode::None;
    QStringList routes;
    QString selected;
    QVERIFY(fx.runEditor(button, [&](FormMedic *editor) {
        QCOMPARE(editor->windowTitle(), QStringLiteral("Description du médicament"));
        mode = editor->mode();
        for (const char *name : {"nom", "formemedic", "typemedic", "qte", "dat", "critique"})
            shown << text(editor, QString::fromLatin1(name));
        auto *check = field<QCheckBox>(editor, QStringLiteral("indispensable"));
        QCOMPARE(check->isChecked(), checked);
        QCOMPARE(check->isEnabled(), checkEnabled);
        QTRY_COMPARE(focusName(), focus);
        auto *route = field<QComboBox>(editor, QStringLiteral("formemedic"));
        for (int i = 0; i < route->count(); ++i)
            routes << route->itemText(i);
        // Entering the first field selects its whole text.
        if (!fields.first().isEmpty())
            QTRY_VERIFY(!field(editor, focus)->selectedText().isEmpty());
        selected = field(editor, focus)->selectedText();
    }));
    QCOMPARE(shown, fields);
    QCOMPARE(routes, (QStringList{"Orale", "Cutanée", "Rectale"})); // the file's order
    QCOMPARE(selected, focus == QLatin1String("qte")   ? fields.at(3)
                       : focus == QLatin1String("dat") ? fields.at(4)
                                                       : fields.at(0));
    QCOMPARE(mode, button == QLatin1String("ajout")      ? EditorMode::Add
                   : button == QLatin1String("Modifier") ? EditorMode::Change
                   : button == QLatin1String("majqte")   ? EditorMode::Quantity
                                                         : EditorMode::Renew);
    // Closing without saving writes nothing and forgets the chosen medicine.
    QCOMPARE(fx.stockBytes(), StockFixture::bytesOf(kStock));
    QVERIFY(!fx.form->List1().hasCurrent());
}

void TestFormMedic::keyRules_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("focus"); // where the focus is afterwards
    // Locked fields discard every key, Enter included.
    QTest::newRow("MAJ: name locked")
        << "majqte"
        << "nom" << QStringList{"xy", "Backspace", "Delete", "Enter"} << "Aspirine"
        << "nom";
    QTest::newRow("MAJ: paste into the name") << "majqte"
                                              << "nom" << QStringList{"Paste:Ibuprofène"} << "Aspirine"
                                              << "nom";
    QTest::newRow("MAJ: route locked") << "majqte"
                                       << "formemedic" << QStringList{"z", "Enter"} << "Orale"
                                       << "formemedic";
    QTest::newRow("MAJ: threshold locked") << "majqte"
                                           << "critique" << QStringList{"7", "Enter"} << "5"
                                           << "critique";
    QTest::newRow("MAJ: date locked") << "majqte"
                                      << "dat" << QStringList{"1", "Backspace"} << "05/03/2027"
                                      << "dat";
    QTest::newRow("MAJ: quantity takes digits") << "majqte"
                                                << "qte" << QStringList{"a3b", "Enter"} << "3"
                                                << "critique";
    QTest::newRow("Renouveler: name locked") << "renouveler"
                                             << "nom" << QStringList{"x", "Enter"} << "Doliprane"
                                             << "nom";
    QTest::newRow("Renouveler: threshold open") << "renouveler"
                                                << "critique" << QStringList{"7"} << "7"
                                                << "critique";
    QTest::newRow("Modif: any character in the name")
        << "Modifier"
        << "nom" << QStringList{"End", " é ! "} << "Doliprane é ! "
        << "nom";
    QTest::newRow("Modif: a 45-character name pasted")
        << "Modifier"
        << "nom" << QStringList{QStringLiteral("Paste:") + QString(45, u'N')} << QString(40, u'N') << "nom";
    QTest::newRow("Modif: a whole line pasted")
        << "Modifier"
        << "nom" << QStringList{"End", "Paste: 500\r\n"} << "Doliprane 500"
        << "nom";
    QTest::newRow("Modif: a tabulation pasted") << "Modifier"
                                                << "nom" << QStringList{"End", "Paste: \t500"} << "Doliprane"
                                                << "nom";
    QTest::newRow("Modif: a whole line pasted into a number")
        << "Modifier"
        << "critique" << QStringList{"Paste:45\n"} << "45"
        << "critique";
    QTest::newRow("Modif: Enter moves on") << "Modifier"
                                           << "nom" << QStringList{"Enter"} << "Doliprane"
                                           << "formemedic";
    QTest::newRow("Modif: routes only from the list")
        << "Modifier"
        << "formemedic" << QStringList{"x", "Backspace", "Delete", "Paste:Nasale"} << "Orale"
        << "formemedic";
    QTest::newRow("Modif: the list's next entry") << "Modifier"
                                                  << "typemedic" << QStringList{"Down"} << "Comprimé"
                                                  << "typemedic";
    QTest::newRow("Modif: quantity backspace") << "Modifier"
                                               << "qte" << QStringList{"End", "Backspace"} << ""
                                               << "qte";
    QTest::newRow("Modif: letters pasted into a number") << "Modifier"
                                                         << "qte" << QStringList{"Paste:4x"} << "3"
                                                         << "qte";
    QTest::newRow("Modif: digits pasted into a number") << "Modifier"
                                                        << "critique" << QStringList{"Paste:45"} << "45"
                                                        << "critique";
    QTest::newRow("Modif: Enter in the threshold goes to the date")
        << "Modifier"
        << "critique" << QStringList{"Enter"} << "10"
        << "dat";
}

void TestFormMedic::keyRules()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QStringList, keys);
    QFETCH(QString, text);
    QFETCH(QString, focus);
    StockFixture fx(kStock);
    fx.chooseRow(button == QLatin1String("majqte") ? QStringLiteral("Aspirine")
                                                   : QStringLiteral("Doliprane"));
    QString result;
    QString focusAfter;
    QVERIFY(fx.runEditor(button, [&](FormMedic *editor) {
        QWidget *w = editor->findChild<QWidget *>(field);
        w->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(w->hasFocus());
        QTest::qWait(1); // the selection made on entering
        if (field == QLatin1String("qte") || field == QLatin1String("critique")) {
            // Typing replaces the selected text.
        }
        press(w, keys);
        result = ::text(editor, field);
        focusAfter = focusName();
    }));
    if (field == QLatin1String("dat"))
        result = result.remove(QLatin1Char('_'));
    QCOMPARE(result, text);
    QCOMPARE(focusAfter, focus);
}

void TestFormMedic::dateBoxMaskComesAndGoes()
{
    StockFixture fx(kStock);
    QString entering;
    QString typed;
    QString plain;
    QString focusAfter;
    QVERIFY(fx.runEditor(QStringLiteral("ajout"), [&](FormMedic *editor) {
        auto *dat = field<MaskedDateBox>(editor, QStringLiteral("dat"));
        QWidget *critique = field(editor, QStringLiteral("critique"));
        critique->setFocus(Qt::TabFocusReason);
        QTest::keyClick(critique, Qt::Key_Tab);
        QTRY_VERIFY(dat->hasFocus());
        entering = dat->displayText();
        press(dat, {"07022001"});
        typed = dat->displayText();
        QTest::keyClick(dat, Qt::Key_Tab);
        plain = dat->text() + (dat->hasMask() ? QStringLiteral(" (masked)") : QString());
        focusAfter = focusName();
    }));
    QCOMPARE(entering, QStringLiteral("__/__/____"));
    QCOMPARE(typed, QStringLiteral("07/02/2001"));
    QCOMPARE(plain, QStringLiteral("07/02/2001"));
    QCOMPARE(focusAfter, QStringLiteral("valider"));
}

void TestFormMedic::refusedDateKeepsTheFocus_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("leave"); // a key, or a control clicked through the window
    QTest::addColumn<QString>("message");
    const QString impossible = QStringLiteral("Date invalide\r\nLa date doit avoir le format JJ/MM/AAAA\r\n"
                                              "Exemple: 07/02/2002");
    QTest::newRow("Tab") << QStringList{"31042001"} << "Tab" << impossible;
    QTest::newRow("Shift+Tab") << QStringList{"31042001"} << "Backtab" << impossible;
    QTest::newRow("Enter") << QStringList{"31042001"} << "Enter" << impossible;
    QTest::newRow("click on the name") << QStringList{"31042001"} << "nom" << impossible;
    QTest::newRow("click on the check box") << QStringList{"31042001"} << "indispensable" << impossible;
    QTest::newRow("click on Valider") << QStringList{"31042001"} << "valider" << impossible;
    QTest::newRow("click on Annuler") << QStringList{"31042001"} << "Annuler" << impossible;
    QTest::newRow("half typed") << QStringList{"0702"} << "Tab"
                                << "Date invalide\r\nLa date est incomplète !";
    QTest::newRow("untouched")
        << QStringList{} << "valider"
        << "Date invalide\r\nLa date doit avoir le format JJ/MM/AAAA\r\nExemple: 07/02/2001";
    QTest::newRow("before 1800")
        << QStringList{"07021799"} << "Annuler"
        << "Date invalide\r\nLa date doit avoir le format JJ/MM/AAAA\r\nExemple: 07/02/2003";
}

void TestFormMedic::refusedDateKeepsTheFocus()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, leave);
    QFETCH(QString, message);
    StockFixture fx(kStock);
    fx.chooseRow(QStringLiteral("Zinc"));
    bool stayedOpen = false;
    QString focusAfter;
    QString selected;
    QString shown;
    QVERIFY(fx.runEditor(
        QStringLiteral("Modifier"),
        [&](FormMedic *editor) {
            auto *dat = field<MaskedDateBox>(editor, QStringLiteral("dat"));
            clickThroughWindow(dat);
            QTRY_VERIFY(dat->hasFocus());
            press(dat, typed);
            if (leave == QLatin1String("Tab") || leave == QLatin1String("Backtab") ||
                leave == QLatin1String("Enter"))
                press(dat, {leave});
            else
                clickThroughWindow(editor->findChild<QWidget *>(leave));
            QTest::qWait(20);
            focusAfter = focusName();
            selected = dat->selectedText();
            shown = dat->displayText();
            // Once corrected, the date lets the focus go.
            dat->selectAll();
            press(dat, {"30042001", "Tab"});
            QTRY_COMPARE(focusName(), QStringLiteral("valider"));
        },
        &stayedOpen));
    QVERIFY(stayedOpen);
    QCOMPARE(fx.seams.messages.shown().size(), 1);
    QCOMPARE(fx.seams.messages.last().text, message);
    QCOMPARE(fx.seams.messages.last().title, QStringLiteral("Erreur"));
    QCOMPARE(focusAfter, QStringLiteral("dat"));
    QCOMPARE(selected, shown); // the whole refused text, ready to be typed over
    QCOMPARE(fx.stockBytes(), StockFixture::bytesOf(kStock));
}

void TestFormMedic::saves_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QStringList>("steps"); // field=keys, or "check"
    QTest::addColumn<QStringList>("after");
    const QString amoxicilline =
        compose_enreg(u"Amoxicilline", u"Cutanée", u"", u"30", u"15/06/2028", u"", u"1");
    // A new medicine goes to the end of the file, whatever its name.
    QTest::newRow("Ajout") << kStock << "ajout"
                           << ""
                           << QStringList{"nom=  Amoxicilline  ", "formemedic=Down|Down", "qte=30",
                                          "dat=15062028", "check"}
                           << (QStringList(kStock) << amoxicilline);
    QTest::newRow("Ajout, name only")
        << QStringList{} << "ajout"
        << "" << QStringList{"nom=Ventoline 100"}
        << QStringList{QStringLiteral("Ventoline 100") + QString(27 + 61, u' ') + QStringLiteral("0") +
                       QString(9, u' ')};
    // A change rewrites the file in the list's order, the changed line in its place.
    QTest::newRow("Modif of an unsorted file")
        << QStringList{kZinc, kDoliprane, kAspirine} << "Modifier"
        << "Doliprane" << QStringList{"nom=Doliprane 500", "critique=4"}
        << QStringList{kAspirine,
                       compose_enreg(u"Doliprane 500", u"Orale", u"Sachet", u"3", u"01/01/2026", u"4", u"0"),
                       kZinc};
    // Only the quantity's columns change.
    QTest::newRow("MAJ") << kStock << "majqte"
                         << "Aspirine" << QStringList{"qte=3"}
                         << QStringList{QString(kAspirine).replace(80, 3, QStringLiteral("3  ")), kDoliprane,
                                        kZinc};
    QTest::newRow("Renouveler") << kStock << "renouveler"
                                << "Doliprane" << QStringList{"dat=01012029", "qte=20"}
                                << QStringList{kAspirine,
                                               compose_enreg(u"Doliprane", u"Orale", u"Sachet", u"20",
                                                             u"01/01/2029", u"10", u"0"),
                                               kZinc};
}

void TestFormMedic::saves()
{
    QFETCH(QStringList, before);
    QFETCH(QString, button);
    QFETCH(QString, row);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, after);
    StockFixture fx(before);
    if (!row.isEmpty())
        fx.chooseRow(row);
    bool stayedOpen = true;
    QVERIFY(fx.runEditor(
        button,
        [&](FormMedic *editor) {
            for (const QString &step : steps) {
                if (step == QLatin1String("check")) {
                    clickThroughWindow(field<QCheckBox>(editor, QStringLiteral("indispensable")));
                    continue;
                }
                QWidget *w = editor->findChild<QWidget *>(step.section(u'=', 0, 0));
                clickThroughWindow(w);
                QTRY_VERIFY(w->hasFocus() || w->isAncestorOf(QApplication::focusWidget()));
                QTest::qWait(1);
                if (auto *edit = qobject_cast<QLineEdit *>(w))
                    edit->selectAll();
                press(w, step.section(u'=', 1).split(u'|'));
            }
            clickThroughWindow(field<QToolButton>(editor, QStringLiteral("valider")));
        },
        &stayedOpen));
    QVERIFY(!stayedOpen);
    QVERIFY(fx.seams.messages.shown().isEmpty());
    QCOMPARE(fx.stockBytes(), StockFixture::bytesOf(after));
    // The list shows the result; no medicine is chosen.
    QCOMPARE(fx.form->ListView1()->model()->rowCount(), after.size());
    QVERIFY(!fx.form->List1().hasCurrent());
}

void TestFormMedic::refusedSaveKeepsTheEditor_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("says");
    QTest::newRow("name of blanks only") << "ajout" << false << "   "
                                         << "Aucun nom de médicament saisi !";
    QTest::newRow("Ajout, read-only stock") << "ajout" << true << "Ventoline"
                                            << "lecture seule";
    QTest::newRow("Modif, read-only stock") << "Modifier" << true << "Ventoline"
                                            << "lecture seule";
    QTest::newRow("Ajout, a character the file cannot hold") << "ajout" << false << "Ventoline ≥ 2"
                                                             << "« ≥ »";
    QTest::newRow("Modif, a character the file cannot hold") << "Modifier" << false << "Vitamine Ⅾ"
                                                             << "« Ⅾ »";
}

// Nothing written, the editor still open with what was typed, the focus back in the name.
void TestFormMedic::refusedSaveKeepsTheEditor()
{
    QFETCH(QString, button);
    QFETCH(bool, readOnly);
    QFETCH(QString, name);
    QFETCH(QString, says);
    StockFixture fx(kStock);
    const QString path = fx.seams.directory.file(kStockFileName);
    if (readOnly)
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    fx.chooseRow(QStringLiteral("Doliprane"));
    bool stayedOpen = false;
    QStringList kept;
    QVERIFY(fx.runEditor(
        button,
        [&](FormMedic *editor) {
            QLineEdit *nom = field(editor, QStringLiteral("nom"));
            nom->selectAll();
            press(nom, {name});
            field(editor, QStringLiteral("qte"))->selectAll();
            press(field(editor, QStringLiteral("qte")), {"5"});
            clickThroughWindow(field<QToolButton>(editor, QStringLiteral("valider")));
            QTRY_COMPARE(focusName(), QStringLiteral("nom"));
            kept << nom->text() << field(editor, QStringLiteral("qte"))->text();
        },
        &stayedOpen));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(stayedOpen);
    QCOMPARE(kept, (QStringList{name, "5"}));
    QCOMPARE(fx.seams.messages.shown().size(), 1);
    QCOMPARE(boxOf(fx.seams.messages.last()), QStringLiteral("Erreur | exclamation | OK"));
    QVERIFY2(fx.seams.messages.last().text.contains(says), qPrintable(fx.seams.messages.last().text));
    QCOMPARE(fx.stockBytes(), StockFixture::bytesOf(kStock));
}

// A name that a hand-edited file brought with a tabulation cannot go back into a line.
void TestFormMedic::controlCharacterFromTheFileIsRefused()
{
    const QString tabbed = compose_enreg(u"Aspirine\tforte", u"Orale", u"", u"5", u"", u"", u"0");
    StockFixture fx({tabbed});
    fx.chooseRow(QStringLiteral("Aspirine\tforte"));
    bool stayedOpen = false;
    QVERIFY(fx.runEditor(
        QStringLiteral("Modifier"),
        [](FormMedic *editor) { clickThroughWindow(field<QToolButton>(editor, QStringLiteral("valider"))); },
        &stayedOpen));
    QVERIFY(stayedOpen);
    QCOMPARE(fx.seams.messages.last().text,
             QStringLiteral(
                 "Le nom « Aspirine·forte » contient le caractère « tabulation », qu'une ligne du fichier ne "
                 "peut pas contenir.\r\n\r\nLe médicament n'est pas enregistré."));
}

VELLORIN_TEST(TestFormMedic)
#include "tst_formmedic.moc"
