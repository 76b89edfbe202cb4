#pragma once

#include <QMainWindow>

#include <functional>

class QMenu;
class QToolBar;
class QToolButton;

// The main window: a menu bar and a toolbar over an empty client area. Every other
// window is opened from here, modally.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    // A toolbar button or one of its drop-down entries, by its key.

private:
    void load();
    void buildMenus();
    void buildToolbar();
    QToolButton *addToolButton(const QString &key, const QString &caption, const QIcon &icon,
                               const std::function<void()> &clicked = {});

    void resetLayout();
    void showAbout();
    void editRoutes();
    void editPresentations();
    void convertStockFile();
    void quit();
    void showStockList();
    void printComplete();
    void printExpiredList();
    void printLowStockList();

    QToolBar *m_toolbar = nullptr;
};
