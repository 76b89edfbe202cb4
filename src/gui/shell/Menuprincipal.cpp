#include "Menuprincipal.h"

#include "Apropos.h"
#include "General.h"
#include "gui/backups/BackupsWindow.h"
#include "gui/conversion/FormConversion.h"
#include "gui/listwindow/FormPharma.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/Pictures.h"
#include "gui/reports/Impression.h"
#include "gui/valuelists/FormCombosPharma.h"

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

Menuprincipal::Menuprincipal(QWidget *parent)
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
    Form_Load();
}

void Menuprincipal::Form_Load()
{
    setWindowTitle(QStringLiteral("Vellorin Version ") + VersionLogiciel);
}

void Menuprincipal::buildMenus()
{
    QMenu *application = menuBar()->addMenu(QStringLiteral("&Application"));
    application->setObjectName(QStringLiteral("mnu_application"));
    application->menuAction()->setObjectName(QStringLiteral("mnu_application"));
    addEntry(application, QStringLiteral("mnu_apropos"), QStringLiteral("&A propos..."),
             [this] { mnu_apropos_Click(); });
    addSeparator(application, QStringLiteral("mnu_sep1"));
    QMenu *utilitaires =
        addSubmenu(application, QStringLiteral("mnu_utilitaires"), QStringLiteral("&Paramètres"));
    addEntry(utilitaires, QStringLiteral("mnu_pharmaforme"),
             QStringLiteral("Médicaments: Voie d'administration"), [this] { mnu_pharmaforme_Click(); });
    addEntry(utilitaires, QStringLiteral("mnu_pharmatype"), QStringLiteral("Médicaments: Présentation"),
             [this] { mnu_pharmatype_Click(); });
    addSeparator(utilitaires, QStringLiteral("mnu_sep6"));
    addEntry(utilitaires, QStringLiteral("mnu_conversionBD"), QStringLiteral("Conversion Base de données"),
             [this] { mnu_conversionBD_Click(); });
    // Beyond the first design: the copies kept of the stock.
    addEntry(application, QStringLiteral("backups"), QStringLiteral("&Sauvegardes..."), [this] {
        BackupsWindow window(this);
        window.exec();
    });
    addSeparator(application, QStringLiteral("mnu_sep3"));
    addEntry(application, QStringLiteral("mnu_quitter"), QStringLiteral("&Quitter"),
             [this] { mnu_quitter_Click(); });

    QMenu *pharmacie = menuBar()->addMenu(QStringLiteral("&Pharmacie"));
    pharmacie->setObjectName(QStringLiteral("mnu_pharmacie"));
    pharmacie->menuAction()->setObjectName(QStringLiteral("mnu_pharmacie"));
    addEntry(pharmacie, QStringLiteral("mnu_gestionpharmacie"), QStringLiteral("&Gestion des médicaments"),
             [this] { mnu_gestionpharmacie_Click(); });
    addSeparator(pharmacie, QStringLiteral("mnu_sep2"));
    QMenu *impression =
        addSubmenu(pharmacie, QStringLiteral("mnu_impressionpharmacie"), QStringLiteral("&Impression"));
    addEntry(impression, QStringLiteral("mnu_complete"), QStringLiteral("Liste &complète des médicaments"),
             [this] { mnu_complete_Click(); });
    addSeparator(impression, QStringLiteral("mnu_sep5"));
    addEntry(impression, QStringLiteral("mnu_perimes"),
             QStringLiteral("Médicaments périmés à la date d'aujourd'hui"), [this] { mnu_perimes_Click(); });
    addEntry(impression, QStringLiteral("mnu_seuilimite"),
             QStringLiteral("Médicaments en quantité insuffisante"), [this] { mnu_seuilimite_Click(); });
}

QToolButton *Menuprincipal::addToolButton(const QString &key, const QString &caption, const QIcon &icon)
{
    auto *button = new QToolButton(m_toolbar1);
    button->setObjectName(key);
    button->setText(caption);
    button->setIcon(icon);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFocusPolicy(Qt::TabFocus);
    connect(button, &QToolButton::clicked, this, [this, key] { Toolbar1_ButtonClick(key); });
    m_toolbar1->addWidget(button);
    return button;
}

void Menuprincipal::buildToolbar()
{
    m_toolbar1 = addToolBar(QStringLiteral("Barre d'outils"));
    m_toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar1->setMovable(false);
    m_toolbar1->setFloatable(false);
    m_toolbar1->setIconSize(QSize(32, 32));
    m_toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar1->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    const auto dropDown = [this](QToolButton *button, const QList<std::pair<QString, QString>> &entries) {
        auto *menu = new QMenu(button);
        menu->setObjectName(button->objectName() + QStringLiteral("_menu"));
        for (const auto &[key, text] : entries) {
            QAction *action = menu->addAction(text);
            action->setObjectName(key);
            connect(action, &QAction::triggered, this, [this, key = key] { Toolbar1_ButtonMenuClick(key); });
        }
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    };

    addToolButton(QStringLiteral("button_gestionmedic"), QStringLiteral("Gestion des médicaments"),
                  pictureIcon(Picture::Medicine));
    m_toolbar1->addSeparator();
    dropDown(
        addToolButton(QStringLiteral("button_impression"), QStringLiteral("Impression"),
                      pictureIcon(Picture::Print)),
        {{QStringLiteral("button_complete"), QStringLiteral("Liste complète des médicaments")},
         {QStringLiteral("button_perimes"), QStringLiteral("Médicaments périmés à la date d'aujourd'hui")},
         {QStringLiteral("button_seuillimite"), QStringLiteral("Médicaments en quantité insuffisante")}});
    dropDown(
        addToolButton(QStringLiteral("button_utilitaires"), QStringLiteral("Paramètres"),
                      pictureIcon(Picture::Settings)),
        {{QStringLiteral("button_voiedadministration"), QStringLiteral("Médicaments: Voie d'administration")},
         {QStringLiteral("button_presentation"), QStringLiteral("Médicaments: Présentation")}});
    m_toolbar1->addSeparator();
    addToolButton(QStringLiteral("button_apropos"), QStringLiteral("A propos..."),
                  pictureIcon(Picture::About));
    m_toolbar1->addSeparator();
    addToolButton(QStringLiteral("button_quitter"), QStringLiteral("Quitter"), pictureIcon(Picture::Quit));
}

void Menuprincipal::Toolbar1_ButtonClick(const QString &key)
{
    if (key == QLatin1String("button_gestionmedic"))
        mnu_gestionpharmacie_Click();
    else if (key == QLatin1String("button_apropos"))
        mnu_apropos_Click();
    else if (key == QLatin1String("button_quitter"))
        mnu_quitter_Click();
    // The faces of the two drop-down buttons do nothing: their entries act.
}

void Menuprincipal::Toolbar1_ButtonMenuClick(const QString &key)
{
    if (key == QLatin1String("button_complete"))
        mnu_complete_Click();
    else if (key == QLatin1String("button_perimes"))
        mnu_perimes_Click();
    else if (key == QLatin1String("button_seuillimite"))
        mnu_seuilimite_Click();
    else if (key == QLatin1String("button_voiedadministration"))
        mnu_pharmaforme_Click();
    else if (key == QLatin1String("button_presentation"))
        mnu_pharmatype_Click();
}

void Menuprincipal::mnu_apropos_Click()
{
    Apropos apropos(this);
    apropos.exec();
}

void Menuprincipal::mnu_pharmaforme_Click()
{
    FormCombosPharma form(this);
    form.setMode(ValueList::Routes);
    form.exec();
}

void Menuprincipal::mnu_pharmatype_Click()
{
    FormCombosPharma form(this);
    form.setMode(ValueList::Presentations);
    form.exec();
}

void Menuprincipal::mnu_conversionBD_Click()
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
    FormConversion form(this);
    form.exec();
}

void Menuprincipal::mnu_quitter_Click()
{
    close();
    QCoreApplication::exit(0);
}

void Menuprincipal::mnu_gestionpharmacie_Click()
{
    FormPharma form(this);
    form.exec();
}

void Menuprincipal::mnu_complete_Click()
{
    imprime_complete(askPreview());
}

void Menuprincipal::mnu_perimes_Click()
{
    imprime_perimes(askPreview());
}

void Menuprincipal::mnu_seuilimite_Click()
{
    imprime_seuil(askPreview());
}
