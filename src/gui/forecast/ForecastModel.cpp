#include "ForecastModel.h"

#include "gui/platform/ColumnKind.h"

int ForecastModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ForecastModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_columns ? 0 : 2;
}

QVariant ForecastModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const Row &row = m_rows.at(index.row());
    return index.column() == 0 ? row.name : row.date;
}

QVariant ForecastModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == kColumnKindRole)
        return int(section == 0 ? ColumnKind::Text : ColumnKind::Date);
    if (role != Qt::DisplayRole)
        return {};
    return section == 0 ? QStringLiteral("Médicaments") : QStringLiteral("Date limite");
}

void ForecastModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_columns = false;
    endResetModel();
}

void ForecastModel::setRows(QList<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_columns = true;
    endResetModel();
}
