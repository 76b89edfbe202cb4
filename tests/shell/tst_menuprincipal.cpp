#include "core/store/StockFile.h"
#include "gui/listwindow/FormPharma.h"
#include "gui/shell/Application.h"
#include "gui/shell/Menuprincipal.h"
#include "support/TestMain.h"
#include "support/TestSeams.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <memory>

class TestMenuprincipal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void entriesOpenTheirWindow_data();
    void entriesOpenTheirWindow();
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

void TestMenuprincipal::entriesOpenTheirWindow_data()
{
    QTest::addColumn<QString>("entry"); // a menu entry, a toolbar button or a drop-down entry
    QTest::addColumn<QStringList>("seen");
    const QStringList about = {"apropos", "A propos...", "Vellorin", "1.0", "&Fermer"};
    const QStringList medicines = {"FormPharma", "Médicaments: Liste Complète / Total: 1"};
    // The value lists: entries are whole lines, read untrimmed, shown sorted.
    const QStringList routes = {"FormCombosPharma", "Médicaments: Voie d'administration",
                                "Cutanée|éther|orale|Orale"};
    const QStringList presentations = {"FormCombosPharma", "Médicaments: Présentation", "|  Gel|Sirop"};
    QTest::newRow("about, menu") << "mnu_apropos" << about;
    QTest::newRow("about, toolbar") << "button_apropos" << about;
    QTest::newRow("medicines, menu") << "mnu_gestionpharmacie" << medicines;
    QTest::newRow("medicines, toolbar") << "button_gestionmedic" << medicines;
    QTest::newRow("routes, menu") << "mnu_pharmaforme" << routes;
    QTest::newRow("routes, toolbar") << "button_voiedadministration" << routes;
    QTest::newRow("presentations, menu") << "mnu_pharmatype" << presentations;
    QTest::newRow("presentations, toolbar") << "button_presentation" << presentations;
}

void TestMenuprincipal::entriesOpenTheirWindow()
{
    QFETCH(QString, entry);
    QFETCH(QStringList, seen);
    m_seams->directory.write(kStockFileName, cp1252(compose_enreg(u"Aspirine", u"Orale", u"Comprimé", u"12",
                                                                  u"05/03/2007", u"5", u"1") +
                                                    QStringLiteral("\r\n")));
    m_seams->directory.write(QStringLiteral("Pharma_Forme.dat"),
                             cp1252(QStringLiteral("orale\r\néther\nCutanée\r\nOrale\r\n")));
    m_seams->directory.write(QStringLiteral("Pharma_Type.dat"),
                             cp1252(QStringLiteral("Sirop\r\n\r\n  Gel\r\n")));
    QStringList got;
    bool modal = false;
    whenModalOpens([&](QWidget *window) {
        modal = window->isModal();
        got << window->objectName() << window->windowTitle();
        if (auto *version = window->findChild<QLabel *>(QStringLiteral("VersionProgramme")))
            got << window->findChild<QLabel *>(QStringLiteral("Label1"))->text() << version->text();
        if (auto *list = window->findChild<QListWidget *>(QStringLiteral("List1"))) {
            QStringList entries;
            for (int row = 0; row < list->count(); ++row)
                entries << list->item(row)->text();
            got << entries.join(u'|');
        }
        auto *fermer = window->findChild<QAbstractButton *>(QStringLiteral("Fermer"));
        if (qobject_cast<QPushButton *>(fermer))
            got << fermer->text();
        QTest::mouseClick(fermer, Qt::LeftButton);
    });
    if (QToolButton *button = toolButton(entry))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        action(entry)->trigger();
    QTRY_COMPARE(got, seen);
    QVERIFY(modal);
    QVERIFY(!QApplication::activeModalWidget()); // closed by its Fermer
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
             (QStringList{
                 "Cette fonction permet de convertir un ancien format de base de données vers le nouveau.",
                 "Vous devez avoir les indications fournies par Ostrand", "",
                 "Si vous n'avez pas ces indications,",
                 "vous risquez de perdre toutes les données actuelles !", "", "Continuer ?"}));
    QVERIFY(!warning.text.contains(QLatin1Char('\n') + QString(QLatin1Char('\n'))));
}

void TestMenuprincipal::quitEndsAtOnce()
{
    // exit() outside a running loop does nothing: run the window's loop as the program does.
    QTimer::singleShot(0, m_window.get(), [this] {
        QTest::mouseClick(toolButton(QStringLiteral("button_quitter")), Qt::LeftButton);
    });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_seams->messages.shown().isEmpty()); // no question asked
}

VELLORIN_TEST(TestMenuprincipal)
#include "tst_menuprincipal.moc"
