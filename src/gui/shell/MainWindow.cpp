#include "MainWindow.h"

#include "AboutBox.h"
#include "Version.h"
#include "core/platform/LayoutSettings.h"
#include "gui/backups/BackupsWindow.h"
#include "gui/conversion/ConversionWindow.h"
#include "gui/export/CalendarExport.h"
#include "gui/listwindow/StockListWindow.h"
#include "gui/medicines/MedicinesWindow.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/Pictures.h"
#include "gui/platform/WindowLayout.h"
#include "gui/reports/StockReports.h"
#include "gui/valuelists/ValueListEditor.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include <functional>

namespace {

constexpr QSize kDesignSize(760, 480);

QAction *addEntry(QMenu *menu, const QString &name, const QString &caption, std::function<void()> handler)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    QObject::connect(action, &QAction::triggered, menu, [handler = std::move(handler)] { handler(); });
    return action;
}

QMenu *addSubmenu(QMenu *menu, const QString &name, const QString &caption)
{
    QMenu *sub = menu->addMenu(caption);
    sub->setObjectName(name);
    sub->menuAction()->setObjectName(name);
    return sub;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowIcon(pictureIcon(Picture::Medicine));
    buildMenus();
    buildToolbar();
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(client);
    resize(kDesignSize);
    keepPlacement(this);
    load();
}

void MainWindow::load()
{
    setWindowTitle(QStringLiteral("Vellorin Version ") + kProgramVersion);
}

void MainWindow::buildMenus()
{
    QMenu *application = menuBar()->addMenu(QStringLiteral("&Application"));
    application->setObjectName(QStringLiteral("applicationMenu"));
    application->menuAction()->setObjectName(QStringLiteral("applicationMenu"));
    addEntry(application, QStringLiteral("about"), QStringLiteral("&A propos..."), [this] { showAbout(); });
    application->addSeparator();
    QMenu *settings = addSubmenu(application, QStringLiteral("settingsMenu"), QStringLiteral("&Paramètres"));
    addEntry(settings, QStringLiteral("routeList"), QStringLiteral("Médicaments: Voie d'administration"),
             [this] { editRoutes(); });
    addEntry(settings, QStringLiteral("presentationList"), QStringLiteral("Médicaments: Présentation"),
             [this] { editPresentations(); });
    settings->addSeparator();
    addEntry(settings, QStringLiteral("conversion"), QStringLiteral("Conversion Base de données"),
             [this] { convertStockFile(); });
    // Beyond the first design: the copies kept of the stock, the public medicines database, the
    // expiry dates in the doctor's calendar.
    addEntry(application, QStringLiteral("backups"), QStringLiteral("&Sauvegardes..."), [this] {
        BackupsWindow window(this);
        window.exec();
    });
    addEntry(application, QStringLiteral("medicinesDatabase"), QStringLiteral("Base des &médicaments..."),
             [this] {
                 MedicinesWindow window(this);
                 window.exec();
             });
    addEntry(application, QStringLiteral("calendarExport"), QStringLiteral("&Exporter vers l'agenda..."),
             [this] { exportToCalendar(this); });
    addEntry(application, QStringLiteral("resetLayout"), QStringLiteral("&Réinitialiser l'affichage"),
             [this] { resetLayout(); });
    application->addSeparator();
    addEntry(application, QStringLiteral("quit"), QStringLiteral("&Quitter"), [this] { quit(); });

    QMenu *stockMenu = menuBar()->addMenu(QStringLiteral("&Pharmacie"));
    stockMenu->setObjectName(QStringLiteral("stockMenu"));
    stockMenu->menuAction()->setObjectName(QStringLiteral("stockMenu"));
    addEntry(stockMenu, QStringLiteral("stockList"), QStringLiteral("&Gestion des médicaments"),
             [this] { showStockList(); });
    stockMenu->addSeparator();
    QMenu *printMenu = addSubmenu(stockMenu, QStringLiteral("printMenu"), QStringLiteral("&Impression"));
    addEntry(printMenu, QStringLiteral("printComplete"), QStringLiteral("Liste &complète des médicaments"),
             [this] { printComplete(); });
    printMenu->addSeparator();
    addEntry(printMenu, QStringLiteral("printExpired"),
             QStringLiteral("Médicaments périmés à la date d'aujourd'hui"), [this] { printExpiredList(); });
    addEntry(printMenu, QStringLiteral("printLowStock"),
             QStringLiteral("Médicaments en quantité insuffisante"), [this] { printLowStockList(); });
}

QToolButton *MainWindow::addToolButton(const QString &key, const QString &caption, const QIcon &icon,
                                       const std::function<void()> &clicked)
{
    auto *button = new QToolButton(m_toolbar);
    button->setObjectName(key);
    button->setText(caption);
    button->setIcon(icon);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFocusPolicy(Qt::TabFocus);
    if (clicked) // the faces of the two drop-down buttons do nothing: their entries act
        connect(button, &QToolButton::clicked, this, clicked);
    m_toolbar->addWidget(button);
    return button;
}

void MainWindow::buildToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("Barre d'outils"));
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(32, 32));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    struct Entry
    {
        QString key, text;
        void (MainWindow::*chosen)();
    };
    const auto dropDown = [this](QToolButton *button, const QList<Entry> &entries) {
        auto *menu = new QMenu(button);
        menu->setObjectName(button->objectName() + QStringLiteral("Menu"));
        for (const Entry &entry : entries) {
            QAction *action = menu->addAction(entry.text);
            action->setObjectName(entry.key);
            connect(action, &QAction::triggered, this, entry.chosen);
        }
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    };

    addToolButton(QStringLiteral("stockListButton"), QStringLiteral("Gestion des médicaments"),
                  pictureIcon(Picture::Medicine), [this] { showStockList(); });
    m_toolbar->addSeparator();
    dropDown(addToolButton(QStringLiteral("printButton"), QStringLiteral("Impression"),
                           pictureIcon(Picture::Print)),
             {{QStringLiteral("printCompleteEntry"), QStringLiteral("Liste complète des médicaments"),
               &MainWindow::printComplete},
              {QStringLiteral("printExpiredEntry"),
               QStringLiteral("Médicaments périmés à la date d'aujourd'hui"), &MainWindow::printExpiredList},
              {QStringLiteral("printLowStockEntry"), QStringLiteral("Médicaments en quantité insuffisante"),
               &MainWindow::printLowStockList}});
    dropDown(addToolButton(QStringLiteral("settingsButton"), QStringLiteral("Paramètres"),
                           pictureIcon(Picture::Settings)),
             {{QStringLiteral("routeListEntry"), QStringLiteral("Médicaments: Voie d'administration"),
               &MainWindow::editRoutes},
              {QStringLiteral("presentationListEntry"), QStringLiteral("Médicaments: Présentation"),
               &MainWindow::editPresentations}});
    m_toolbar->addSeparator();
    addToolButton(QStringLiteral("aboutButton"), QStringLiteral("A propos..."), pictureIcon(Picture::About),
                  [this] { showAbout(); });
    m_toolbar->addSeparator();
    addToolButton(QStringLiteral("quitButton"), QStringLiteral("Quitter"), pictureIcon(Picture::Quit),
                  [this] { quit(); });
}

void MainWindow::resetLayout()
{
    QString error;
    if (!LayoutSettings::reset(&error))
        Platform::showError(error);
    // The other windows are closed while this menu is used: they open at the design's sizes
    // and places next time.
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    resize(kDesignSize);
    if (const QScreen *where = screen())
        move(where->availableGeometry().center() - frameGeometry().center() + pos());
}

void MainWindow::showAbout()
{
    AboutBox about(this);
    about.exec();
}

void MainWindow::editRoutes()
{
    ValueListEditor editor(this);
    editor.setMode(ValueList::Routes);
    editor.exec();
}

void MainWindow::editPresentations()
{
    ValueListEditor editor(this);
    editor.setMode(ValueList::Presentations);
    editor.exec();
}

void MainWindow::convertStockFile()
{
    const QString text = QStringLiteral(
        "Cette fonction permet de convertir un ancien format de base de données vers le nouveau.\r\n"
        "Vous devez avoir les indications fournies par Ostrand\r\n\r\n"
        "Si vous n'avez pas ces indications,\r\n"
        "vous risquez de perdre toutes les données actuelles !\r\n\r\n"
        "Continuer ?");
    if (Platform::message(text, QStringLiteral("Conversion de la base de données"), MsgIcon::Exclamation,
                          MsgButtons::YesNo) == MsgAnswer::No)
        return;
    ConversionWindow window(this);
    window.exec();
}

void MainWindow::quit()
{
    close();
    QCoreApplication::exit(0);
}

void MainWindow::showStockList()
{
    StockListWindow window(this);
    window.exec();
}

void MainWindow::printComplete()
{
    printCompleteList(askPreview());
}

void MainWindow::printExpiredList()
{
    printExpired(askPreview());
}

void MainWindow::printLowStockList()
{
    printLowStock(askPreview());
}
