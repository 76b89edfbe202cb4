#pragma once

#include <QDialog>

class QComboBox;
class QToolButton;
class ReportListView;
class ForecastModel;

// The expiry forecast: the medicines that expire within one, two, three or six months,
// or have already expired, in the stock file's order.
class ExpiryForecastWindow final : public QDialog
{
    Q_OBJECT

public:
    explicit ExpiryForecastWindow(QWidget *parent = nullptr);
    ~ExpiryForecastWindow() override;

    ReportListView *table() const { return m_table; }
    QComboBox *horizonBox() const { return m_horizon; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void activated();
    void horizonChosen();
    void print();
    void close_();

    ForecastModel *m_model = nullptr;
    ReportListView *m_table = nullptr;
    QComboBox *m_horizon = nullptr;
    QToolButton *m_print = nullptr;
    QToolButton *m_close = nullptr;
    bool m_activated = false;
};
