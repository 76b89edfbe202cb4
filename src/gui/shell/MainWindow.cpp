#include "MainWindow.h"

#include "AboutBox.h"
#include "Version.h"
#include "gui/backups/BackupsWindow.h"
#include "gui/conversion/ConversionWindow.h"
#include "gui/listwindow/StockListWindow.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/Pictures.h"
#include "gui/reports/StockReports.h"
#include "gui/valuelists/ValueListEditor.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <functional>

namespace {

QAction *addEntry(QMenu *menu, const QString &name, const QString &caption, std::function<void()> handler)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    QObject::connect(action, &QAction::triggered, menu, [handler = std::move(handler)] { handler(); });
    return action;
}

void addSeparator(QMenu *menu, const QString &name)
{
    menu->addSeparator()->setObjectName(name);
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
    setObjectName(QStringLiteral("Menuprincipal"));
    setWindowIcon(pictureIcon(Picture::Medicine));
    buildMenus();
    buildToolbar();
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(client);
    resize(760, 480);
    load();
}

void MainWindow::load()
{
    setWindowTitle(QStringLiteral("Vellorin Version ") + kProgramVersion);
}

void MainWindow::buildMenus()
{
    QMenu *application = menuBar()->addMenu(QStringLiteral("&Application"));
    application->setObjectName(QStringLiteral("mnu_application"));
    application->menuAction()->setObjectName(QStringLiteral("mnu_application"));
    addEntry(application, QStringLiteral("mnu_apropos"), QStringLiteral("&A propos..."),
             [this] { showAbout(); });
    addSeparator(application, QStringLiteral("mnu_sep1"));
    QMenu *utilitaires =
        addSubmenu(application, QStringLiteral("mnu_utilitaires"), QStringLiteral("&Paramètres"));
    addEntry(utilitaires, QStringLiteral("mnu_pharmaforme"),
             QStringLiteral("Médicaments: Voie d'administration"), [this] { editRoutes(); });
    addEntry(utilitaires, QStringLiteral("mnu_pharmatype"), QStringLiteral("Médicaments: Présentation"),
             [this] { editPresentations(); });
    addSeparator(utilitaires, QStringLiteral("mnu_sep6"));
    addEntry(utilitaires, QStringLiteral("mnu_conversionBD"), QStringLiteral("Conversion Base de données"),
             [this] { convertStockFile(); });
    // Beyond the first design: the copies kept of the stock.
    addEntry(application, QStringLiteral("backups"), QStringLiteral("&Sauvegardes..."), [this] {
        BackupsWindow window(this);
        window.exec();
    });
    addSeparator(application, QStringLiteral("mnu_sep3"));
    addEntry(application, QStringLiteral("mnu_quitter"), QStringLiteral("&Quitter"), [this] { quit(); });

    QMenu *stockMenu = menuBar()->addMenu(QStringLiteral("&Pharmacie"));
    stockMenu->setObjectName(QStringLiteral("mnu_pharmacie"));
    stockMenu->menuAction()->setObjectName(QStringLiteral("mnu_pharmacie"));
    addEntry(stockMenu, QStringLiteral("mnu_gestionpharmacie"), QStringLiteral("&Gestion des médicaments"),
             [this] { showStockList(); });
    addSeparator(stockMenu, QStringLiteral("mnu_sep2"));
    QMenu *printMenu =
        addSubmenu(stockMenu, QStringLiteral("mnu_impressionpharmacie"), QStringLiteral("&Impression"));
    addEntry(printMenu, QStringLiteral("mnu_complete"), QStringLiteral("Liste &complète des médicaments"),
             [this] { printComplete(); });
    addSeparator(printMenu, QStringLiteral("mnu_sep5"));
    addEntry(printMenu, QStringLiteral("mnu_perimes"),
             QStringLiteral("Médicaments périmés à la date d'aujourd'hui"), [this] { printExpiredList(); });
    addEntry(printMenu, QStringLiteral("mnu_seuilimite"),
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
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
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
        menu->setObjectName(button->objectName() + QStringLiteral("_menu"));
        for (const Entry &entry : entries) {
            QAction *action = menu->addAction(entry.text);
            action->setObjectName(entry.key);
            connect(action, &QAction::triggered, this, entry.chosen);
        }
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    };

    addToolButton(QStringLiteral("button_gestionmedic"), QStringLiteral("Gestion des médicaments"),
                  pictureIcon(Picture::Medicine), [this] { showStockList(); });
    m_toolbar->addSeparator();
    dropDown(addToolButton(QStringLiteral("button_impression"), QStringLiteral("Impression"),
                           pictureIcon(Picture::Print)),
             {{QStringLiteral("button_complete"), QStringLiteral("Liste complète des médicaments"),
               &MainWindow::printComplete},
              {QStringLiteral("button_perimes"),
               QStringLiteral("Médicaments périmés à la date d'aujourd'hui"), &MainWindow::printExpiredList},
              {QStringLiteral("button_seuillimite"), QStringLiteral("Médicaments en quantité insuffisante"),
               &MainWindow::printLowStockList}});
    dropDown(addToolButton(QStringLiteral("button_utilitaires"), QStringLiteral("Paramètres"),
                           pictureIcon(Picture::Settings)),
             {{QStringLiteral("button_voiedadministration"),
               QStringLiteral("Médicaments: Voie d'administration"), &MainWindow::editRoutes},
              {QStringLiteral("button_presentation"), QStringLiteral("Médicaments: Présentation"),
               &MainWindow::editPresentations}});
    m_toolbar->addSeparator();
    addToolButton(QStringLiteral("button_apropos"), QStringLiteral("A propos..."),
                  pictureIcon(Picture::About), [this] { showAbout(); });
    m_toolbar->addSeparator();
    addToolButton(QStringLiteral("button_quitter"), QStringLiteral("Quitter"), pictureIcon(Picture::Quit),
                  [this] { quit(); });
}

void MainWindow::showAbout()
{
    AboutBox apropos(this);
    apropos.exec();
}

void MainWindow::editRoutes()
{
    ValueListEditor form(this);
    form.setMode(ValueList::Routes);
    form.exec();
}

void MainWindow::editPresentations()
{
    ValueListEditor form(this);
    form.setMode(ValueList::Presentations);
    form.exec();
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
    ConversionWindow form(this);
    form.exec();
}

void MainWindow::quit()
{
    close();
    QCoreApplication::exit(0);
}

void MainWindow::showStockList()
{
    StockListWindow form(this);
    form.exec();
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
