#include "gui/conversion/FormConversion.h"
#include "gui/forecast/FormAvance.h"
#include "gui/shell/Apropos.h"
#include "gui/shell/Menuprincipal.h"
#include "gui/valuelists/FormCombosPharma.h"
#include "gui/valuelists/MyInputBox.h"
#include "support/Tests.h"

#include <QAccessible>
#include <QSet>

namespace {

// The controls the Tab key should reach.
QSet<QWidget *> focusable(QWidget *window)
{
    QSet<QWidget *> set;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() &&
            !w->inherits("QScrollBar"))
            set.insert(w);
    }
    return set;
}

// Each window as the user meets it, shown on a stock of one medicine.
// clang-format off
const struct { const char *name; std::function<QWidget *(StockFixture &)> open; } kWindows[] = {
    {"Menuprincipal", [](StockFixture &) -> QWidget * { return new Menuprincipal; }},
    {"FormPharma", [](StockFixture &fx) -> QWidget * { return fx.form.get(); }},
    {"FormMedic", [](StockFixture &fx) -> QWidget * {
         fx.form->List1().setCurrentPosition(0);
         auto *editor = new FormMedic(fx.form->List1(), {});
         editor->setMode(EditorMode::Change);
         return editor; }},
    {"FormCombosPharma", [](StockFixture &) -> QWidget * { auto *form = new FormCombosPharma; form->setMode(ValueList::Routes); return form; }},
    {"MyInputBox", [](StockFixture &) -> QWidget * { MyInputBox::instance().setPrompt("Veuillez saisir la nouvelle Présentation:"); return &MyInputBox::instance(); }},
    {"FormAvance", [](StockFixture &) -> QWidget * { return new FormAvance; }},
    {"FormConversion", [](StockFixture &) -> QWidget * { return new FormConversion; }},
    {"apropos", [](StockFixture &) -> QWidget * { return new Apropos; }},
};
// clang-format on

} // namespace

// Every window can be used with the keyboard alone, and every control tells assistive
// technology what it is.
class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void everyControlIsNamedAndReachable_data() { addRows(kWindows); }
    void everyControlIsNamedAndReachable();
};

void TestAccessibility::everyControlIsNamedAndReachable()
{
    StockFixture fx({medicine("Aspirine")});
    QWidget *w = rowOf(kWindows).open(fx);
    std::unique_ptr<QWidget> owned(w == fx.form.get() || w == &MyInputBox::instance() ? nullptr : w);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());

    // Named: what a screen reader would say for each control.
    const QSet<QWidget *> controls = focusable(w);
    QVERIFY(!controls.isEmpty());
    for (QWidget *c : controls) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(c);
        QVERIFY(face);
        QVERIFY2(!face->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(c->objectName()));
    }

    // Reachable: Tab goes round every control and comes back.
    QWidget *first = QApplication::focusWidget();
    if (!first || !controls.contains(first)) {
        first = *controls.begin();
        first->setFocus(Qt::TabFocusReason);
    }
    QTRY_VERIFY(first->hasFocus());
    QSet<QWidget *> reached;
    for (int i = 0; i < 2 * controls.size() + 2; ++i) {
        QWidget *now = QApplication::focusWidget();
        reached.insert(now);
        QTest::keyClick(now, Qt::Key_Tab);
    }
    for (QWidget *c : controls)
        QVERIFY2(reached.contains(c), qPrintable(c->objectName() + " never gets the focus"));
    QVERIFY(fx.seams.messages.shown().isEmpty()); // moving through a window says nothing
    w->hide();
}

VELLORIN_TEST(TestAccessibility)
#include "tst_accessibility.moc"
