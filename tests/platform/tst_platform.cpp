#include "gui/platform/MessageBox.h"
#include "gui/platform/OneLineGuard.h"
#include "gui/platform/Widgets.h"
#include "support/Tests.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>

namespace {

// clang-format off
// What the user does in turn: a button's caption, "Escape" or "close" (the close box).
const struct { const char *name; MsgButtons buttons; QStringList presses; QStringList captions; MsgAnswer answer; } kAnswers[] = {
    {"Oui", MsgButtons::YesNo, {"&Oui"}, {"&Non", "&Oui"}, MsgAnswer::Yes},
    // A question has no Cancel: Escape and the close box leave it open.
    {"Escape, close box, then Oui", MsgButtons::YesNo, {"Escape", "close", "&Oui"}, {"&Non", "&Oui"}, MsgAnswer::Yes},
    {"Enter on the focused Non", MsgButtons::YesNo, {"Tab", "Enter"}, {"&Non", "&Oui"}, MsgAnswer::No},
    {"Escape on a message", MsgButtons::Ok, {"Escape"}, {"OK"}, MsgAnswer::Ok},
};
// clang-format on

// What comes in, the box's text afterwards (it held "x"), and the character named in the
// refusal, if any.
// clang-format off
const struct { const char *name; QString brought, result, says; } kTexts[] = {
    {"a whole line copied", "Doliprane 1000\r\n", "xDoliprane 1000", ""},
    {"two lines", "Doliprane\n1000\n", "x", "saut de ligne (LF)"},
    {"a tabulation", "A\tB", "x", "tabulation"},
    {"a paragraph copied whole", "Doliprane\u2029", "xDoliprane", ""},
};
// clang-format on

} // namespace

// The platform's boxes, shown for real: French buttons, the answer the user gave. And a
// record is one line: what a text box takes in, by any way in, never splits it.
class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void answers_data() { addRows(kAnswers); }
    void answers();
    void everyWayIn_data();
    void everyWayIn();
};

void TestPlatform::answers()
{
    const auto &c = rowOf(kAnswers);
    QStringList seen;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen << box->windowTitle() << box->text();
        QStringList captions;
        for (QAbstractButton *b : box->buttons())
            captions << b->text();
        captions.sort();
        seen << captions;
        for (const QString &press : c.presses) {
            if (!box->isVisible()) // answered already
                break;
            if (press == QLatin1String("close"))
                box->close();
            else if (!captions.contains(press))
                ::press(box->focusWidget() ? box->focusWidget() : box, {press});
            for (QAbstractButton *b : box->buttons())
                if (b->text() == press)
                    QTest::mouseClick(b, Qt::LeftButton);
        }
    });
    QtMessageBoxes boxes;
    const MsgAnswer got =
        boxes.ask({"Première ligne\r\nseconde\n\rtroisième", "Suppression", MsgIcon::Question, c.buttons});
    QCOMPARE(got, c.answer);
    QCOMPARE(seen, QStringList({"Suppression", "Première ligne\nseconde\ntroisième"}) + c.captions);
}

void TestPlatform::everyWayIn_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("text");
    for (const char *way : {"Ctrl+V", "context menu", "drop", "input method"}) {
        for (int i = 0; i < int(std::size(kTexts)); ++i)
            QTest::newRow(qPrintable(QLatin1String(way) + ": " + kTexts[i].name)) << way << i;
    }
}

void TestPlatform::everyWayIn()
{
    QFETCH(QString, way);
    QFETCH(int, text);
    const auto &[name, brought, result, says] = kTexts[text];
    TestSeams seams;
    QLineEdit edit("x");
    keepOnOneLine(&edit);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.end(false);
    if (way == QLatin1String("Ctrl+V") || way == QLatin1String("context menu"))
        QApplication::clipboard()->setText(brought);
    if (way == QLatin1String("Ctrl+V")) {
        QTest::keySequence(&edit, QKeySequence::Paste);
    } else if (way == QLatin1String("context menu")) {
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(2, 2),
                                    edit.mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(&edit, &menuEvent);
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        QAction *paste = standardMenuAction(menu, QKeySequence::Paste);
        QVERIFY(paste);
        paste->trigger();
        menu->close();
    } else if (way == QLatin1String("drop")) {
        QMimeData mime;
        mime.setText(brought);
        const QPoint end(edit.width() - 2, edit.height() / 2);
        QDragEnterEvent enter(end, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&edit, &enter);
        QDragMoveEvent move(end, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&edit, &move);
        QDropEvent drop(end, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&edit, &drop);
    } else {
        QInputMethodEvent input;
        input.setCommitString(brought);
        QApplication::sendEvent(&edit, &input);
    }
    QCOMPARE(edit.text(), result);
    QCOMPARE(seams.messages.shown().size(), says.isEmpty() ? 0 : 1);
    if (!says.isEmpty())
        QVERIFY2(seams.messages.last().text.contains(QStringLiteral("« %1 »").arg(says)),
                 qPrintable(seams.messages.last().text));
}

VELLORIN_TEST(TestPlatform)
#include "tst_platform.moc"
