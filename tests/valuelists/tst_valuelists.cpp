#include "gui/platform/TextPrompt.h"
#include "gui/valuelists/ValueListEditor.h"
#include "support/Tests.h"

namespace {

// The default is selected whole: the first key replaces it. OK (1) gives the text, Annuler
// (2) nothing.
// clang-format off
const struct { const char *name; QString defaultText; QStringList keys; QString finish; short button; QString text; } kAnswers[] = {
    {"Enter is OK", "Gélule", {"Crème", "Enter"}, "", 1, "Crème"},
    {"Escape is Annuler", "Gélule", {"Patch", "Escape"}, "", 2, "Patch"},
    {"Annuler button", "", {"Spray"}, "&Annuler", 2, "Spray"},
    {"close box is Annuler", "", {"Gel"}, "close", 2, "Gel"},
    {"Enter on the focused Annuler", "", {"Gel", "Tab", "Tab", "Enter"}, "", 2, "Gel"},
    // A line copied whole and pasted is one entry, its line end left behind.
    {"a whole line pasted", "", {"Paste:Collyre\r\n", "Enter"}, "", 1, "Collyre"},
    {"typed beyond its 20 characters", "", {"Seringue pré-remplie stérile", "Enter"}, "", 1, "Seringue pré-remplie"},
};
// clang-format on

const QString kType = "Pharma_Type.dat";

// The presentations' list: what the file held, the button, the answer typed ("&Annuler"
// when cancelled), then the file, the list shown and the message given. "change" and
// "remove" work on "Sirop" when the list has it.
// clang-format off
const struct { const char *name; QByteArray before; QString button, answer; bool cancel; QByteArray after; QStringList shown; QString says; } kEdits[] = {
    // An addition writes one line at the end; the rest of the file keeps its order.
    {"add, trimmed", "Sirop\r\nGel\r\n", "add", "  Crème  ", false, cp1252("Sirop\r\nGel\r\nCrème\r\n"), {"Crème", "Gel", "Sirop"}, ""},
    {"add blanks alone: an empty line", "Sirop\r\nGel\r\n", "add", "   ", false, "Sirop\r\nGel\r\n\r\n", {"", "Gel", "Sirop"}, ""},
    {"add, cut at 20 characters", "Gel\r\n", "add", "Seringue pré-remplie stérile", false,
     cp1252("Gel\r\nSeringue pré-remplie\r\n"), {"Gel", "Seringue pré-remplie"}, ""},
    {"add after a last line without its end", "Sirop", "add", "Gel", false, "Sirop\r\nGel\r\n", {"Gel", "Sirop"}, ""},
    // A change rewrites the file whole, in the order the list shows.
    {"change", "Spray\r\nSirop\r\nGel\r\n", "change", " Patch ", false, "Gel\r\nPatch\r\nSpray\r\n", {"Gel", "Patch", "Spray"}, ""},
    {"add, cancelled", "Sirop\r\nGel\r\n", "add", "Patch", true, "Sirop\r\nGel\r\n", {"Gel", "Sirop"}, ""},
    {"change to nothing", "Sirop\r\n", "change", "", false, "Sirop\r\n", {"Sirop"}, "Vous n'avez saisi aucune Présentation !"},
    {"change, nothing chosen", "Gel\r\n", "change", "Patch", false, "Gel\r\n", {"Gel"}, "Aucune Présentation sélectionnée !"},
    {"delete, nothing chosen", "Gel\r\n", "remove", "Yes", false, "Gel\r\n", {"Gel"}, "Aucune Présentation sélectionnée !"},
    {"delete, No", "Spray\r\nGel\r\nSirop\r\n", "remove", "No", false, "Spray\r\nGel\r\nSirop\r\n", {"Gel", "Sirop", "Spray"}, "Sirop\r\n\r\nConfirmer la suppression ?"},
    {"delete, Yes", "Spray\r\nGel\r\nSirop\r\n", "remove", "Yes", false, "Gel\r\nSpray\r\n", {"Gel", "Spray"}, "Sirop\r\n\r\nConfirmer la suppression ?"},
    // A line of any length, from a file edited by hand, shows cut but stays whole in the file.
    {"delete beside a long line", "Sirop\r\n" + QByteArray(300, 'a') + "\r\n", "remove", "Yes", false,
     QByteArray(300, 'a') + "\r\n", {QString(64, u'a') + QChar(0x2026)}, "Sirop\r\n\r\nConfirmer la suppression ?"},
};
// clang-format on

} // namespace

class TestValueLists : public QObject
{
    Q_OBJECT

private slots:
    void answers_data() { addRows(kAnswers); }
    void answers();
    void edits_data() { addRows(kEdits); }
    void edits();
};

void TestValueLists::answers()
{
    const auto &c = rowOf(kAnswers);
    TestSeams seams; // keys at a person's pace
    bool answered = false;
    whenModalOpens([&](QWidget *window) {
        auto *box = qobject_cast<TextPrompt *>(window);
        QTRY_VERIFY(box->entry()->hasFocus());
        QCOMPARE(box->entry()->selectedText(), c.defaultText);
        for (const QString &key : c.keys) // to the control that has the focus, as keys go
            press(QApplication::focusWidget(), {key});
        if (c.finish == QLatin1String("close"))
            box->close();
        for (auto *b : box->findChildren<QPushButton *>())
            if (b->text() == c.finish)
                QTest::mouseClick(b, Qt::LeftButton);
        answered = true;
    });
    const std::optional<QString> typed = TextPrompt::ask({"Titre", "Question", c.defaultText, 20});
    QVERIFY(answered);
    QCOMPARE(typed ? 1 : 2, c.button);
    QCOMPARE(typed.value_or(c.text), c.text);
}

// Opens the presentations' list on `before`, chooses "Sirop" if it is there, clicks `button`.
void TestValueLists::edits()
{
    const auto &c = rowOf(kEdits);
    TestSeams seams;
    ScriptedTextPrompt box;
    if (!c.before.isEmpty())
        seams.directory.write(kType, c.before);
    ValueListEditor form;
    form.setMode(ValueList::Presentations);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QListWidget *list = form.lines();
    if (const auto found = list->findItems("Sirop", Qt::MatchStartsWith | Qt::MatchCaseSensitive);
        !found.isEmpty())
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    if (c.button == QLatin1String("remove"))
        seams.messages.queue(c.answer == QLatin1String("Yes") ? MsgAnswer::Yes : MsgAnswer::No);
    else
        box.queue(c.answer, c.cancel);
    QTest::mouseClick(form.findChild<QToolButton *>(c.button), Qt::LeftButton);

    if (!box.asked.isEmpty())
        QVERIFY(c.button != QLatin1String("change") ||
                box.asked.first().startsWith("Sirop")); // the chosen entry
    QCOMPARE(seams.messages.shown().isEmpty() ? QString() : seams.messages.last().text, c.says);
    QCOMPARE(seams.directory.read(kType), c.after);
    // Read again from the file, sorted, nothing selected.
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown << list->item(row)->text();
    QCOMPARE(shown, c.shown);
    QCOMPARE(list->selectedItems().isEmpty(), c.answer != QLatin1String("No")); // declined: still chosen
}

VELLORIN_TEST(TestValueLists)
#include "tst_valuelists.moc"
