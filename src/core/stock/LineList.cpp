#include "LineList.h"

#include "AlphabeticalSort.h"

void LineList::setCurrentPosition(qsizetype position)
{
    m_current = (position >= 0 && position < m_lines.size()) ? position : -1;
}

void LineList::replaceCurrent(const QString &line)
{
    if (hasCurrent())
        m_lines[m_current] = line;
}

void LineList::removeCurrent()
{
    if (!hasCurrent())
        return;
    m_lines.removeAt(m_current);
    m_current = -1;
}

void LineList::setLines(QStringList lines)
{
    m_lines = std::move(lines);
    m_current = -1;
}

void LineList::append(const QString &line)
{
    m_lines.append(line);
}

void LineList::sort()
{
    sortAlphabetically(m_lines);
    m_current = -1;
}
