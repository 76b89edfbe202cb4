#include "Stock.h"

#include "AlphabeticalSort.h"
#include "StockFile.h"

namespace {

QString lineOf(const MedicineRecord &r)
{
    return composeRecord(r.name, r.route, r.presentation, r.quantity, r.expiry, r.threshold, r.indispensable);
}

} // namespace

void Stock::setCurrentPosition(qsizetype position)
{
    m_current = (position >= 0 && position < m_lines.size()) ? position : -1;
}

void Stock::reload(QString *error)
{
    m_lines = readStock(error);
    if (!m_lines.isEmpty())
        sortAlphabetically(m_lines);
    m_current = -1;
}

bool Stock::add(const MedicineRecord &record, QString *error)
{
    const QString line = lineOf(record);
    if (!appendToStock(line, error))
        return false;
    m_lines.append(line);
    return true;
}

bool Stock::replaceCurrent(const MedicineRecord &record, QString *error)
{
    if (!hasCurrent())
        return false;
    const QString former = std::exchange(m_lines[m_current], lineOf(record));
    if (writeStock(m_lines, error))
        return true;
    m_lines[m_current] = former;
    return false;
}

bool Stock::removeCurrent(QString *error)
{
    if (!hasCurrent())
        return false;
    const QString former = m_lines.takeAt(m_current);
    if (writeStock(m_lines, error)) {
        m_current = -1;
        return true;
    }
    m_lines.insert(m_current, former);
    return false;
}

bool Stock::restore(const Backups::Backup &backup, QString *error)
{
    if (!Backups::restore(backup, DataFile::Stock, error))
        return false;
    QString unread;
    reload(&unread);
    return true;
}
