#include "StockTableModel.h"

#include "core/stock/AlphabeticalSort.h"
#include "core/stock/Stock.h"
#include "core/stock/StockFile.h"
#include "gui/platform/ColumnKind.h"

namespace {

const char *const kTitles[StockTableModel::ColumnCount] = {
    "Médicaments", "Voie d'administration", "Présentation", "Quantité",
    "Date limite", "Seuil critique",        "Index",
};

QStringView field(const MedicineRecordView &v, int column)
{
    switch (column) {
    case StockTableModel::Name:
        return v.name;
    case StockTableModel::Route:
        return v.route;
    case StockTableModel::Presentation:
        return v.presentation;
    case StockTableModel::Quantity:
        return v.quantity;
    case StockTableModel::Expiry:
        return v.expiry;
    case StockTableModel::Threshold:
        return v.threshold;
    default:
        return {};
    }
}

} // namespace

StockTableModel::StockTableModel(const Stock *lines, QObject *parent)
    : QAbstractTableModel(parent)
    , m_lines(lines)
{}

int StockTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_positions.size());
}

int StockTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString StockTableModel::text(int row, int column) const
{
    const qsizetype position = m_positions.at(row);
    if (column == Index)
        return QString::number(position);
    return field(recordView(m_lines->at(position)), column).toString();
}

QVariant StockTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_positions.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return text(index.row(), index.column());
    return {};
}

QVariant StockTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == kColumnKindRole)
        return int(section == Quantity || section == Threshold ? ColumnKind::Number
                   : section == Expiry                         ? ColumnKind::Date
                                                               : ColumnKind::Text);
    if (role != Qt::DisplayRole)
        return {};
    return QString::fromUtf8(kTitles[section]);
}

void StockTableModel::beginRefill()
{
    beginResetModel();
    m_refilling = true;
    m_positions.clear();
}

void StockTableModel::appendPosition(qsizetype position)
{
    if (m_refilling) {
        m_positions.append(position);
        return;
    }
    const int row = int(m_positions.size());
    beginInsertRows({}, row, row);
    m_positions.append(position);
    endInsertRows();
}

void StockTableModel::endRefill()
{
    sortRows();
    m_refilling = false;
    endResetModel();
}

void StockTableModel::setSortColumn(int column)
{
    if (column == m_sortColumn)
        return;
    beginResetModel();
    m_sortColumn = column;
    sortRows();
    endResetModel();
}

void StockTableModel::sortRows()
{
    if (m_sortColumn < 0 || m_positions.size() < 2)
        return;
    QStringList texts;
    texts.reserve(m_positions.size());
    for (int row = 0; row < m_positions.size(); ++row)
        texts.append(text(row, m_sortColumn));
    QList<qsizetype> sorted;
    sorted.reserve(m_positions.size());
    for (qsizetype row : alphabeticalOrder(texts))
        sorted.append(m_positions.at(row));
    m_positions = std::move(sorted);
}
