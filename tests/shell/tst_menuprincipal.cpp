#include "gui/shell/Menuprincipal.h"
#include "support/Tests.h"

#include <QToolBar>

namespace {

// A menu entry or a toolbar button, the window it opens and, for a value list, its entries:
// whole lines, read untrimmed, shown sorted.
// clang-format off
const struct { const char *name; QString entry, window, entries; } kEntries[] = {
    {"about, menu", "mnu_apropos", "apropos", ""},
    {"about, toolbar", "button_apropos", "apropos", ""},
    {"medicines, menu", "mnu_gestionpharmacie", "FormPharma", ""},
    {"medicines, toolbar", "button_gestionmedic", "FormPharma", ""},
    {"routes, menu", "mnu_pharmaforme", "FormCombosPharma", "Cutanée|éther|orale|Orale"},
    {"routes, toolbar", "button_voiedadministration", "FormCombosPharma", "Cutanée|éther|orale|Orale"},
    {"presentations, menu", "mnu_pharmatype", "FormCombosPharma", "|  Gel|Sirop"},
    {"presentations, toolbar", "button_presentation", "FormCombosPharma", "|  Gel|Sirop"},
    // The conversion opens once its warning is answered Yes.
    {"conversion", "mnu_conversionBD", "FormConversion", ""},
};
// clang-format on

} // namespace

class TestMenuprincipal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(*qApp); }
    void init();
    void cleanup();

    void entriesOpenTheirWindow_data() { addRows(kEntries); }
    void entriesOpenTheirWindow();
    void dropDownFacesDoNothing();
    void conversionDeclined();
    void quitEndsAtOnce();

private:
    QToolButton *toolButton(const QString &key) const
    {
        return m_window->findChild<QToolBar *>("Toolbar1")->findChild<QToolButton *>(key);
    }

    std::unique_ptr<TestSeams> m_seams;
    std::unique_ptr<Menuprincipal> m_window;
};

void TestMenuprincipal::init()
{
    m_seams = std::make_unique<TestSeams>();
    m_window = std::make_unique<Menuprincipal>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMenuprincipal::cleanup()
{
    m_window.reset();
    m_seams.reset();
}

void TestMenuprincipal::entriesOpenTheirWindow()
{
    const auto &c = rowOf(kEntries);
    m_seams->directory.write(kStockFileName, fileOf({medicine("Aspirine")}));
    m_seams->directory.write("Pharma_Forme.dat", cp1252("orale\r\néther\nCutanée\r\nOrale\r\n"));
    m_seams->directory.write("Pharma_Type.dat", "Sirop\r\n\r\n  Gel\r\n");
    m_seams->messages.queue(MsgAnswer::Yes);
    QString window;
    QStringList entries;
    whenModalOpens([&](QWidget *opened) {
        window = opened->objectName();
        if (auto *list = opened->findChild<QListWidget *>("List1")) {
            for (int row = 0; row < list->count(); ++row)
                entries << list->item(row)->text();
        }
        if (auto *fermer = opened->findChild<QAbstractButton *>("Fermer"))
            QTest::mouseClick(fermer, Qt::LeftButton);
        else
            opened->close();
    });
    if (QToolButton *button = toolButton(c.entry))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        m_window->findChild<QAction *>(c.entry)->trigger();
    QTRY_COMPARE(window, c.window);
    QCOMPARE(entries.join(u'|'), c.entries);
    QTRY_VERIFY(!QApplication::activeModalWidget()); // closed by its Fermer
    QVERIFY(m_window->isVisible());
}

void TestMenuprincipal::dropDownFacesDoNothing()
{
    for (const char *key : {"button_impression", "button_utilitaires"}) {
        QToolButton *button = toolButton(key);
        QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
        // A click on the face, away from the arrow.
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
        QTest::qWait(50);
        QVERIFY(!QApplication::activeModalWidget() && !QApplication::activePopupWidget());
    }
    QVERIFY(m_seams->messages.shown().isEmpty());
}

void TestMenuprincipal::conversionDeclined()
{
    m_seams->messages.queue(MsgAnswer::No);
    m_window->findChild<QAction *>("mnu_conversionBD")->trigger();
    QCOMPARE(boxOf(m_seams->messages.last()), "Conversion de la base de données | exclamation | Oui/Non");
    QVERIFY(!QApplication::activeModalWidget());
}

void TestMenuprincipal::quitEndsAtOnce()
{
    // exit() outside a running loop does nothing: run the window's loop as the program does.
    QTimer::singleShot(0, m_window.get(),
                       [this] { QTest::mouseClick(toolButton("button_quitter"), Qt::LeftButton); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_seams->messages.shown().isEmpty()); // no question asked
}

VELLORIN_TEST(TestMenuprincipal)
#include "tst_menuprincipal.moc"
