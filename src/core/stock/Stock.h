#pragma once

#include "Backups.h"
#include "MedicineRecord.h"

#include <QStringList>

// The stock as the program holds it, and its one owner: every line of the stock file,
// sorted, the medicine the user chose (the current position, or none), and every write of
// the file. A line is kept as read, byte for byte, until a write replaces that very line;
// each write is whole or not at all, and takes its backup copy first.
class Stock
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

    // The file read anew and sorted, nothing chosen, as a refilled list box is. A file that
    // cannot be read leaves the stock empty and says why in `error`.
    void reload(QString *error);

    // A new medicine at the end of the file, and of the lines; false, with the reason, when
    // the file could not be written (the stock is then as it was).
    bool add(const MedicineRecord &record, QString *error);
    // The chosen medicine replaced, the whole file written again.
    bool replaceCurrent(const MedicineRecord &record, QString *error);
    // The chosen medicine removed, the whole file written again; nothing chosen afterwards.
    bool removeCurrent(QString *error);
    // A backup copy put back in the place of the file, byte for byte, the present content
    // kept first; the stock then read anew.
    bool restore(const Backups::Backup &backup, QString *error);

private:
    QStringList m_lines;
    qsizetype m_current = -1;
};
