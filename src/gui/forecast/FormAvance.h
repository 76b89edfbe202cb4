#pragma once

#include <QDialog>

class QComboBox;
class QToolButton;
class ReportListView;
class ForecastModel;

// The expiry forecast: the medicines that expire within one, two, three or six months,
// or have already expired, in the stock file's order.
class FormAvance final : public QDialog
{
    Q_OBJECT

public:
    explicit FormAvance(QWidget *parent = nullptr);
    ~FormAvance() override;

    ReportListView *ListView1() const { return m_listView1; }
    QComboBox *filtre() const { return m_filtre; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Activate();
    void filtre_Click();
    void Impression_Click();
    void Fermer_Click();

    ForecastModel *m_model = nullptr;
    ReportListView *m_listView1 = nullptr;
    QComboBox *m_filtre = nullptr;
    QToolButton *m_impression = nullptr;
    QToolButton *m_fermer = nullptr;
    bool m_activated = false;
};
