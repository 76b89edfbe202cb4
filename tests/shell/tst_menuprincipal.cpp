#include "support/TestSeams.h"

#include "listwindow/FormPharma.h"
#include "shell/Application.h"
#include "shell/Menuprincipal.h"
#include "store/StockFile.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <memory>



namespace {

// A menu as text: one entry per line, "-" for a separator, submenus indented.
void describe(const QMenu *menu, int depth, QStringList &out)
{
    for (QAction *action : menu->actions()) {
        const QString indent(depth * 2, u' ');
        out << indent + (action->isSeparator() ? QStringLiteral("-") : action->objectName() + u' ' + action->text());
        if (action->menu())
            describe(action->menu(), depth + 1, out);
    }
}

} // namespace

class TestMenuprincipal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void captionAndMenus();
    void toolbarButtons();
    void aboutBox_data();
    void aboutBox();
    void medicineListOpensModally_data();
    void medicineListOpensModally();
    void dropDownFacesDoNothing();
    void conversionWarning_data();
    void conversionWarning();
    void quitEndsAtOnce();

private:
    QAction *action(const QString &name) const;
    QToolButton *toolButton(const QString &key) const;

    std::unique_ptr<TestSeams> m_seams;
    std::unique_ptr<Menuprincipal> m_window;
};

void TestMenuprincipal::initTestCase()
{
    prepareApplication(*qApp);
}

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

QAction *TestMenuprincipal::action(const QString &name) const
{
    return m_window->findChild<QAction *>(name);
}

QToolButton *TestMenuprincipal::toolButton(const QString &key) const
{
    return m_window->findChild<QToolBar *>(QStringLiteral("Toolbar1"))->findChild<QToolButton *>(key);
}

void TestMenuprincipal::captionAndMenus()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Vellorin Version 1.0"));
    QStringList tree;
    for (QAction *top : m_window->menuBar()->actions()) {
        tree << top->objectName() + u' ' + top->text();
        describe(top->menu(), 1, tree);
    }
    const QStringList expected = {
        "mnu_application &Application",
        "  mnu_apropos &A propos...",
        "  -",
        "  mnu_utilitaires &Paramètres",
        "    mnu_pharmaforme Médicaments: Voie d'administration",
        "    mnu_pharmatype Médicaments: Présentation",
        "    -",
        "    mnu_conversionBD Conversion Base de données",
        "  -",
        "  mnu_quitter &Quitter",
        "mnu_pharmacie &Pharmacie",
        "  mnu_gestionpharmacie &Gestion des médicaments",
        "  -",
        "  mnu_impressionpharmacie &Impression",
        "    mnu_complete Liste &complète des médicaments",
        "    -",
        "    mnu_perimes Médicaments périmés à la date d'aujourd'hui",
        "    mnu_seuilimite Médicaments en quantité insuffisante",
    };
    QCOMPARE(tree, expected);
    for (QAction *a : m_window->findChildren<QAction *>()) {
        if (a->objectName().startsWith(QLatin1String("mnu_"))) {
            QVERIFY(a->shortcut().isEmpty());
            QVERIFY(!a->isCheckable());
            QVERIFY(a->isEnabled());
        }
    }
}

void TestMenuprincipal::toolbarButtons()
{
    auto *toolbar = m_window->findChild<QToolBar *>(QStringLiteral("Toolbar1"));
    QVERIFY(toolbar);
    QStringList layout;
    for (QAction *a : toolbar->actions()) {
        if (a->isSeparator()) {
            layout << QStringLiteral("-");
            continue;
        }
        auto *button = qobject_cast<QToolButton *>(toolbar->widgetForAction(a));
        QVERIFY(button);
        QVERIFY(!button->icon().isNull());
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QString entry = button->objectName() + u' ' + button->text();
        if (button->menu()) {
            for (QAction *item : button->menu()->actions())
                entry += QStringLiteral(" [%1: %2]").arg(item->objectName(), item->text());
        }
        layout << entry;
    }
    const QStringList expected = {
        "button_gestionmedic Gestion des médicaments",
        "-",
        "button_impression Impression [button_complete: Liste complète des médicaments]"
        " [button_perimes: Médicaments périmés à la date d'aujourd'hui]"
        " [button_seuillimite: Médicaments en quantité insuffisante]",
        "button_utilitaires Paramètres [button_voiedadministration: Médicaments: Voie d'administration]"
        " [button_presentation: Médicaments: Présentation]",
        "-",
        "button_apropos A propos...",
        "-",
        "button_quitter Quitter",
    };
    QCOMPARE(layout, expected);
    QCOMPARE(toolbar->iconSize(), QSize(32, 32));
}

void TestMenuprincipal::aboutBox_data()
{
    QTest::addColumn<bool>("fromToolbar");
    QTest::newRow("menu") << false;
    QTest::newRow("toolbar") << true;
}

void TestMenuprincipal::aboutBox()
{
    QFETCH(bool, fromToolbar);
    QStringList seen;
    bool closed = false;
    whenModalOpens([&](QWidget *box) {
        seen << box->objectName() << box->windowTitle()
             << box->findChild<QLabel *>(QStringLiteral("Label1"))->text()
             << box->findChild<QLabel *>(QStringLiteral("VersionProgramme"))->text()
             << box->findChild<QPushButton *>(QStringLiteral("Fermer"))->text();
        QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("Fermer")), Qt::LeftButton);
        closed = true;
    });
    if (fromToolbar)
        QTest::mouseClick(toolButton(QStringLiteral("button_apropos")), Qt::LeftButton);
    else
        action(QStringLiteral("mnu_apropos"))->trigger();
    QTRY_VERIFY(closed);
    QCOMPARE(seen, (QStringList{"apropos", "A propos...", "Vellorin", "1.0", "&Fermer"}));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestMenuprincipal::medicineListOpensModally_data()
{
    QTest::addColumn<bool>("fromToolbar");
    QTest::newRow("menu") << false;
    QTest::newRow("toolbar") << true;
}

void TestMenuprincipal::medicineListOpensModally()
{
    QFETCH(bool, fromToolbar);
    m_seams->directory.write(kStockFileName,
                             cp1252(compose_enreg(u"Aspirine", u"Orale", u"Comprimé", u"12", u"05/03/2007", u"5",
                                                  u"1") +
                                    QStringLiteral("\r\n")));
    QString caption;
    bool modal = false;
    whenModalOpens([&](QWidget *window) {
        auto *form = qobject_cast<FormPharma *>(window);
        QVERIFY(form);
        caption = form->windowTitle();
        modal = form->isModal();
        QTest::mouseClick(form->findChild<QToolButton *>(QStringLiteral("Fermer")), Qt::LeftButton);
    });
    if (fromToolbar)
        QTest::mouseClick(toolButton(QStringLiteral("button_gestionmedic")), Qt::LeftButton);
    else
        action(QStringLiteral("mnu_gestionpharmacie"))->trigger();
    QTRY_COMPARE(caption, QStringLiteral("Médicaments: Liste Complète / Total: 1"));
    QVERIFY(modal);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(m_window->isVisible());
}

void TestMenuprincipal::dropDownFacesDoNothing()
{
    for (const QString &key : {QStringLiteral("button_impression"), QStringLiteral("button_utilitaires")}) {
        QToolButton *button = toolButton(key);
        QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
        // A click on the face, away from the arrow.
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
        QTest::qWait(50);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!QApplication::activePopupWidget());
    }
    QVERIFY(m_seams->messages.shown().isEmpty());
}

void TestMenuprincipal::conversionWarning_data()
{
    QTest::addColumn<MsgAnswer>("answer");
    QTest::newRow("No") << MsgAnswer::No;
    QTest::newRow("Yes") << MsgAnswer::Yes;
}

void TestMenuprincipal::conversionWarning()
{
    QFETCH(MsgAnswer, answer);
    m_seams->messages.queue(answer);
    QString opened;
    if (answer == MsgAnswer::Yes) {
        whenModalOpens([&](QWidget *window) {
            opened = window->objectName();
            window->close();
        });
    }
    action(QStringLiteral("mnu_conversionBD"))->trigger();
    QCOMPARE(opened, answer == MsgAnswer::Yes ? QStringLiteral("FormConversion") : QString());
    QCOMPARE(m_seams->messages.shown().size(), 1);
    const MessageRequest &warning = m_seams->messages.last();
    QCOMPARE(boxOf(warning), QStringLiteral("Conversion de la base de données | exclamation | Oui/Non"));
    QCOMPARE(warning.text.split(QStringLiteral("\r\n")),
             (QStringList{"Cette fonction permet de convertir un ancien format de base de données vers le nouveau.",
                          "Vous devez avoir les indications fournies par Ostrand", "",
                          "Si vous n'avez pas ces indications,",
                          "vous risquez de perdre toutes les données actuelles !", "", "Continuer ?"}));
    QVERIFY(!warning.text.contains(QLatin1Char('\n') + QString(QLatin1Char('\n'))));
}

void TestMenuprincipal::quitEndsAtOnce()
{
    // exit() outside a running loop does nothing: run the window's loop as the program does.
    QTimer::singleShot(0, m_window.get(),
                       [this] { QTest::mouseClick(toolButton(QStringLiteral("button_quitter")), Qt::LeftButton); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_seams->messages.shown().isEmpty()); // no question asked
}

QTEST_MAIN(TestMenuprincipal)
#include "tst_menuprincipal.moc"
