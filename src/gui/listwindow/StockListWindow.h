#pragma once

#include "core/reports/ListSnapshot.h"
#include "core/stock/Stock.h"
#include "gui/editor/MedicineEditor.h"

#include <QDate>
#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class ReportListView;
class QToolButton;
class StockTableModel;

// The medicine list window: the whole stock sorted in `lines`, shown in the table
// `table` through the filter of `filterBox` and the check box `indispensableOnly`. A row click
// makes its line the current position of `lines`: the chosen medicine.
class StockListWindow final : public QDialog
{
    Q_OBJECT

public:
    explicit StockListWindow(QWidget *parent = nullptr);
    ~StockListWindow() override;

    // What the editor, the save and the reports use.
    Stock &stock() { return m_stock; }
    ReportListView *table() const { return m_table; }
    QComboBox *filterBox() const { return m_filter; }
    QCheckBox *indispensableOnly() const { return m_indispensableOnly; }

    // The window becomes active again, after a window opened from it has closed.
    void activated();

    void refill();

private:
    void buildControls();
    void connectControls();
    void load();
    void fillLists();
    void setCaption(bool withTotal);
    // What a report of the list is made from.
    ListSnapshot snapshot() const;

    bool medicineChosen();
    // `scanned`: a box's code the editor reads as it opens.
    void openEditor(EditorMode mode, const QString &scanned = {});

    void filterChosen();
    void indispensableToggled();
    void sortBy(int index);
    void columnClicked(int column);
    void rowClicked(int row);

    void addMedicine();
    void change();
    void remove();
    void newQuantity();
    void renew();
    void showForecast();
    void print();
    void printOrderList();
    void help();
    void close_();
    // A box's code read by a scanner: the medicine it was last saved as, chosen in the table.
    void boxScanned(const QString &code);

    Stock m_stock;
    StockTableModel *m_model = nullptr;
    ReportListView *m_table = nullptr;
    QComboBox *m_filter = nullptr;
    QCheckBox *m_indispensableOnly = nullptr;
    QGroupBox *m_commandsFrame = nullptr;
    QGroupBox *m_updateFrame = nullptr;
    QGroupBox *m_selectionFrame = nullptr;
    QGroupBox *m_forecastFrame = nullptr;
    QGroupBox *m_sortFrame = nullptr;
    QGroupBox *m_helpFrame = nullptr;
    QToolButton *m_add = nullptr;
    QToolButton *m_change = nullptr;
    QToolButton *m_remove = nullptr;
    QToolButton *m_newQuantity = nullptr;
    QToolButton *m_renew = nullptr;
    QToolButton *m_forecast = nullptr;
    QToolButton *m_order = nullptr;
    QToolButton *m_print = nullptr;
    QToolButton *m_close = nullptr;
    QToolButton *m_help = nullptr;
    std::array<QToolButton *, 3> m_sort{};
};
