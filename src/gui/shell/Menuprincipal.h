#pragma once

#include <QMainWindow>

class QMenu;
class QToolBar;
class QToolButton;

// The main window: a menu bar and a toolbar over an empty client area. Every other
// window is opened from here, modally.
class Menuprincipal final : public QMainWindow
{
    Q_OBJECT

public:
    explicit Menuprincipal(QWidget *parent = nullptr);

    // A toolbar button or one of its drop-down entries, by its key.
    void Toolbar1_ButtonClick(const QString &key);
    void Toolbar1_ButtonMenuClick(const QString &key);

private:
    void Form_Load();
    void buildMenus();
    void buildToolbar();
    QToolButton *addToolButton(const QString &key, const QString &caption, const QIcon &icon);

    void mnu_apropos_Click();
    void mnu_pharmaforme_Click();
    void mnu_pharmatype_Click();
    void mnu_conversionBD_Click();
    void mnu_quitter_Click();
    void mnu_gestionpharmacie_Click();
    void mnu_complete_Click();
    void mnu_perimes_Click();
    void mnu_seuilimite_Click();

    QToolBar *m_toolbar1 = nullptr;
};
