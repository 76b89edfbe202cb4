#pragma once

#include <QTableView>

// A table of rows in report style, as the program's lists show medicines: whole rows
// selected one at a time, one height for every row (measuring rows would take seconds on
// a large stock), no editing.
//
// `rowChosen` tells when the user picks a row: by a click, or by moving to it with the
// keyboard. Merely receiving the focus, or being refilled, chooses nothing.
class ReportListView final : public QTableView
{
    Q_OBJECT

public:
    explicit ReportListView(QWidget *parent = nullptr);

signals:
    void rowChosen(int row);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
