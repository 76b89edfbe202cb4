#pragma once

#include <QAbstractTableModel>
#include <QList>

// The forecast's rows: a name and an expiry date (marked when already expired). Before a
// horizon is chosen the table has no columns at all.
class ForecastModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    struct Row
    {
        QString name;
        QString date;
    };

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void clear();
    void setRows(QList<Row> rows);

private:
    QList<Row> m_rows;
    bool m_columns = false;
};
