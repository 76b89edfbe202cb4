#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

// What the user arranged on screen (column widths, where the windows stand, the main
// window's size), kept between runs in "Vellorin.ini" in the program directory. It is never
// one of the data files: a missing, broken or foreign file (another program's, another
// version's) gives nothing, and the windows take the sizes they were designed with.
namespace LayoutSettings {

struct Placement
{
    QRect frame; // the window's top-left corner, frame included, and its inner size
    bool maximized = false;
};

// Read from the program directory's file at the first call, and again once the program
// directory changes.
QList<int> columnWidths(const QString &view);
void setColumnWidths(const QString &view, const QList<int> &widths);
std::optional<Placement> placement(const QString &window);
void setPlacement(const QString &window, const Placement &placement);

// Writes the file whole when something changed since it was read or written; false and a
// message naming the file and the cause on failure.
bool save(QString *error);
// Forgets everything arranged, the file included.
bool reset(QString *error);

} // namespace LayoutSettings
