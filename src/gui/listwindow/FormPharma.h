#pragma once

#include "core/reports/ListSnapshot.h"
#include "core/store/LineList.h"
#include "gui/editor/FormMedic.h"

#include <QDate>
#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class ReportListView;
class QToolButton;
class StockTableModel;

// The medicine list window: the whole stock sorted in `List1`, shown in the table
// `ListView1` through the filter of `filtre1` and the check box `Check1`. A row click
// makes its line the current position of `List1`: the chosen medicine.
class FormPharma final : public QDialog
{
    Q_OBJECT

public:
    explicit FormPharma(QWidget *parent = nullptr);
    ~FormPharma() override;

    // What the editor, the save and the reports use.
    LineList &List1() { return m_list1; }
    ReportListView *ListView1() const { return m_listView1; }
    QComboBox *filtre1() const { return m_filtre1; }
    QCheckBox *Check1() const { return m_check1; }

    // The window becomes active again, after a window opened from it has closed.
    void Form_Activate();

    void trialpha();

private:
    void buildControls();
    void connectControls();
    void setColumnWidths();
    void Form_Load();
    void combos();
    void setCaption(bool withTotal);
    // What a report of the list is made from.
    ListSnapshot snapshot() const;

    bool medicineChosen();
    void openEditor(EditorMode mode);

    void filtre1_Click();
    void Check1_Click();
    void tri_Click(int index);
    void ListView1_ColumnClick(int column);
    void ListView1_ItemClick(int row);

    void ajout_Click();
    void Modifier_Click();
    void Supprimer_Click();
    void majqte_Click();
    void renouveler_Click();
    void avance_Click();
    void Impression_Click();
    void commande_Click();
    void aide_Click();
    void Fermer_Click();
    // A box's code read by a scanner: the medicine it was last saved as, chosen in the table.
    void boxScanned(const QString &code);

    LineList m_list1;
    StockTableModel *m_model = nullptr;
    ReportListView *m_listView1 = nullptr;
    QComboBox *m_filtre1 = nullptr;
    QCheckBox *m_check1 = nullptr;
    QGroupBox *m_frame1 = nullptr;
    QGroupBox *m_frame2 = nullptr;
    QGroupBox *m_frame3 = nullptr;
    QGroupBox *m_frame4 = nullptr;
    QGroupBox *m_frame5 = nullptr;
    QGroupBox *m_frame6 = nullptr;
    QToolButton *m_ajout = nullptr;
    QToolButton *m_modifier = nullptr;
    QToolButton *m_supprimer = nullptr;
    QToolButton *m_majqte = nullptr;
    QToolButton *m_renouveler = nullptr;
    QToolButton *m_avance = nullptr;
    QToolButton *m_commande = nullptr;
    QToolButton *m_impression = nullptr;
    QToolButton *m_fermer = nullptr;
    QToolButton *m_aide = nullptr;
    std::array<QToolButton *, 3> m_tri{};
};
