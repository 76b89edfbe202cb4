#include "core/store/StockFile.h"
#include "gui/conversion/FormConversion.h"
#include "gui/forecast/FormAvance.h"
#include "gui/shell/Apropos.h"
#include "gui/shell/Menuprincipal.h"
#include "gui/valuelists/FormCombosPharma.h"
#include "gui/valuelists/MyInputBox.h"
#include "support/StockFixture.h"
#include "support/TestMain.h"

#include <QAccessible>
#include <QApplication>
#include <QSet>
#include <QTest>

#include <functional>
#include <memory>

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

} // namespace

// Every window can be used with the keyboard alone, and every control tells assistive
// technology what it is.
class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void everyControlIsNamedAndReachable_data();
    void everyControlIsNamedAndReachable();
};

void TestAccessibility::everyControlIsNamedAndReachable_data()
{
    QTest::addColumn<QString>("window");
    for (const char *w : {"Menuprincipal", "FormPharma", "FormMedic", "FormCombosPharma", "MyInputBox",
                          "FormAvance", "FormConversion", "apropos"})
        QTest::newRow(w) << QString::fromLatin1(w);
}

void TestAccessibility::everyControlIsNamedAndReachable()
{
    QFETCH(QString, window);
    StockFixture fx({compose_enreg(u"Aspirine", u"Orale", u"Comprimé", u"12", u"05/03/2027", u"5", u"1")});
    std::unique_ptr<QWidget> owned;
    QWidget *w = nullptr;
    if (window == QLatin1String("FormPharma")) {
        w = fx.form.get();
    } else if (window == QLatin1String("FormMedic")) {
        fx.form->List1().setCurrentPosition(0);
        auto *editor = new FormMedic(fx.form->List1(), {});
        editor->setMode(EditorMode::Change);
        owned.reset(editor);
    } else if (window == QLatin1String("FormCombosPharma")) {
        auto *form = new FormCombosPharma;
        form->setMode(ValueList::Routes);
        owned.reset(form);
    } else if (window == QLatin1String("MyInputBox")) {
        MyInputBox::instance().setPrompt(QStringLiteral("Veuillez saisir la nouvelle Présentation:"));
        w = &MyInputBox::instance();
    } else if (window == QLatin1String("Menuprincipal")) {
        owned = std::make_unique<Menuprincipal>();
    } else if (window == QLatin1String("FormAvance")) {
        owned = std::make_unique<FormAvance>();
    } else if (window == QLatin1String("FormConversion")) {
        owned = std::make_unique<FormConversion>();
    } else {
        owned = std::make_unique<Apropos>();
    }
    if (!w)
        w = owned.get();
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
        QVERIFY2(reached.contains(c), qPrintable(c->objectName() + QStringLiteral(" never gets the focus")));
    QVERIFY(fx.seams.messages.shown().isEmpty()); // moving through a window says nothing
    w->hide();
}

VELLORIN_TEST(TestAccessibility)
#include "tst_accessibility.moc"
