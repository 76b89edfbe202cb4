#pragma once

#include <QAbstractTableModel>
#include <QList>

class Stock;

// The rows of the medicine table: each row shows one line of the list window's line
// list, found by its position there. Cells are cut from the line when painted, so that
// a refill of tens of thousands of lines costs no more than collecting positions.
class StockTableModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        Name,
        Route,
        Presentation,
        Quantity,
        Expiry,
        Threshold,
        Index,
        ColumnCount
    };

    explicit StockTableModel(const Stock *lines, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // A refill: between begin and end, rows are appended with appendPosition.
    void beginRefill();
    void appendPosition(qsizetype position);
    void endRefill();

    // Keeps the rows ordered by the text of a column from now on (-1: the order in
    // which they were added).
    void setSortColumn(int column);

    qsizetype positionAt(int row) const { return m_positions.at(row); }
    QString text(int row, int column) const;

private:
    void sortRows();

    const Stock *m_lines;
    QList<qsizetype> m_positions;
    int m_sortColumn = -1;
    bool m_refilling = false;
};
