#pragma once

#include <QStringList>

// The list window's copy of every line of the stock file, sorted, with a current
// position: the medicine the user chose, or none (-1). The editor reads and replaces
// the line at the current position; saves write the whole list back.
class LineList
{
public:
    const QStringList &lines() const { return m_lines; }
    qsizetype count() const { return m_lines.size(); }
    const QString &at(qsizetype position) const { return m_lines.at(position); }

    // -1 when no medicine is chosen.
    qsizetype currentPosition() const { return m_current; }
    bool hasCurrent() const { return m_current >= 0; }
    void setCurrentPosition(qsizetype position);
    const QString &currentLine() const { return m_lines.at(m_current); }
    void replaceCurrent(const QString &line);
    void removeCurrent();

    // Refilling and sorting leave no current position, as a refilled list box does.
    void setLines(QStringList lines);
    void append(const QString &line);
    void sort();

private:
    QStringList m_lines;
    qsizetype m_current = -1;
};
